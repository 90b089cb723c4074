#pragma once

#include "send_flag.h"

#include <QString>

namespace talvik::link {

// The connected controller's command queue as the terminal and the attached-device features
// use it: they only queue text commands and never wait for the answer themselves.
class CommandLink {
public:
    virtual ~CommandLink() = default;
    virtual void SendCommand(const QString& command, SendFlag flag) = 0;
};

} // namespace talvik::link
