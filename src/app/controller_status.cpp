#include "controller_status.h"

#include "controller_session.h"

#include <algorithm>

namespace talvik::app {

namespace StatusValues = link::StatusValues;

ControllerStatus::ControllerStatus(ControllerSession& session, QObject* parent) : QObject(parent) {
    connect(&session, &ControllerSession::connected, this, &ControllerStatus::takeConnected);
    connect(&session, &ControllerSession::versionReplyChanged, this,
            &ControllerStatus::takeVersionReply);
    connect(&session, &ControllerSession::serialNumberChanged, this,
            &ControllerStatus::takeSerialNumber);
    connect(&session, &ControllerSession::statusReply, this, &ControllerStatus::takeStatus);
    connect(&session, &ControllerSession::disconnected, this, &ControllerStatus::takeDisconnected);
}

void ControllerStatus::showDeviceType(int position) {
    if (position == m_deviceTypePosition) {
        return;
    }
    m_deviceTypePosition = position;
    Q_EMIT deviceTypeChanged(position);
}

void ControllerStatus::chooseDeviceType(int position) {
    showDeviceType(position);
    Q_EMIT deviceTypeChosen();
}

void ControllerStatus::takeConnected(const QString& portName) {
    m_connected = true;
    m_portName = portName;
    Q_EMIT portNameChanged(m_portName);
    Q_EMIT connectedChanged(true);
}

void ControllerStatus::takeDisconnected() {
    // What belonged to the controller that went away is emptied; its last status stays shown.
    m_connected = false;
    m_portName.clear();
    m_versionReply.clear();
    m_serialNumber.clear();
    Q_EMIT portNameChanged(m_portName);
    Q_EMIT versionReplyChanged(m_versionReply);
    Q_EMIT serialNumberChanged(m_serialNumber);
    Q_EMIT connectedChanged(false);
}

void ControllerStatus::takeVersionReply(const QString& text) {
    m_versionReply = text;
    Q_EMIT versionReplyChanged(m_versionReply);
}

void ControllerStatus::takeSerialNumber(const QString& serial) {
    m_serialNumber = serial;
    Q_EMIT serialNumberChanged(m_serialNumber);
}

void ControllerStatus::takeStatus(int number, const QString& value) {
    switch (number) {
    case StatusValues::kGuard:
        m_guard = StatusValues::GuardFor(value);
        Q_EMIT guardChanged();
        break;
    case StatusValues::kGsm:
        takeGsm(StatusValues::GsmFor(value));
        break;
    case StatusValues::kPower:
        m_power = StatusValues::PowerFor(value);
        Q_EMIT powerChanged();
        break;
    default:
        break;
    }
}

void ControllerStatus::takeGsm(const StatusValues::Gsm& gsm) {
    // A level outside the bar's range pins it to its end instead of leaving the previous level.
    m_signalLevel = std::clamp(gsm.signal, 0, kSignalMaximum);
    m_network = gsm.network;
    if (gsm.operatorName) {
        m_operatorName = *gsm.operatorName;
    }
    Q_EMIT gsmChanged();
}

} // namespace talvik::app
