#pragma once

#include "status_values.h"

#include <QObject>
#include <QString>

namespace talvik::app {

class ControllerSession;

// What the main page shows of the attached controller, free of widgets: port, version reply,
// serial number and the chosen device type of the connection group, the GSM, power and guard
// status as the controller last reported it, and whether a controller is connected. It follows
// the session; the panels show what it holds and hear when a part of it changes.
class ControllerStatus : public QObject {
    Q_OBJECT
public:
    // The signal bar's top; a level beyond it (99: not known) shows as the top.
    static constexpr int kSignalMaximum = 31;

    explicit ControllerStatus(ControllerSession& session, QObject* parent = nullptr);

    [[nodiscard]] bool connected() const { return m_connected; }
    // Empty while no controller is connected.
    [[nodiscard]] const QString& portName() const { return m_portName; }
    [[nodiscard]] const QString& versionReply() const { return m_versionReply; }
    [[nodiscard]] const QString& serialNumber() const { return m_serialNumber; }
    // The chosen device type, as its place in the type list. The choice is open only while no
    // controller is connected.
    [[nodiscard]] int deviceTypePosition() const { return m_deviceTypePosition; }

    // The last reported status; the GSM, power and guard groups keep it after a disconnect.
    [[nodiscard]] int signalLevel() const { return m_signalLevel; }
    [[nodiscard]] const QString& network() const { return m_network; }
    // The last operator the controller named; a report without one leaves it.
    [[nodiscard]] const QString& operatorName() const { return m_operatorName; }
    [[nodiscard]] const link::StatusValues::Power& power() const { return m_power; }
    [[nodiscard]] const link::StatusValues::Guard& guard() const { return m_guard; }

    // The program's own choice of the device type (start-up, an identified controller, a file).
    void showDeviceType(int position);
    // The user picked a device type.
    void chooseDeviceType(int position);

Q_SIGNALS:
    void connectedChanged(bool connected);
    void portNameChanged(const QString& portName);
    void versionReplyChanged(const QString& text);
    void serialNumberChanged(const QString& serial);
    void deviceTypeChanged(int position);
    // After deviceTypeChanged when the user made the choice.
    void deviceTypeChosen();
    void gsmChanged();
    void powerChanged();
    void guardChanged();

private:
    void takeConnected(const QString& portName);
    void takeDisconnected();
    void takeVersionReply(const QString& text);
    void takeSerialNumber(const QString& serial);
    void takeStatus(int number, const QString& value);
    void takeGsm(const link::StatusValues::Gsm& gsm);

    bool m_connected = false;
    QString m_portName;
    QString m_versionReply;
    QString m_serialNumber;
    int m_deviceTypePosition = 0;
    int m_signalLevel = 0;
    QString m_network;
    QString m_operatorName;
    link::StatusValues::Power m_power;
    // Until the first report the guard counts as off.
    link::StatusValues::Guard m_guard = link::StatusValues::GuardFor(QStringLiteral("0"));
};

} // namespace talvik::app
