#pragma once

#include "port_access_notice.h"
#include "port_discovery.h"
#include "status_display.h"
#include "status_poll.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

namespace talvik::support {
class Clock;
}

namespace talvik::app {

class CPort;
class ControllerSession;
class TForm1;

// The window's side of the device link: scanning every port with keep-alive probes, handing
// the port a controller announces itself on to the session, showing the identified
// controller's version and type, polling its status, and letting it go when the link is lost,
// the controller restarts or the program closes. Runs from the window's Timer1 and Timer2 and
// from the session's signals.
class Connection : public QObject {
    Q_OBJECT
public:
    // The ports come from the machine's serial ports, or only the one of `talvik --port`.
    Connection(TForm1& form, ControllerSession& session, support::Clock& clock);
    ~Connection() override;

    // Looks for controllers among `enumerator`'s ports from now on (filter as RefreshPorts).
    void setPortSource(std::unique_ptr<link::PortEnumerator> enumerator, const QString& filter);

    // The ports being scanned while no controller is connected.
    [[nodiscard]] const link::PortMap& ports() const { return m_ports; }

    void Timer1Timer();
    void Timer2Timer();

    // The program's own disconnect; nothing happens while no controller is connected.
    void Disconnect();
    // At program close: every scanned port is closed and a connected controller let go.
    void Close();

    // Stops Timer1 for the given time; the window stays alive and the link rests meanwhile.
    void Wait(int milliseconds);
    [[nodiscard]] bool waiting() const { return m_waitTimer.isActive(); }

private:
    void OnConnected(CPort& port);
    void OnDeviceRestart();
    void OnPollDue();
    void OnIdentified();
    void OnDisconnected();
    // Shows the pages that the firmware version allows and selects the device type the
    // hardware number names.
    void ApplyVersion(const QString& versionText);
    void KeepThermometerSlots(int number, const QString& value);

    TForm1& m_form;
    ControllerSession& m_session;
    support::Clock& m_clock;
    StatusDisplay m_display;
    PortAccessNotice m_accessNotice;
    link::StatusPoll m_poll;
    std::unique_ptr<link::PortEnumerator> m_enumerator;
    QString m_filter;
    link::PortMap m_ports;
    // The thermometer slots (from 1) of the last readings; the poll asks for their serials.
    QList<int> m_thermometerSlots;
    // Starts Timer1 again when a wait is over.
    QTimer m_waitTimer;
};

} // namespace talvik::app
