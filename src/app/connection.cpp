#include "connection.h"

#include "c_port.h"
#include "compare_versions.h"
#include "controller_session.h"
#include "dialogs.h"
#include "header_panel.h"
#include "main_page.h"
#include "page_control.h"
#include "settings_editor.h"
#include "system_port_enumerator.h"
#include "tform1.h"
#include "thermometer_list.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
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
} // namespace

Connection::Connection(TForm1& form, ControllerSession& session, support::Clock& clock)
    : QObject(&form), m_form(form), m_session(session), m_clock(clock),
      m_display(session, *form.TabSheet3, *form.Panel1),
      m_enumerator(std::make_unique<link::SystemPortEnumerator>()),
      m_filter(PortFilter(form.options().port)) {
    m_waitTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, m_form.Timer1, qOverload<>(&QTimer::start));
    connect(&session, &ControllerSession::announced, this, &Connection::OnConnected);
    connect(&session, &ControllerSession::lost, this, &Connection::Disconnect);
    connect(&session, &ControllerSession::restarted, this, &Connection::OnDeviceRestart);
    connect(&session, &ControllerSession::waitRequested, this, qOverload<int>(&Connection::Wait));
    connect(&session, &ControllerSession::pollDue, this, &Connection::OnPollDue);
    connect(&session, &ControllerSession::statusReply, this, &Connection::KeepThermometerSlots);
    connect(&session, &ControllerSession::identified, this, &Connection::OnIdentified);
    connect(&session, &ControllerSession::disconnecting, &form, &TForm1::closeWaitingWindow);
    connect(&session, &ControllerSession::disconnected, this, &Connection::OnDisconnected);
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
    m_form.Timer1->stop();
    if (CPort* port = m_session.port()) {
        port->Tick();
    } else {
        const link::PortFactory factory = [this](std::unique_ptr<link::SerialLine> line,
                                                 const QString& portName,
                                                 const QString& friendlyName) {
            auto port = std::make_unique<CPort>(std::move(line), portName, friendlyName, m_clock,
                                                m_session);
            port->WakeOnArrival([this] { m_form.Timer2->start(); });
            return port;
        };
        link::RefreshPorts(m_ports, *m_enumerator, factory, m_filter);
        // Every port is hunting for the controller's speed, so each probe goes out at the other
        // speed than the one before.
        for (auto& entry : m_ports) {
            static_cast<link::ComPort&>(*entry.second).SendText({}, link::SendFlag::WriteAndForget);
        }
    }
    if (!waiting()) {
        m_form.Timer1->start();
    }
}

void Connection::Timer2Timer() {
    // Timer2 runs while bytes come in: an arrival on any line starts it, and the first pass that
    // finds every line quiet leaves it stopped.
    m_form.Timer2->stop();
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
        m_form.Timer2->start();
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

    m_form.Timer1->setInterval(kTickIntervalMs);
    m_form.TabSheet3->ComboBox2->setEnabled(false);
    port.SetSpeedHunting(false);
    m_form.showWaitingWindow();
    port.dumpActive = 0;
}

void Connection::Disconnect() {
    m_session.release();
}

void Connection::OnDisconnected() {
    m_form.settingsEditor().setDeviceVersion({});
    m_form.Timer1->setInterval(kScanIntervalMs);
    m_form.PageControl1->setTabVisible(m_form.PageControl1->indexOf(m_form.TabSheet1), false);
    m_form.TabSheet3->ComboBox2->setEnabled(true);
}

void Connection::Close() {
    m_waitTimer.stop();
    m_ports.clear();
    Disconnect();
    m_session.destroyReleasedPorts();
}

void Connection::OnDeviceRestart() {
    Disconnect();
    Wait(kRestartWaitMs);
}

void Connection::Wait(int milliseconds) {
    m_form.Timer1->stop();
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
    if (port.dumpActive != 0 || m_form.PageControl1->currentWidget() != m_form.TabSheet3) {
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

void Connection::OnIdentified() {
    m_form.closeWaitingWindow();
    ApplyVersion(m_session.versionText());
}

void Connection::ApplyVersion(const QString& versionText) {
    if (versionText.isEmpty()) {
        m_form.Timer1->stop();
        m_form.dialogs().warning(u"Предупреждение"_s,
                                 u"Настоятельно рекомендуется обновить прошивку прибора.\n"
                                 u"Для данной версии никаких настроек не доступно."_s);
        m_form.Timer1->start();
        return;
    }
    m_form.PageControl1->setTabVisible(m_form.PageControl1->indexOf(m_form.TabSheet1),
                                       support::CompareVersions(versionText, u"1.45") >= 0);
    m_form.settingsEditor().setDeviceVersion(versionText);
    m_form.TabSheet3->ComboBox2->setCurrentIndex(*m_session.deviceType());
    m_form.changeDeviceType(false);
}

} // namespace talvik::app
