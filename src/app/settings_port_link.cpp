#include "settings_port_link.h"

#include "c_port.h"
#include "connection.h"

namespace talvik::app {

bool SettingsPortLink::connected() const {
    return m_connection.connectedPort() != nullptr;
}

void SettingsPortLink::SendCommand(const QString& command, link::SendFlag flag) {
    m_connection.connectedPort()->SendCommand(command, flag);
}

void SettingsPortLink::SendText(const QByteArray& text, link::SendFlag channel) {
    static_cast<link::ComPort*>(m_connection.connectedPort())->SendText(text, channel);
}

QString SettingsPortLink::VersionText() const {
    return m_connection.connectedPort()->VersionText();
}

QByteArray SettingsPortLink::Current() const {
    return m_connection.connectedPort()->Current();
}

void SettingsPortLink::ClearCurrent() {
    m_connection.connectedPort()->ClearCurrent();
}

void SettingsPortLink::TouchLastSendTime() {
    m_connection.connectedPort()->TouchLastSendTime();
}

int& SettingsPortLink::dumpActive() {
    return m_connection.connectedPort()->dumpActive;
}

int& SettingsPortLink::lastDumpNumber() {
    return m_connection.connectedPort()->lastDumpNumber;
}

std::deque<int>& SettingsPortLink::missingNumbers() {
    return m_connection.connectedPort()->missingNumbers;
}

int& SettingsPortLink::errorCount() {
    return m_connection.connectedPort()->errorCount;
}

} // namespace talvik::app
