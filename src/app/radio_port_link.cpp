#include "radio_port_link.h"

#include "c_port.h"
#include "connection.h"

namespace talvik::app {

bool RadioPortLink::connected() const {
    return m_connection.connectedPort() != nullptr;
}

QString RadioPortLink::VersionText() const {
    return m_connection.deviceVersion();
}

void RadioPortLink::SendCommand(const QString& command, link::SendFlag flag) {
    if (CPort* port = m_connection.connectedPort()) {
        port->SendCommand(command, flag);
    }
}

} // namespace talvik::app
