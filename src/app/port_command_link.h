#pragma once

#include "command_link.h"

class Connection;

// The connected controller's command queue for the terminal and the 1-Wire and guard features.
// It follows whichever port is connected at the moment, so no feature holds on to a port that
// is gone.
class PortCommandLink final : public CommandLink {
public:
    explicit PortCommandLink(Connection& connection) : m_connection(connection) {}

    // This link while a controller is connected, null otherwise.
    [[nodiscard]] CommandLink* current();
    void SendCommand(const QString& command, int flag) override;

private:
    Connection& m_connection;
};
