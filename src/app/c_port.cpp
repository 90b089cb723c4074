#include "c_port.h"

#include "connection.h"

CPort::CPort(std::unique_ptr<SerialLine> line, const QString& portName, const QString& friendlyName,
             Clock& clock, Connection& owner)
    : ComPort(std::move(line), portName, friendlyName, clock), m_owner(&owner) {}

void CPort::Detach() {
    m_owner = nullptr;
    Line().setArrivalHandler({});
}

void CPort::WakeOnArrival(std::function<void()> wake) {
    Line().setArrivalHandler(std::move(wake));
}

bool CPort::BytesWaiting() {
    return Line().bytesWaiting() > 0;
}

void CPort::ShowStatus(const QString& text) {
    if (m_owner != nullptr) {
        m_owner->ShowStatus(*this, text);
    }
}

void CPort::OnReply(const QString& text) {
    if (m_owner != nullptr) {
        m_owner->OnReply(*this, text);
    }
}

void CPort::OnText(const QString& text) {
    if (m_owner != nullptr) {
        m_owner->OnText(*this, text);
    }
}

void CPort::OnDeviceRestart() {
    if (m_owner != nullptr) {
        m_owner->OnDeviceRestart(*this);
    }
}

void CPort::SetProgress(int position) {
    if (m_owner != nullptr) {
        m_owner->SetProgress(*this, position);
    }
}

void CPort::SetProgressMax(int maximum) {
    if (m_owner != nullptr) {
        m_owner->SetProgressMax(*this, maximum);
    }
}

void CPort::OnProgrammingEnd(const QString& text) {
    if (m_owner != nullptr) {
        m_owner->OnProgrammingEnd(*this, text);
    }
}

void CPort::OnConnected(const QString& text) {
    if (m_owner != nullptr) {
        m_owner->OnConnected(*this, text);
    }
}

void CPort::OnDisconnected() {
    if (m_owner != nullptr) {
        m_owner->OnDisconnected(*this);
    }
}

void CPort::Wait(int milliseconds) {
    if (m_owner != nullptr) {
        m_owner->Wait(*this, milliseconds);
    }
}

void CPort::OnNoReply() {
    if (m_owner != nullptr) {
        m_owner->OnNoReply(*this);
    }
}

void CPort::OnCommandSent() {
    if (m_owner != nullptr) {
        m_owner->OnCommandSent(*this);
    }
}

void CPort::OnPollDue() {
    if (m_owner != nullptr) {
        m_owner->OnPollDue(*this);
    }
}

void CPort::OnQueueEnd() {
    if (m_owner != nullptr) {
        m_owner->OnQueueEnd(*this);
    }
}

void CPort::OnVersion(const QString& text) {
    if (m_owner != nullptr) {
        m_owner->OnVersion(*this, text);
    }
}
