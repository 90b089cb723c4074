#include "controller_session.h"

#include "c_port.h"
#include "device_type_for_hardware.h"
#include "reply_pieces.h"
#include "status_values.h"

#include <QTimer>

namespace talvik::app {

namespace StatusValues = link::StatusValues;

ControllerSession::ControllerSession(QObject* parent) : QObject(parent) {}

ControllerSession::~ControllerSession() {
    m_port.reset();
    m_released.clear();
}

QString ControllerSession::portName() const {
    return m_port ? m_port->PortName() : QString();
}

QString ControllerSession::versionText() const {
    return m_port ? m_port->VersionText() : QString();
}

int ControllerSession::hardwareNumber() const {
    return m_port ? m_port->HardwareNumber() : 0;
}

bool ControllerSession::isIdentified() const {
    return m_port && !m_versionReply.isEmpty() && !m_serialNumber.isEmpty();
}

void ControllerSession::attach(std::unique_ptr<CPort> port) {
    m_port = std::move(port);
    Q_EMIT connected(m_port->PortName());
}

void ControllerSession::release() {
    if (!m_port) {
        return;
    }
    Q_EMIT disconnecting();
    // This may run inside one of the port's own operations, so the port is only cut off here
    // and destroyed once control is back in the event loop.
    m_port->Detach();
    m_released.push_back(std::move(m_port));
    QTimer::singleShot(0, this, &ControllerSession::destroyReleasedPorts);
    m_versionReply.clear();
    m_serialNumber.clear();
    m_deviceType.reset();
    Q_EMIT disconnected();
}

void ControllerSession::destroyReleasedPorts() {
    m_released.clear();
}

void ControllerSession::takeVersionReply(const QString& text) {
    m_versionReply = text;
    Q_EMIT versionReplyChanged(text);
    reportIdentity();
}

void ControllerSession::takeReply(const QString& text) {
    if (!text.startsWith(u'#')) {
        Q_EMIT keyTouched(text);
        return;
    }
    for (const QString& piece : link::SplitReply(text)) {
        const QChar kind = piece.size() > 1 ? piece.at(1) : QChar();
        if (kind == u'P') {
            Q_EMIT parameterReply(piece);
        } else if (kind == u'S') {
            takeStatusPiece(piece);
        } else if (kind == u'R') {
            Q_EMIT radioReply(piece);
        }
    }
}

void ControllerSession::takeStatusPiece(const QString& piece) {
    const std::optional<StatusValues::Piece> status = StatusValues::ParsePiece(piece);
    if (!status) {
        return;
    }
    if (status->number == StatusValues::kSerialNumber) {
        m_serialNumber = status->value;
        Q_EMIT serialNumberChanged(m_serialNumber);
        reportIdentity();
        return;
    }
    Q_EMIT statusReply(status->number, status->value);
}

void ControllerSession::takeProgrammingEnd(const QString& text) {
    // The controller may run new firmware now: its identity is asked for again.
    m_versionReply.clear();
    Q_EMIT versionReplyChanged(m_versionReply);
    Q_EMIT programmingEnded(text);
}

void ControllerSession::reportIdentity() {
    if (!isIdentified()) {
        return;
    }
    m_deviceType = link::DeviceTypeForHardware(QString::number(m_port->HardwareNumber()));
    Q_EMIT identified();
    Q_EMIT readDue();
}

} // namespace talvik::app
