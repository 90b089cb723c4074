#include "connection.h"

#include "c_port.h"
#include "controller_session.h"
#include "status_values.h"
#include "system_port_enumerator.h"
#include "thermometer_list.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
constexpr int kScanIntervalMs = 1000;
constexpr int kTickIntervalMs = 100;
// A controller that restarts is let alone this long before the scan resumes.
constexpr int kRestartWaitMs = 10000;

QString PortFilter(const QString& port) {
    return port.isEmpty() ? QString() : link::FriendlyName(u"Порт"_s, port);
}

QTimer* namedTimer(QObject* parent, const QString& name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    return timer;
}
} // namespace

Connection::Connection(ControllerSession& session, support::Clock& clock, const QString& port,
                       QObject* parent)
    : QObject(parent), m_session(session), m_clock(clock),
      Timer1(namedTimer(this, u"Timer1"_s, kScanIntervalMs)),
      Timer2(namedTimer(this, u"Timer2"_s, 1)),
      m_enumerator(std::make_unique<link::SystemPortEnumerator>()), m_filter(PortFilter(port)) {
    m_waitTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, Timer1, qOverload<>(&QTimer::start));
    connect(Timer1, &QTimer::timeout, this, &Connection::Timer1Timer);
    connect(Timer1, &QTimer::timeout, this, &Connection::ticked);
    connect(Timer2, &QTimer::timeout, this, &Connection::Timer2Timer);
    connect(&session, &ControllerSession::announced, this, &Connection::OnConnected);
    connect(&session, &ControllerSession::lost, this, &Connection::Disconnect);
    connect(&session, &ControllerSession::restarted, this, &Connection::OnDeviceRestart);
    connect(&session, &ControllerSession::waitRequested, this, qOverload<int>(&Connection::Wait));
    connect(&session, &ControllerSession::pollDue, this, &Connection::OnPollDue);
    connect(&session, &ControllerSession::statusReply, this, &Connection::KeepThermometerSlots);
    connect(&session, &ControllerSession::disconnected, this, &Connection::OnDisconnected);
    Timer1->start();
    Timer2->start();
}

Connection::~Connection() {
    m_ports.clear();
}

void Connection::setPortSource(std::unique_ptr<link::PortEnumerator> enumerator,
                               const QString& filter) {
    m_enumerator = std::move(enumerator);
    m_filter = filter;
}

void Connection::Timer1Timer() {
    Timer1->stop();
    if (CPort* port = m_session.port()) {
        port->Tick();
    } else {
        const link::PortFactory factory = [this](std::unique_ptr<link::SerialLine> line,
                                                 const QString& portName,
                                                 const QString& friendlyName) {
            auto port = std::make_unique<CPort>(std::move(line), portName, friendlyName, m_clock,
                                                m_session);
            port->WakeOnArrival([this] { Timer2->start(); });
            return port;
        };
        link::RefreshPorts(m_ports, *m_enumerator, factory, m_filter,
                           [this](const QString& portName) { Q_EMIT portAccessDenied(portName); });
        // Every port is hunting for the controller's speed, so each probe goes out at the other
        // speed than the one before.
        for (auto& entry : m_ports) {
            static_cast<link::ComPort&>(*entry.second).SendText({}, link::SendFlag::WriteAndForget);
        }
    }
    if (!waiting()) {
        Timer1->start();
    }
}

void Connection::Timer2Timer() {
    // Timer2 runs while bytes come in: an arrival on any line starts it, and the first pass that
    // finds every line quiet leaves it stopped.
    Timer2->stop();
    bool received = false;
    if (CPort* port = m_session.port()) {
        received = port->BytesWaiting();
        port->CheckReceive();
    } else {
        // A port that connects empties the map, so the names are taken first.
        QStringList names;
        for (const auto& entry : m_ports) {
            names.append(entry.first);
        }
        for (const QString& name : names) {
            const auto entry = m_ports.find(name);
            if (entry != m_ports.end()) {
                auto& port = static_cast<CPort&>(*entry->second);
                received = port.BytesWaiting() || received;
                port.CheckReceive();
            }
            if (m_session.isConnected()) {
                break;
            }
        }
    }
    if (received) {
        Timer2->start();
    }
}

void Connection::OnConnected(CPort& port) {
    const auto entry = m_ports.find(port.PortName());
    if (entry == m_ports.end() || entry->second.get() != &port) {
        return;
    }
    // The session takes the port over from the scan, which must not close it.
    (void)entry->second.release();
    m_ports.erase(entry);
    // The first controller to answer wins; every other port is closed at once.
    m_ports.clear();
    m_session.attach(std::unique_ptr<CPort>(&port));

    Timer1->setInterval(kTickIntervalMs);
    port.SetSpeedHunting(false);
    port.dumpActive = 0;
}

void Connection::Disconnect() {
    m_session.release();
}

void Connection::OnDisconnected() {
    Timer1->setInterval(kScanIntervalMs);
}

void Connection::Close() {
    m_waitTimer.stop();
    m_ports.clear();
    Disconnect();
    m_session.destroyReleasedPorts();
    Timer1->stop();
}

void Connection::OnDeviceRestart() {
    Disconnect();
    Wait(kRestartWaitMs);
}

void Connection::Wait(int milliseconds) {
    Timer1->stop();
    m_waitTimer.start(std::max(milliseconds, m_waitTimer.remainingTime()));
}

void Connection::OnPollDue() {
    CPort& port = *m_session.port();
    const QList<link::StatusPoll::Command> identification = link::StatusPoll::Identification(
        !m_session.versionReply().isEmpty(), !m_session.serialNumber().isEmpty());
    if (!identification.isEmpty()) {
        for (const link::StatusPoll::Command& command : identification) {
            port.SendCommand(command.text, command.flag);
        }
        return;
    }
    // The status is polled only while the user can see it and no settings dump is running.
    if (port.dumpActive != 0 || !m_statusShown) {
        return;
    }
    const link::StatusPoll::Command command = m_poll.Next(port.VersionText(), m_thermometerSlots);
    port.SendCommand(command.text, command.flag);
}

void Connection::KeepThermometerSlots(int number, const QString& value) {
    if (number != link::StatusValues::kThermometers) {
        return;
    }
    m_thermometerSlots.clear();
    for (const devices::ThermometerList::Row& row : devices::ThermometerList::Rows(
             value, {}, [](int) { return QString(); }, QLocale::c())) {
        m_thermometerSlots.append(row.slot + 1);
    }
}

void Connection::setStatusShown(bool shown) {
    m_statusShown = shown;
}

void Connection::restWhile(const std::function<void()>& ask) {
    Timer1->stop();
    ask();
    Timer1->start();
}

} // namespace talvik::app
