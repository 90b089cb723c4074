#include "tform1.h"

#include "compare_versions.h"
#include "compare_window.h"
#include "connection.h"
#include "controller_session.h"
#include "controller_status.h"
#include "device_type.h"
#include "find_bar.h"
#include "guard_panel.h"
#include "header_panel.h"
#include "hint_timing.h"
#include "main_page.h"
#include "one_wire_panel.h"
#include "page_control.h"
#include "pictures.h"
#include "port_access_notice.h"
#include "port_command_link.h"
#include "qt_clipboard.h"
#include "qt_dialogs.h"
#include "radio_feature.h"
#include "serial_list.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "status_panel.h"
#include "system_clock.h"
#include "terminal_file.h"
#include "terminal_panel.h"
#include "tform2.h"
#include "upload_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace talvik::app {

TForm1::TForm1(StartOptions options, support::Dialogs* dialogs, support::Clipboard* clipboard,
               QWidget* parent)
    : QMainWindow(parent), Panel1(new HeaderPanel), PageControl1(new PageControl),
      TabSheet3(new MainPage), TabSheet1(new QWidget), Timer3(new QTimer(this)),
      m_options(std::move(options)),
      m_ownDialogs(dialogs == nullptr ? std::make_unique<QtDialogs>(this) : nullptr),
      m_dialogs(dialogs == nullptr ? m_ownDialogs.get() : dialogs),
      m_ownClipboard(clipboard == nullptr ? std::make_unique<QtClipboard>() : nullptr),
      m_clipboard(clipboard == nullptr ? m_ownClipboard.get() : clipboard),
      m_scroll(new QScrollArea), m_content(new QWidget), m_session(new ControllerSession(this)),
      m_status(new ControllerStatus(*m_session, this)) {
    setObjectName(QStringLiteral("Form1"));
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    new QVBoxLayout(TabSheet1);
    PageControl1->addPage(TabSheet3, QStringLiteral("Главная"), Pictures::MainPage);
    PageControl1->addPage(TabSheet1, QStringLiteral("Радиоустройства"), Pictures::RadioPage);

    // The header and the pages are placed by hand inside a scrolled area: they keep a minimum
    // width and a page-dependent height, and the window scrolls when it is smaller.
    Panel1->setParent(m_content);
    PageControl1->setParent(m_content);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidget(m_content);
    m_scroll->installEventFilter(this);
    setCentralWidget(m_scroll);
    qApp->installEventFilter(this);

    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::layoutPages);
    m_statusPanel = new StatusPanel(*m_status, *TabSheet3, this);
    connect(m_status, &ControllerStatus::connectedChanged, Panel1, &HeaderPanel::showConnection);
    connect(m_status, &ControllerStatus::deviceTypeChosen, this, &TForm1::ComboBox2Change);

    setWindowTitle(QStringLiteral("Программатор Талвик ") + kVersion.toString());
    HintTiming::install();
    m_log.write(QByteArrayLiteral("Program OPENED"));
    m_log.write(kVersion);
    m_editor = std::make_unique<editor::SettingsEditor>(PageControl1, this, *m_dialogs, Timer3,
                                                        kMinimumWidth - 4);
    followConnection();
    m_settings = std::make_unique<SettingsFeature>(*this, *m_session, *TabSheet3);
    Panel1->follow(m_settings->transfer());
    m_commandLink = std::make_unique<PortCommandLink>(*m_session);
    const auto link = [this] { return m_commandLink->current(); };
    m_terminal = std::make_unique<TerminalPanel>(*TabSheet3, *m_session, link);
    m_oneWire =
        std::make_unique<OneWirePanel>(*TabSheet3, *m_session, link, *m_dialogs, *m_clipboard,
                                       m_settings->transfer().ThermometerSerials, *m_editor);
    m_guard = std::make_unique<GuardPanel>(*TabSheet3, *m_status, link, m_terminal->terminal());
    m_upload = new UploadPanel(*TabSheet3, *m_dialogs, *m_session, this);
    // After the main page's panels, so that Tab reaches the find field after the page.
    m_find = new FindBar(*m_editor, PageControl1,
                         [this](QWidget* control) { m_scroll->ensureWidgetVisible(control); });
    PageControl1->setCornerWidget(m_find, Qt::TopRightCorner);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, m_find, &FindBar::open);
    m_compare = new CompareWindow(
        *m_editor, *m_dialogs, [this](int setting) { m_find->showSetting(setting); }, this);
    connect(Panel1, &HeaderPanel::compareRequested, this, [this] {
        m_compare->showPending();
        m_compare->show();
        m_compare->raise();
    });
    followBatch();
    m_radio = std::make_unique<RadioFeature>(*this, *m_session, *TabSheet1);
    m_status->showDeviceType(4);
    changeDeviceType(false);
    readTerminalFile();
    resize(1100, 780);
    formCreate();
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

