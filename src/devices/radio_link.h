#pragma once

#include <QString>

namespace talvik::devices {

// The connected controller as the radio page uses it: whether one is there, its firmware
// version, and its command queue.
class RadioLink {
public:
    // How a command travels (the channel byte of its frame).
    enum SendFlag { AwaitReply = 2, Forget = 3 };

    virtual ~RadioLink() = default;
    [[nodiscard]] virtual bool connected() const = 0;
    // The firmware version; meaningful only while connected.
    [[nodiscard]] virtual QString VersionText() const = 0;
    virtual void SendCommand(const QString& command, int flag) = 0;
};

} // namespace talvik::devices
