#include "connection.h"

#include "c_port.h"
#include "compare_versions.h"
#include "device_type_for_hardware.h"
#include "dialogs.h"
#include "header_panel.h"
#include "leading_integer.h"
#include "main_page.h"
#include "page_control.h"
#include "reply_pieces.h"
#include "settings_editor.h"
#include "system_port_enumerator.h"
#include "tform1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
constexpr int kScanIntervalMs = 1000;
constexpr int kTickIntervalMs = 100;

template <typename Hook, typename... Args> void Call(const Hook& hook, Args&&... args) {
    if (hook) {
        hook(std::forward<Args>(args)...);
    }
}

QString PortFilter(const QString& port) {
    return port.isEmpty() ? QString() : link::FriendlyName(u"Порт"_s, port);
}
} // namespace

Connection::Connection(TForm1& form, support::Clock& clock)
    : QObject(&form), m_form(form), m_clock(clock), m_display(*form.TabSheet3, *form.Panel1),
      m_enumerator(std::make_unique<link::SystemPortEnumerator>()),
      m_filter(PortFilter(form.options().port)) {
    m_waitTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, m_form.Timer1, qOverload<>(&QTimer::start));
}

Connection::~Connection() {
    m_ports.clear();
    m_connectedPort.reset();
    m_retired.clear();
}

void Connection::setPortSource(std::unique_ptr<link::PortEnumerator> enumerator,
                               const QString& filter) {
    m_enumerator = std::move(enumerator);
    m_filter = filter;
}

QString Connection::deviceVersion() const {
    return m_connectedPort ? m_connectedPort->VersionText() : QString();
}

bool Connection::IsConnected(const CPort& port) const {
    return m_connectedPort.get() == &port;
}

void Connection::Timer1Timer() {
    m_form.Timer1->stop();
    if (!m_connectedPort) {
        const link::PortFactory factory = [this](std::unique_ptr<link::SerialLine> line,
                                                 const QString& portName,
                                                 const QString& friendlyName) {
            auto port =
                std::make_unique<CPort>(std::move(line), portName, friendlyName, m_clock, *this);
            port->WakeOnArrival([this] { m_form.Timer2->start(); });
            return port;
        };
        link::RefreshPorts(m_ports, *m_enumerator, factory, m_filter);
        // Every port is hunting for the controller's speed, so each probe goes out at the other
        // speed than the one before.
        for (auto& entry : m_ports) {
            static_cast<link::ComPort&>(*entry.second).SendText({}, link::SendFlag::WriteAndForget);
        }
    } else {
        m_connectedPort->Tick();
    }
    Call(hooks.OnRadioLearningTick);
    if (!waiting()) {
        m_form.Timer1->start();
    }
}

void Connection::Timer2Timer() {
    // Timer2 runs while bytes come in: an arrival on any line starts it, and the first pass that
    // finds every line quiet leaves it stopped.
    m_form.Timer2->stop();
    bool received = false;
    if (m_connectedPort) {
        received = m_connectedPort->BytesWaiting();
        m_connectedPort->CheckReceive();
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
            if (m_connectedPort) {
                break;
            }
        }
    }
    if (received) {
        m_form.Timer2->start();
    }
}

void Connection::OnConnected(CPort& port, const QString&) {
    if (m_connectedPort) {
        return;
    }
    const auto entry = m_ports.find(port.PortName());
    if (entry == m_ports.end() || entry->second.get() != &port) {
        return;
    }
    entry->second.release();
    m_ports.erase(entry);
    // The first controller to answer wins; every other port is closed at once.
    m_ports.clear();
    m_connectedPort.reset(&port);

    m_display.ShowConnected(port.PortName());
    m_form.Timer1->setInterval(kTickIntervalMs);
    m_form.TabSheet3->ComboBox2->setEnabled(false);
    port.SetSpeedHunting(false);
    m_form.showWaitingWindow();
    port.dumpActive = 0;
}

void Connection::OnDisconnected(CPort& port) {
    if (IsConnected(port)) {
        Disconnect();
    }
}

void Connection::Disconnect() {
    if (!m_connectedPort) {
        return;
    }
    m_form.closeWaitingWindow();
    Call(hooks.SaveLastSettings);
    if (support::CompareVersions(m_connectedPort->VersionText(), u"1.66") >= 0) {
        Call(hooks.ClearRememberedSerial);
    }
    // This may run inside one of the port's own operations, so the port is only cut off here
    // and destroyed once control is back in the event loop.
    m_connectedPort->Detach();
    m_retired.push_back(std::move(m_connectedPort));
    QTimer::singleShot(0, this, &Connection::DestroyRetiredPorts);

    m_display.ShowDisconnected();
    m_form.settingsEditor().setDeviceVersion({});
    m_form.Timer1->setInterval(kScanIntervalMs);
    m_form.PageControl1->setTabVisible(m_form.PageControl1->indexOf(m_form.TabSheet1), false);
    Call(hooks.ClearRadioList);
    m_form.TabSheet3->ComboBox2->setEnabled(true);
    Call(hooks.ClearReadOffered);
    Q_EMIT disconnected();
}

