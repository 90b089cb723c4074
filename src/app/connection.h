#pragma once

#include "port_discovery.h"
#include "status_poll.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace talvik::support {
class Clock;
}

namespace talvik::app {

class CPort;
class ControllerSession;

// The device link: scanning every port with keep-alive probes, handing the port a controller
// announces itself on to the session, polling the identified controller's status, and letting
// it go when the link is lost, the controller restarts or the program closes. It runs the
// link's two timers: Timer1, the scan while nothing is connected and the link's clock while a
// controller is, and Timer2, reception.
class Connection : public QObject {
    Q_OBJECT
public:
    // Scans the machine's serial ports, or only `port` (`talvik --port`) when it is given.
    Connection(ControllerSession& session, support::Clock& clock, const QString& port,
               QObject* parent = nullptr);
    ~Connection() override;

    // Looks for controllers among `enumerator`'s ports from now on (filter as RefreshPorts).
    void setPortSource(std::unique_ptr<link::PortEnumerator> enumerator, const QString& filter);

    // The ports being scanned while no controller is connected.
    [[nodiscard]] const link::PortMap& ports() const { return m_ports; }

    void Timer1Timer();
    void Timer2Timer();

    // The status is polled only while the user can see it.
    void setStatusShown(bool shown);

    // The program's own disconnect; nothing happens while no controller is connected.
    void Disconnect();
    // At program close: every scanned port is closed, a connected controller let go, and the
    // scan stopped.
    void Close();

    // Stops Timer1 for the given time; the window stays alive and the link rests meanwhile.
    void Wait(int milliseconds);
    [[nodiscard]] bool waiting() const { return m_waitTimer.isActive(); }
    // The link rests while `ask` puts a question to the user.
    void restWhile(const std::function<void()>& ask);

Q_SIGNALS:
    // Each beat of Timer1, once the link has had it.
    void ticked();
    // The scan found `portName` present but could not open it for lack of rights; said at
    // every refresh while it lasts.
    void portAccessDenied(const QString& portName);

private:
    void OnConnected(CPort& port);
    void OnDeviceRestart();
    void OnPollDue();
    void OnDisconnected();
    void KeepThermometerSlots(int number, const QString& value);

    ControllerSession& m_session;
    support::Clock& m_clock;
    QTimer* Timer1;
    QTimer* Timer2;
    link::StatusPoll m_poll;
    std::unique_ptr<link::PortEnumerator> m_enumerator;
    QString m_filter;
    link::PortMap m_ports;
    // The thermometer slots (from 1) of the last readings; the poll asks for their serials.
    QList<int> m_thermometerSlots;
    bool m_statusShown = true;
    // Starts Timer1 again when a wait is over.
    QTimer m_waitTimer;
};

} // namespace talvik::app