void TForm1::formCreate() {
    setRadioPageShown(false);
    layoutPages();
}

void TForm1::followConnection() {
    m_connection =
        new Connection(*m_session, support::SystemClock::instance(), m_options.port, this);
    auto* accessNotice =
        new PortAccessNotice(m_statusPanel->connectionBox(), *m_session, m_log, this);
    connect(m_connection, &Connection::portAccessDenied, accessNotice,
            &PortAccessNotice::PortAccessDenied);
    connect(PageControl1, &QTabWidget::currentChanged, m_connection,
            [this] { m_connection->setStatusShown(PageControl1->currentWidget() == TabSheet3); });
    connect(m_session, &ControllerSession::connected, this, &TForm1::showWaitingWindow);
    connect(m_session, &ControllerSession::identified, this, &TForm1::applyVersion);
    connect(m_session, &ControllerSession::disconnecting, this, &TForm1::closeWaitingWindow);
    connect(m_session, &ControllerSession::disconnected, this, &TForm1::forgetVersion);
}

void TForm1::applyVersion() {
    closeWaitingWindow();
    const QString versionText = m_session->versionText();
    if (versionText.isEmpty()) {
        m_connection->restWhile([this] {
            m_dialogs->warning(u"Предупреждение"_s,
                               u"Настоятельно рекомендуется обновить прошивку прибора.\n"
                               u"Для данной версии никаких настроек не доступно."_s);
        });
        return;
    }
    setRadioPageShown(support::CompareVersions(versionText, u"1.45") >= 0);
    m_editor->setDeviceVersion(versionText);
    showDeviceType(*m_session->deviceType());
}

void TForm1::forgetVersion() {
    m_editor->setDeviceVersion({});
    setRadioPageShown(false);
}

void TForm1::setRadioPageShown(bool shown) {
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet1), shown);
}

void TForm1::followBatch() {
    settings::SettingsTransfer& transfer = m_settings->transfer();
    connect(&transfer, &settings::SettingsTransfer::batchStarted, &m_batch, &BatchState::start);
    connect(&transfer, &settings::SettingsTransfer::batchFinished, &m_batch, &BatchState::finish);
    connect(m_upload, &UploadPanel::started, &m_batch, &BatchState::start);
    connect(m_upload, &UploadPanel::ended, &m_batch, &BatchState::finish);
    connect(m_session, &ControllerSession::disconnected, &m_batch, &BatchState::finish);
    connect(&m_batch, &BatchState::runningChanged, Panel1, &HeaderPanel::setBatchRunning);
    connect(&m_batch, &BatchState::runningChanged, m_terminal.get(),
            &TerminalPanel::setBatchRunning);
}

void TForm1::ComboBox2Change() {
    changeDeviceType(true);
}

void TForm1::showDeviceType(int position) {
    m_status->showDeviceType(position);
    changeDeviceType(false);
}

void TForm1::changeDeviceType(bool byUser) {
    int code = iface::DeviceType::codeForPosition(m_status->deviceTypePosition());
    // Controllers of the built-in serial list are Pellam Q5 whatever model is chosen.
    if (code != 0 && m_session->isConnected() &&
        settings::SerialList::contains(m_session->serialNumber())) {
        code = iface::DeviceType::kCodes[5];
    }
    m_editor->changeDeviceType(code, byUser);
    layoutPages();
}

