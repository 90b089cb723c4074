#pragma once

#include <QString>

namespace talvik::link {

// The connected controller's command queue as the terminal and the attached-device features
// use it: they only queue text commands and never wait for the answer themselves.
class CommandLink {
public:
    // How a queued command is written: the queue goes on at once, or it waits for the answer.
    enum SendFlag : int { WriteAndForget = 1, AwaitReply = 2 };

    virtual ~CommandLink() = default;
    virtual void SendCommand(const QString& command, int flag) = 0;
};

} // namespace talvik::link
