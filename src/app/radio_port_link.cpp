#include "radio_port_link.h"

#include "c_port.h"
#include "controller_session.h"

namespace talvik::app {

bool RadioPortLink::connected() const {
    return m_session.port() != nullptr;
}

QString RadioPortLink::VersionText() const {
    return m_session.versionText();
}

void RadioPortLink::SendCommand(const QString& command, link::SendFlag flag) {
    if (CPort* port = m_session.port()) {
        port->SendCommand(command, flag);
    }
}

} // namespace talvik::app