void TForm1::readTerminalFile() {
    const std::optional<TerminalFile> file = TerminalFile::Read(QStringLiteral("terminal.txt"));
    if (!file) {
        return;
    }
    m_upload->OpenDialog1FileName = file->dialogFiles[0];
    m_upload->OpenDialog2FileName = file->dialogFiles[1];
    m_settings->transfer().OpenDialog3FileName = file->dialogFiles[2];
    m_upload->OpenDialog4FileName = file->dialogFiles[3];
    m_terminal->setHistory(file->history);
}

void TForm1::writeTerminalFile() {
    TerminalFile file;
    file.dialogFiles = {m_upload->OpenDialog1FileName, m_upload->OpenDialog2FileName,
                        m_settings->transfer().OpenDialog3FileName, m_upload->OpenDialog4FileName};
    file.history = m_terminal->terminal().history().entries();
    // A file that cannot be written is left as it was; the program closes all the same.
    static_cast<void>(file.Write(QStringLiteral("terminal.txt")));
}

void TForm1::layoutPages() {
    const QSize available = m_scroll->maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    const int top = Panel1->sizeHint().height();
    // The page needs more height the narrower it is (wrapped texts), and a scroll bar takes its
    // width from the client area, which may call for the other one.
    int clientWidth = available.width();
    const auto pageHeight = [&] {
        const int width = std::max(kMinimumWidth, clientWidth);
        return std::max(kMinimumPageHeight,
                        PageControl1->activeContentBottom(width) + kPageBottomMargin);
    };
    int needed = pageHeight();
    const bool vertical = top + needed > available.height();
    if (vertical) {
        clientWidth -= bar;
        needed = pageHeight();
    }
    const int clientHeight = available.height() - (clientWidth < kMinimumWidth ? bar : 0);
    if (!vertical && top + needed > clientHeight) {
        clientWidth -= bar;
        needed = pageHeight();
    }
    const int contentWidth = std::max(kMinimumWidth, clientWidth);
    const int height = std::max(clientHeight - top, needed);

    Panel1->setGeometry(0, 0, contentWidth, top);
    PageControl1->setGeometry(0, top, contentWidth, height);
    m_content->resize(contentWidth, top + height);
}

void TForm1::showWaitingWindow() {
    if (m_waiting) {
        return;
    }
    m_waiting = std::make_unique<TForm2>(this);
    setEnabled(false);
    m_waiting->winId();
    if (QWindow* handle = windowHandle()) {
        m_waiting->windowHandle()->setTransientParent(handle);
    }
    m_waiting->move(geometry().center() - m_waiting->rect().center());
    // A batch run without the window waits without a window too.
    if (isVisible()) {
        m_waiting->show();
    }
}

void TForm1::closeWaitingWindow() {
    if (!m_waiting) {
        return;
    }
    m_waiting->setClosing();
    m_waiting->close();
    m_waiting.reset();
    setEnabled(true);
    if (isVisible()) {
        bringToFront();
    }
}

void TForm1::bringToFront() {
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
    if (m_waiting) {
        m_waiting->raise();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    if (m_closed) {
        return;
    }
    m_closed = true;
    m_log.write(QByteArrayLiteral("CloseQuery received"));
    // The ports are closed and a connected controller is let go (its settings saved) before
    // the scan stops, so nothing is lost when the program ends.
    m_connection->Close();
    writeTerminalFile();
    if (m_waiting) {
        m_waiting->setClosing();
        m_waiting->hide();
    }
    m_log.write(QByteArrayLiteral("Program CLOSED"));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll && event->type() == QEvent::Resize) {
        layoutPages();
    } else if (event->type() == QEvent::Wheel && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->window() == this) {
        // The wheel scrolls the whole window, wherever the pointer is.
        QScrollBar* bar = m_scroll->verticalScrollBar();
        bar->setValue(bar->value() - static_cast<QWheelEvent*>(event)->angleDelta().y() / 3);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::Timer3Timer() {
    Timer3->stop();
}

} // namespace talvik::app
