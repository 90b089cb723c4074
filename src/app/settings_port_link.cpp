#include "settings_port_link.h"

#include "c_port.h"
#include "controller_session.h"

namespace talvik::app {

bool SettingsPortLink::connected() const {
    return m_session.port() != nullptr;
}

void SettingsPortLink::SendCommand(const QString& command, link::SendFlag flag) {
    m_session.port()->SendCommand(command, flag);
}

void SettingsPortLink::SendText(const QByteArray& text, link::SendFlag channel) {
    static_cast<link::ComPort*>(m_session.port())->SendText(text, channel);
}

QString SettingsPortLink::VersionText() const {
    return m_session.port()->VersionText();
}

QString SettingsPortLink::SerialNumber() const {
    return m_session.serialNumber();
}

QByteArray SettingsPortLink::Current() const {
    return m_session.port()->Current();
}

void SettingsPortLink::ClearCurrent() {
    m_session.port()->ClearCurrent();
}

void SettingsPortLink::TouchLastSendTime() {
    m_session.port()->TouchLastSendTime();
}

int& SettingsPortLink::dumpActive() {
    return m_session.port()->dumpActive;
}

int& SettingsPortLink::lastDumpNumber() {
    return m_session.port()->lastDumpNumber;
}

std::deque<int>& SettingsPortLink::missingNumbers() {
    return m_session.port()->missingNumbers;
}

int& SettingsPortLink::errorCount() {
    return m_session.port()->errorCount;
}

} // namespace talvik::app
