#pragma once

#include "connection_hooks.h"
#include "port_discovery.h"
#include "status_display.h"
#include "status_poll.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

namespace talvik::support {
class Clock;
}

namespace talvik::app {

class CPort;
class TForm1;

// The window's side of the device link: scanning every port with keep-alive probes, taking over
// the port a controller announces itself on, identifying the controller, polling and showing
// its status, and letting it go when the link is lost, the controller restarts or the program
// closes. Runs from the window's Timer1 and Timer2 and from the events of the ports it creates.
class Connection : public QObject {
    Q_OBJECT
public:
    // The ports come from the machine's serial ports, or only the one of `talvik --port`.
    Connection(TForm1& form, support::Clock& clock);
    ~Connection() override;

    // Looks for controllers among `enumerator`'s ports from now on (filter as RefreshPorts).
    void setPortSource(std::unique_ptr<link::PortEnumerator> enumerator, const QString& filter);

    ConnectionHooks hooks;

    [[nodiscard]] CPort* connectedPort() const { return m_connectedPort.get(); }
    [[nodiscard]] const link::PortMap& ports() const { return m_ports; }
    // Firmware version of the connected controller; empty while none is connected.
    [[nodiscard]] QString deviceVersion() const;

    void Timer1Timer();
    void Timer2Timer();

    // The program's own disconnect; nothing happens while no controller is connected.
    void Disconnect();
    // At program close: every scanned port is closed and a connected controller let go.
    void Close();

    // Events of the ports (CPort forwards them here).
    void OnConnected(CPort& port, const QString& text);
    void OnDisconnected(CPort& port);
    void OnDeviceRestart(CPort& port);
    void Wait(CPort& port, int milliseconds);
    void OnPollDue(CPort& port);
    void OnVersion(CPort& port, const QString& text);
    void OnReply(CPort& port, const QString& text);
    void ShowStatus(CPort& port, const QString& text);
    void OnText(CPort& port, const QString& text);
    void SetProgress(CPort& port, int position);
    void SetProgressMax(CPort& port, int maximum);
    void OnProgrammingEnd(CPort& port, const QString& text);
    void OnNoReply(CPort& port);
    void OnCommandSent(CPort& port);
    void OnQueueEnd(CPort& port);

    // One "#S" piece of a reply: shows S0, S4, S6 and S54, hands S23 and S64 on.
    void OnStatusReply(const QString& piece);
    // Once version and serial number are known: the waiting window goes and the version is
    // applied; then the read decision.
    void OfferRead();
    // Shows the pages that the firmware version allows and selects the device type from the
    // hardware number (decimal text).
    void ApplyVersion(const QString& versionText, const QString& hardwareNumber);
    // Stops Timer1 for the given time; the window stays alive and the link rests meanwhile.
    void Wait(int milliseconds);
    [[nodiscard]] bool waiting() const { return m_waitTimer.isActive(); }

Q_SIGNALS:
    // The connected controller is identified (version and serial number known); the read
    // decision follows at once.
    void identified();
    // The connected controller was let go.
    void disconnected();

private:
    [[nodiscard]] bool IsConnected(const CPort& port) const;
    [[nodiscard]] QList<int> ThermometerSlots() const;
    void DestroyRetiredPorts();

    TForm1& m_form;
    support::Clock& m_clock;
    StatusDisplay m_display;
    link::StatusPoll m_poll;
    std::unique_ptr<link::PortEnumerator> m_enumerator;
    QString m_filter;
    link::PortMap m_ports;
    std::unique_ptr<CPort> m_connectedPort;
    // Ports let go from inside their own event handlers, destroyed once those have returned.
    std::vector<std::unique_ptr<CPort>> m_retired;
    // Starts Timer1 again when a wait is over.
    QTimer m_waitTimer;
};

} // namespace talvik::app