void Connection::DestroyRetiredPorts() {
    m_retired.clear();
}

void Connection::Close() {
    m_waitTimer.stop();
    m_ports.clear();
    Disconnect();
    DestroyRetiredPorts();
}

void Connection::OnDeviceRestart(CPort& port) {
    if (!IsConnected(port)) {
        return;
    }
    Disconnect();
    Wait(10000);
}

void Connection::Wait(CPort&, int milliseconds) {
    Wait(milliseconds);
}

void Connection::Wait(int milliseconds) {
    m_form.Timer1->stop();
    m_waitTimer.start(std::max(milliseconds, m_waitTimer.remainingTime()));
}

void Connection::OnPollDue(CPort& port) {
    if (!IsConnected(port)) {
        return;
    }
    const MainPage& page = *m_form.TabSheet3;
    const QList<link::StatusPoll::Command> identification = link::StatusPoll::Identification(
        !page.Label6->text().isEmpty(), !page.Edit1->text().isEmpty());
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
    const link::StatusPoll::Command command = m_poll.Next(port.VersionText(), ThermometerSlots());
    port.SendCommand(command.text, command.flag);
}

QList<int> Connection::ThermometerSlots() const {
    const QTreeWidget* list = m_form.TabSheet3->ListView2;
    QList<int> slots;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        slots.append(support::LeadingInteger(list->topLevelItem(row)->text(0)));
    }
    return slots;
}

void Connection::OnVersion(CPort& port, const QString& text) {
    if (!IsConnected(port)) {
        return;
    }
    m_display.ShowVersion(text);
    OfferRead();
}

void Connection::OnReply(CPort& port, const QString& text) {
    if (!IsConnected(port)) {
        return;
    }
    if (!text.startsWith(u'#')) {
        Call(hooks.OnTouchKeyReply, text);
        return;
    }
    const QStringList pieces = link::SplitReply(text);
    for (const QString& piece : pieces) {
        const QChar kind = piece.size() > 1 ? piece.at(1) : QChar();
        if (kind == u'P') {
            Call(hooks.OnParameterReply, piece);
        } else if (kind == u'S') {
            OnStatusReply(piece);
        } else if (kind == u'R') {
            Call(hooks.OnRadioReply, piece);
        }
    }
}

void Connection::OnStatusReply(const QString& piece) {
    const std::optional<link::StatusValues::Piece> status = link::StatusValues::ParsePiece(piece);
    if (!status) {
        return;
    }
    switch (status->number) {
    case 0:
        m_display.ShowGuard(link::StatusValues::GuardFor(status->value));
        break;
    case 4:
        m_display.ShowGsm(link::StatusValues::GsmFor(status->value));
        break;
    case 6:
        m_display.ShowPower(link::StatusValues::PowerFor(status->value));
        break;
    case 23:
        Call(hooks.UpdateThermometers, status->value);
        break;
    case 54:
        m_display.ShowSerial(status->value);
        OfferRead();
        break;
    case 64:
        Call(hooks.OnRemovalReply, status->value);
        break;
    default:
        break;
    }
}

void Connection::OfferRead() {
    m_form.Timer1->stop();
    const MainPage& page = *m_form.TabSheet3;
    if (m_connectedPort && !page.Label6->text().isEmpty() && !page.Edit1->text().isEmpty()) {
        m_form.closeWaitingWindow();
        ApplyVersion(m_connectedPort->VersionText(),
                     QString::number(m_connectedPort->HardwareNumber()));
        Q_EMIT identified();
        Call(hooks.DecideRead);
    }
    m_form.Timer1->start();
}

void Connection::ApplyVersion(const QString& versionText, const QString& hardwareNumber) {
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
    m_form.TabSheet3->ComboBox2->setCurrentIndex(link::DeviceTypeForHardware(hardwareNumber));
    m_form.changeDeviceType(false);
}

void Connection::ShowStatus(CPort& port, const QString& text) {
    if (IsConnected(port)) {
        Call(hooks.ShowStatus, text);
    }
}

void Connection::OnText(CPort& port, const QString& text) {
    if (IsConnected(port)) {
        Call(hooks.OnText, text);
    }
}

void Connection::SetProgress(CPort& port, int position) {
    if (IsConnected(port)) {
        Call(hooks.SetProgress, position);
    }
}

void Connection::SetProgressMax(CPort& port, int maximum) {
    if (IsConnected(port)) {
        Call(hooks.SetProgressMax, maximum);
    }
}

void Connection::OnProgrammingEnd(CPort& port, const QString& text) {
    if (IsConnected(port)) {
        Call(hooks.OnProgrammingEnd, text);
    }
}

void Connection::OnNoReply(CPort& port) {
    if (IsConnected(port)) {
        Call(hooks.OnNoReply, port);
    }
}

void Connection::OnCommandSent(CPort& port) {
    if (IsConnected(port)) {
        Call(hooks.OnCommandSent, port);
    }
}

void Connection::OnQueueEnd(CPort& port) {
    if (IsConnected(port)) {
        Call(hooks.OnQueueEnd, port);
    }
}

} // namespace talvik::app
