#include "c_port.h"

#include "controller_session.h"

#include <utility>

namespace talvik::app {

CPort::CPort(std::unique_ptr<link::SerialLine> line, const QString& portName,
             const QString& friendlyName, support::Clock& clock, ControllerSession& session)
    : link::ComPort(std::move(line), portName, friendlyName, clock), m_session(&session) {}

void CPort::Detach() {
    m_session = nullptr;
    Line().setArrivalHandler({});
}

void CPort::WakeOnArrival(std::function<void()> wake) {
    Line().setArrivalHandler(std::move(wake));
}

bool CPort::BytesWaiting() {
    return Line().bytesWaiting() > 0;
}

// Events of the connected port reach the session; a scanned port or one let go stays silent.
template <typename... Params, typename... Args>
void CPort::Report(void (ControllerSession::*event)(Params...), Args&&... args) {
    if (m_session != nullptr && m_session->port() == this) {
        (m_session->*event)(std::forward<Args>(args)...);
    }
}

void CPort::OnConnected(const QString&) {
    // Any scanned port may announce a controller; the first one to do so is taken over.
    if (m_session != nullptr && !m_session->isConnected()) {
        Q_EMIT m_session->announced(*this);
    }
}

void CPort::Wait(int milliseconds) {
    if (m_session != nullptr) {
        Q_EMIT m_session->waitRequested(milliseconds);
    }
}

void CPort::ShowStatus(const QString& text) {
    Report(&ControllerSession::statusShown, text);
}

void CPort::OnReply(const QString& text) {
    Report(&ControllerSession::takeReply, text);
}

void CPort::OnText(const QString& text) {
    Report(&ControllerSession::textReceived, text);
}

void CPort::OnDeviceRestart() {
    Report(&ControllerSession::restarted);
}

void CPort::SetProgress(int position) {
    Report(&ControllerSession::progressed, position);
}

void CPort::SetProgressMax(int maximum) {
    Report(&ControllerSession::progressMaximumSet, maximum);
}

void CPort::OnProgrammingEnd(const QString& text) {
    Report(&ControllerSession::takeProgrammingEnd, text);
}

void CPort::OnDisconnected() {
    Report(&ControllerSession::lost);
}

void CPort::OnNoReply() {
    Report(&ControllerSession::noReply);
}

void CPort::OnCommandSent() {
    Report(&ControllerSession::commandSent);
}

void CPort::OnPollDue() {
    Report(&ControllerSession::pollDue);
}

void CPort::OnQueueEnd() {
    Report(&ControllerSession::queueEnded);
}

void CPort::OnVersion(const QString& text) {
    Report(&ControllerSession::takeVersionReply, text);
}

} // namespace talvik::app
