#include "c_port.h"

#include "connection.h"

#include <utility>

namespace talvik::app {

CPort::CPort(std::unique_ptr<link::SerialLine> line, const QString& portName,
             const QString& friendlyName, support::Clock& clock, Connection& owner)
    : link::ComPort(std::move(line), portName, friendlyName, clock), m_owner(&owner) {}

void CPort::Detach() {
    m_owner = nullptr;
    Line().setArrivalHandler({});
}

void CPort::WakeOnArrival(std::function<void()> wake) {
    Line().setArrivalHandler(std::move(wake));
}

// Events reach the window's connection while the port is attached; a port let go stays silent.
template <typename... Params, typename... Args>
void CPort::Forward(void (Connection::*handler)(CPort&, Params...), Args&&... args) {
    if (m_owner != nullptr) {
        (m_owner->*handler)(*this, std::forward<Args>(args)...);
    }
}

bool CPort::BytesWaiting() {
    return Line().bytesWaiting() > 0;
}

void CPort::ShowStatus(const QString& text) {
    Forward(&Connection::ShowStatus, text);
}

void CPort::OnReply(const QString& text) {
    Forward(&Connection::OnReply, text);
}

void CPort::OnText(const QString& text) {
    Forward(&Connection::OnText, text);
}

void CPort::OnDeviceRestart() {
    Forward(&Connection::OnDeviceRestart);
}

void CPort::SetProgress(int position) {
    Forward(&Connection::SetProgress, position);
}

void CPort::SetProgressMax(int maximum) {
    Forward(&Connection::SetProgressMax, maximum);
}

void CPort::OnProgrammingEnd(const QString& text) {
    Forward(&Connection::OnProgrammingEnd, text);
}

void CPort::OnConnected(const QString& text) {
    Forward(&Connection::OnConnected, text);
}

void CPort::OnDisconnected() {
    Forward(&Connection::OnDisconnected);
}

void CPort::Wait(int milliseconds) {
    Forward(&Connection::Wait, milliseconds);
}

void CPort::OnNoReply() {
    Forward(&Connection::OnNoReply);
}

void CPort::OnCommandSent() {
    Forward(&Connection::OnCommandSent);
}

void CPort::OnPollDue() {
    Forward(&Connection::OnPollDue);
}

void CPort::OnQueueEnd() {
    Forward(&Connection::OnQueueEnd);
}

void CPort::OnVersion(const QString& text) {
    Forward(&Connection::OnVersion, text);
}

} // namespace talvik::app
