#pragma once

#include "send_flag.h"

#include <QString>

namespace talvik::devices {

// The connected controller as the radio page uses it: whether one is there, its firmware
// version, and its command queue.
class RadioLink {
public:
    virtual ~RadioLink() = default;
    [[nodiscard]] virtual bool connected() const = 0;
    // The firmware version; meaningful only while connected.
    [[nodiscard]] virtual QString VersionText() const = 0;
    virtual void SendCommand(const QString& command, link::SendFlag flag) = 0;
};

} // namespace talvik::devices
