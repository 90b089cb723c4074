#pragma once

#include "command_link.h"

namespace talvik::app {

class ControllerSession;

// The connected controller's command queue for the terminal and the 1-Wire and guard features.
// It follows whichever port is connected at the moment, so no feature holds on to a port that
// is gone.
class PortCommandLink final : public link::CommandLink {
public:
    explicit PortCommandLink(ControllerSession& session) : m_session(session) {}

    // This link while a controller is connected, null otherwise.
    [[nodiscard]] link::CommandLink* current();
    void SendCommand(const QString& command, link::SendFlag flag) override;

private:
    ControllerSession& m_session;
};

} // namespace talvik::app
