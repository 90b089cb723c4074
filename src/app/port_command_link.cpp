#include "port_command_link.h"

#include "c_port.h"
#include "connection.h"

namespace talvik::app {

link::CommandLink* PortCommandLink::current() {
    return m_connection.connectedPort() != nullptr ? this : nullptr;
}

void PortCommandLink::SendCommand(const QString& command, link::SendFlag flag) {
    if (CPort* port = m_connection.connectedPort()) {
        port->SendCommand(command, flag);
    }
}

} // namespace talvik::app
