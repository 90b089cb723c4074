#include "tform1.h"

#include "c_port.h"
#include "compare_window.h"
#include "connection.h"
#include "controller_session.h"
#include "device_type.h"
#include "find_bar.h"
#include "guard_panel.h"
#include "header_panel.h"
#include "hint_timing.h"
#include "main_page.h"
#include "one_wire_panel.h"
#include "page_control.h"
#include "pictures.h"
#include "port_command_link.h"
#include "qt_clipboard.h"
#include "qt_dialogs.h"
#include "radio_feature.h"
#include "serial_list.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "system_clock.h"
#include "terminal_file.h"
#include "terminal_panel.h"
#include "tform2.h"
#include "upload_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWindow>

namespace talvik::app {

namespace {
const QString kOneWireHint =
    QStringLiteral("В качестве устройств 1-Wire могут использоваться электронные \n"
                   "ключи DS1990 и термометры DS1820 DS18B20 DS18S20. Добавление \n"
                   "термометров происходит автоматически при их подключении. \n"
                   "Добавление ТМ ключей по кнопке 'Добавление ТМ ключей'. \n"
                   "По кнопке 'Удаление всех устройств' происходит удаление \n"
                   "и термодатчиков и ТМ ключей.");

QTimer* namedTimer(QObject* parent, const QString& name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(intervalMs);
    return timer;
}

} // namespace

TForm1::TForm1(StartOptions options, support::Dialogs* dialogs, support::Clipboard* clipboard,
               QWidget* parent)
    : QMainWindow(parent), Panel1(new HeaderPanel), PageControl1(new PageControl),
      TabSheet3(new MainPage), TabSheet1(new QWidget),
      Timer1(namedTimer(this, QStringLiteral("Timer1"), 1000)),
      Timer2(namedTimer(this, QStringLiteral("Timer2"), 1)),
      Timer3(namedTimer(this, QStringLiteral("Timer3"), 1)),
      Timer4(namedTimer(this, QStringLiteral("Timer4"), 5000)), m_options(std::move(options)),
      m_ownDialogs(dialogs == nullptr ? std::make_unique<QtDialogs>(this) : nullptr),
      m_dialogs(dialogs == nullptr ? m_ownDialogs.get() : dialogs),
      m_ownClipboard(clipboard == nullptr ? std::make_unique<QtClipboard>() : nullptr),
      m_clipboard(clipboard == nullptr ? m_ownClipboard.get() : clipboard),
      m_scroll(new QScrollArea), m_content(new QWidget), m_session(new ControllerSession(this)) {
    setObjectName(QStringLiteral("Form1"));
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

    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(Timer3, &QTimer::timeout, this, &TForm1::Timer3Timer);
    connect(Timer4, &QTimer::timeout, this, &TForm1::Timer4Timer);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::layoutPages);
    connect(TabSheet3->ComboBox2, &QComboBox::activated, this, &TForm1::ComboBox2Change);
    Timer1->start();
    Timer2->start();

    setWindowTitle(QStringLiteral("Программатор Талвик ") + kVersion.toString());
    HintTiming::install();
    m_log.write(QByteArrayLiteral("Program OPENED"));
    m_log.write(kVersion);
    TabSheet3->GroupBox1->setToolTip(kOneWireHint);
    TabSheet3->Button3->setToolTip(kOneWireHint);
    TabSheet3->Button10->setToolTip(kOneWireHint);
    m_editor = std::make_unique<editor::SettingsEditor>(PageControl1, this, *m_dialogs, Timer3,
                                                        kMinimumWidth - 4);
    m_find = new FindBar(*m_editor, PageControl1,
                         [this](QWidget* control) { m_scroll->ensureWidgetVisible(control); });
    PageControl1->setCornerWidget(m_find, Qt::TopRightCorner);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, m_find, &FindBar::open);
    m_compare = new CompareWindow(*m_editor, *m_dialogs,
                                  [this](int setting) { m_find->showSetting(setting); }, this);
    connect(Panel1->CompareButton, &QToolButton::clicked, this, [this] {
        m_compare->showPending();
        m_compare->show();
        m_compare->raise();
    });
    connection = new Connection(*this, *m_session, support::SystemClock::instance());
    m_settings = std::make_unique<SettingsFeature>(*this, *m_session);
    m_commandLink = std::make_unique<PortCommandLink>(*m_session);
    const auto link = [this] { return m_commandLink->current(); };
    m_terminal = std::make_unique<TerminalPanel>(*TabSheet3, *m_session, link);
    m_oneWire =
        std::make_unique<OneWirePanel>(*TabSheet3, *m_session, link, *m_dialogs, *m_clipboard,
                                       m_settings->transfer().ThermometerSerials, *m_editor);
    m_guard = std::make_unique<GuardPanel>(*TabSheet3, *m_session, link, m_terminal->terminal());
    m_upload = new UploadPanel(*TabSheet3, *m_dialogs, *m_session, this);
    m_radio = std::make_unique<RadioFeature>(*this, *m_session);
    TabSheet3->ComboBox2->setCurrentIndex(4);
    changeDeviceType(false);
    readTerminalFile();
    resize(1100, 780);
    formCreate();
}

TForm1::~TForm1() {
    qApp->removeEventFilter(this);
}

void TForm1::formCreate() {
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet1), false);
    layoutPages();
}

void TForm1::ComboBox2Change() {
    changeDeviceType(true);
}

void TForm1::changeDeviceType(bool byUser) {
    int code = iface::DeviceType::codeForPosition(TabSheet3->ComboBox2->currentIndex());
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
    connection->Close();
    Timer1->stop();
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

void TForm1::Timer1Timer() {
    connection->Timer1Timer();
}

void TForm1::Timer2Timer() {
    connection->Timer2Timer();
}

void TForm1::Timer3Timer() {
    Timer3->stop();
}

void TForm1::Timer4Timer() {
    Panel1->Label5->clear();
    Timer4->stop();
}

} // namespace talvik::app
