#include "port_command_link.h"

#include "c_port.h"
#include "controller_session.h"

namespace talvik::app {

link::CommandLink* PortCommandLink::current() {
    return m_session.port() != nullptr ? this : nullptr;
}

void PortCommandLink::SendCommand(const QString& command, link::SendFlag flag) {
    if (CPort* port = m_session.port()) {
        port->SendCommand(command, flag);
    }
}

} // namespace talvik::app
