#include "c_port.h"
#include "connection.h"
#include "controller_session.h"
#include "cp1251.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "header_panel.h"
#include "named_controls.h"
#include "page_control.h"
#include "scripted_dialogs.h"
#include "session_events.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "simple_log.h"
#include "test_dir.h"
#include "tform1.h"
#include "tform2.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using namespace talvik::editor;
using namespace talvik::link;
using namespace talvik::support;

namespace {

// The process's one QApplication, kept to the end (Qt's own globals go first at exit), and its
// log in a folder of its own.
QString logPath() {
    static int argc = 1;
    static char name[] = "app_tests";
    static char* argv[] = {name, nullptr};
    static QTemporaryDir logDir;
    static const QString path =
        (new QApplication(argc, argv), SimpleLog::setFileName(logDir.filePath(u"log.txt"_s)),
         logDir.filePath(u"log.txt"_s));
    return path;
}

// The texts of a log's lines from `offset` on, without their time stamps.
QList<QByteArray> logTexts(const QString& path, qint64 offset = 0) {
    QFile file(path);
    const bool read = file.open(QIODevice::ReadOnly) && file.seek(offset);
    QList<QByteArray> texts = read ? file.readAll().split('\n') : QList<QByteArray>();
    texts.removeAll(QByteArray());
    for (QByteArray& text : texts) {
        text.remove(0, 24);
    }
    return texts;
}

// COM3 and COM4 on in-memory lines; the latest line opened on a port is found by its name.
class FakePorts final : public PortEnumerator {
public:
    [[nodiscard]] QList<Port> AvailablePorts() const override {
        return {{u"USB"_s, u"COM3"_s}, {u"USB"_s, u"COM4"_s}};
    }
    [[nodiscard]] std::unique_ptr<SerialLine> CreateLine() const override {
        auto& state = m_created.emplace_back(std::make_shared<FakeSerialLine::State>());
        state->deniedNames = denied;
        return std::make_unique<FakeSerialLine>(state);
    }
    [[nodiscard]] FakeSerialLine::State& line(const QString& name) const {
        return **std::find_if(m_created.rbegin(), m_created.rend(),
                              [&](const auto& state) { return state->portName == name; });
    }
    mutable std::vector<std::shared_ptr<FakeSerialLine::State>> m_created;
    QStringList denied; // ports this user has no right to open
};

QByteArray Frame(std::uint8_t kind, std::uint8_t first, const QString& text) {
    const QByteArray payload = char(first) + Cp1251::fromUnicode(text);
    return *FrameCodec::BuildFrame(kind, 5,
                                   {reinterpret_cast<const std::uint8_t*>(payload.constData()),
                                    static_cast<std::size_t>(payload.size())});
}

// A window over in-memory COM3 and COM4 lines, the session's replies and steps recorded. The
// controller's serial number has had its read decision, so no read starts on identification.
class Window : public testing::Test {
protected:
    Window() {
        controls.Timer1->stop(); // the connection tests drive both timers by hand
        controls.Timer2->stop();
        auto enumerator = std::make_unique<FakePorts>();
        ports = enumerator.get();
        form->connection().setPortSource(std::move(enumerator), {});
        form->settings().transfer().rememberedSerial = kSerial;
        RecordSessionEvents(form->session(), routed);
    }
    static inline const QString kSerial = u"0123456789AB"_s;
    void Arrive(const QString& name, const QByteArray& bytes) {
        ports->line(name).incoming += bytes;
        form->connection().Timer2Timer();
    }
    void ConnectOn(const QString& name) {
        form->connection().Timer1Timer();
        Arrive(name, Frame(0, 0x01, u"hello"_s));
    }
    void Reply(const QString& text) { Arrive(u"COM3"_s, Frame(2, ' ', text)); }
    // One second of the channel clock; the controller answers the keep-alive unless silent.
    void Second(bool answering = true) {
        for (int i = 0; i < 10; ++i) {
            form->connection().Timer1Timer();
            CPort* port = form->session().port();
            if (answering && port != nullptr && port->Current() == "ka") {
                Arrive(port->PortName(), Frame(0, 0x01, u"again"_s));
            }
        }
    }
    [[nodiscard]] bool RadioPageShown() const {
        return controls.PageControl1->isTabVisible(
            controls.PageControl1->indexOf(controls.TabSheet1));
    }

    const QString log = logPath();
    TestDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(StartOptions{}, &dialogs);
    NamedControls controls{*form};
    const NamedControls* page = &controls;
    FakePorts* ports = nullptr;
    QStringList routed;
};

TEST_F(Window, StartsWaitsAndOnlyTheUsersCloseEndsTheProgramInOrder) {
    form.reset();
    for (const char16_t* name : {u"b.enc", u"a.enc", u"profile.evc"}) {
        dir.writeFile(QString::fromUtf16(name), "x");
    }
    const qint64 start = QFile(log).size();
    {
        TForm1 own(StartOptions{}, &dialogs);
        const NamedControls named(own);
        EXPECT_EQ(own.windowTitle(), u"Программатор Талвик 2.6.4"_s);
        const QComboBox* types = named.ComboBox2;
        EXPECT_EQ(u"%1 %2 "_s.arg(types->count()).arg(types->currentIndex()) + types->currentText(),
                  u"6 4 Orvix TQ-14"_s);
        EXPECT_EQ(named.Edit23->text() + u' ' + named.Edit24->text(), u"a.enc profile.evc"_s);
        EXPECT_TRUE(named.Button10->toolTip().startsWith(
            u"В качестве устройств 1-Wire могут использоваться электронные \nключи"_s));
        QStringList timers; // interval, running or not
        for (const QTimer* timer :
             {named.Timer1, named.Timer2, named.Timer3, own.findChild<QTimer*>(u"Timer4"_s)}) {
            timers << u"%1%2"_s.arg(timer->interval()).arg(timer->isActive() ? u"+"_s : u"-"_s);
        }
        EXPECT_EQ(timers.join(u' '), u"1000+ 1+ 1- 5000-"_s);
        own.show();
        own.showWaitingWindow();
        TForm2* waiting = own.waitingWindow();
        ASSERT_NE(waiting, nullptr);
        EXPECT_TRUE(waiting->isVisible() && !own.isEnabled());
        EXPECT_EQ(waiting->windowTitle() + u'|' + waiting->Label1->text(),
                  u"Ожидание|Устройство подключено. Инициализация..."_s);
        EXPECT_EQ(waiting->Timer1->interval(), 50);
        waiting->ProgressBar1->setValue(221);
        for (const int expected : {222, 0, 1}) {
            waiting->Timer1Timer();
            EXPECT_EQ(waiting->ProgressBar1->value(), expected);
        }
        own.closeWaitingWindow();
        EXPECT_TRUE(own.waitingWindow() == nullptr && own.isEnabled() && own.isVisible());
        own.showWaitingWindow();
        own.waitingWindow()->close();
        EXPECT_FALSE(own.isVisible() || named.Timer1->isActive());
        own.close();
    }
    EXPECT_EQ(logTexts(log, start),
              (QList<QByteArray>{"Program OPENED", "2.6.4", "CloseQuery received", "Program CLOSED",
                                 "Closing logs"}));
}

TEST_F(Window, PagesKeep900PixelsGrowWithTheirLowestControlAndTheWheelScrollsAThird) {
    form->resize(700, 450);
    form->show();
    QApplication::processEvents();
    form->layoutPages();
    EXPECT_EQ(controls.Panel1->width() + controls.PageControl1->width(), 1800);
    // The wheel anywhere scrolls the window by a third of its delta.
    const auto* scroll = qobject_cast<QScrollArea*>(form->centralWidget());
    ASSERT_GT(scroll->verticalScrollBar()->maximum(), 100);
    QWidget* target = page->RichEdit1->viewport();
    for (const auto& [delta, position] : {std::pair{-120, 40}, std::pair{60, 20}}) {
        QWheelEvent wheel({5, 5}, target->mapToGlobal(QPointF(5, 5)), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        EXPECT_TRUE(QApplication::sendEvent(target, &wheel));
        EXPECT_EQ(scroll->verticalScrollBar()->value(), position);
    }
    // A settings page of placed controls whose lowest control ends at 700, then at 400.
    auto* placed = new QWidget;
    auto* lowest = new QLabel(u"x"_s, placed);
    lowest->setGeometry(12, 679, 100, 21);
    controls.PageControl1->setCurrentIndex(
        NamedChild<PageControl>(*form, u"PageControl1"_s)->addPage(placed, u"Стр"_s, 2));
    const int pageTop =
        controls.PageControl1->currentWidget()->mapTo(controls.PageControl1, QPoint()).y();
    EXPECT_EQ(controls.PageControl1->height(), pageTop + 700 + 12);
    lowest->move(12, 379);
    form->layoutPages();
    EXPECT_EQ(controls.PageControl1->height(), 637);

    form->resize(1200, 1300);
    QApplication::processEvents();
    const QWidget* viewport = scroll->viewport();
    EXPECT_EQ(controls.Panel1->width() + controls.PageControl1->width(), 2 * viewport->width());
    EXPECT_EQ(controls.PageControl1->y() + controls.PageControl1->height(), viewport->height());
    // The terminal reaches down to 10 pixels above the main page's bottom.
    controls.PageControl1->setCurrentWidget(page->TabSheet3);
    EXPECT_EQ(page->TabSheet3->height() - page->GroupBox5->geometry().bottom() - 1, 10);
}

// A wrapped label that the layout gives less than its height shows its lines cut at the top and
// bottom; the main page must give them their height at every window width.
TEST_F(Window, WrappedLabelsOfTheMainPageGetTheirHeightAtEveryWidth) {
    page->Label6->setText(u"Версия ПО: 3.0.1 Конфигурация: 2.19 HV: 412"_s);
    form->show();
    for (const int height : {700, 800}) {
        for (int width = TForm1::kMinimumWidth; width <= 1600; width += 10) {
            form->resize(width, height);
            QApplication::processEvents();
            for (const QLabel* label : page->TabSheet3->findChildren<QLabel*>()) {
                if (label->wordWrap() && label->isVisible()) {
                    EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                        << label->objectName().toStdString() << " at " << width << "x" << height;
                }
            }
        }
    }
}

// The disabled help boxes cannot be scrolled: at the window's smallest width each shipped help
// text must fit its box.
TEST_F(Window, ShippedHelpTextsShowWholeAtTheSmallestWidth) {
    ASSERT_TRUE(QFile::link(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/Interface"_s,
                            u"Interface"_s));
    form->resize(TForm1::kMinimumWidth, 700);
    form->show();
    int checked = 0;
    for (int position = 1; position < page->ComboBox2->count(); ++position) {
        page->ComboBox2->setCurrentIndex(position);
        form->changeDeviceType(false);
        for (int i = SettingsEditor::kFirstSettingsPage; i < controls.PageControl1->count(); ++i) {
            controls.PageControl1->setCurrentIndex(i);
            QApplication::processEvents();
            for (const QTextEdit* help :
                 controls.PageControl1->widget(i)->findChildren<QTextEdit*>()) {
                EXPECT_EQ(help->verticalScrollBar()->maximum(), 0)
                    << page->ComboBox2->currentText().toStdString() << ": "
                    << help->toPlainText().left(30).toStdString();
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 5 * 2); // every type has the users' and the service help
}

// The real program in a folder of its own; TMPDIR keeps its instance socket away from any
// other copy on the machine.
TEST(Program, ACrashedCopyDoesNotBlockTheNextAndASecondStartOnlyRaisesIt) {
    QTemporaryDir work;
    QTemporaryDir sockets;
    const auto log = [&] { return logTexts(work.filePath(u"log.txt"_s)); };
    const auto start = [&](bool waitForWindow) {
        auto process = std::make_unique<QProcess>();
        process->setEnvironment(QProcess::systemEnvironment() << u"TMPDIR="_s + sockets.path());
        process->setWorkingDirectory(work.path());
        process->start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik"_s,
                       {u"--port"_s, u"/dev/null"_s});
        EXPECT_TRUE(process->waitForStarted(5000));
        // The window is up, and the instance socket listening, once the log says so.
        const QDeadlineTimer deadline(15000);
        while (waitForWindow && !log().contains("Program OPENED") && !deadline.hasExpired()) {
            QThread::msleep(20);
        }
        return process;
    };

    auto crashed = start(true);
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(5000));
    QFile::remove(work.filePath(u"log.txt"_s));
    auto first = start(true);
    const QList<QByteArray> before = log();
    ASSERT_TRUE(before.contains("Program OPENED"));
    auto second = start(false);
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(log(), before); // the second start never touched the running copy's log

    first->terminate(); // a termination signal closes the window the normal way
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(log().sliced(before.size()),
              (QList<QByteArray>{"CloseQuery received", "Program CLOSED", "Closing logs"}));
}

// As root the system never refuses a port for its rights, so the fake line stands in for it.
TEST_F(Window, APortWithoutRightsIsLoggedOnceWithTheDialoutGroup) {
    ports->denied = {u"COM4"_s};
    const qint64 start = QFile(log).size();
    for (int second = 0; second < 3; ++second) {
        form->connection().Timer1Timer();
    }
    QList<QByteArray> named = logTexts(log, start);
    named.removeIf([](const QByteArray& line) { return !line.contains("No permission"); });
    EXPECT_EQ(named, QList<QByteArray>{"No permission to open COM4; serial ports need "
                                       "membership of the dialout group"});
}

TEST_F(Window, APortWithoutRightsIsNamedUnderTheConnection) {
    ports->denied = {u"COM4"_s};
    form->connection().Timer1Timer();
    EXPECT_EQ(NamedChild<QLabel>(*form, u"PortAccessNotice"_s)->text(),
              u"Нет прав на открытие порта: COM4. Добавьте пользователя в группу dialout "
              u"(sudo usermod -aG dialout $USER) и войдите в систему заново."_s);
}

TEST_F(Window, ThePortNoticeGoesWhenAControllerConnects) {
    ports->denied = {u"COM4"_s};
    const auto* notice = NamedChild<QLabel>(*form, u"PortAccessNotice"_s);
    form->connection().Timer1Timer();
    ASSERT_TRUE(notice->isVisibleTo(form.get()));
    Arrive(u"COM3"_s, Frame(0, 0x01, u"hello"_s));
    EXPECT_FALSE(notice->isVisibleTo(form.get()));
}

TEST_F(Window, IdentifiesPollsDropsAndCloses) {
    ConnectOn(u"COM3"_s);
    Second();
    Reply(u"Версия ПО: 3.0 Конфигурация: 2.19 HV: 515"_s);
    Reply(u"#S54:"_s + kSerial);
    EXPECT_EQ(page->ComboBox2->currentIndex(), 5);

    // Identified: the status poll takes over, asks for the serial of the thermometer in slot 5
    // (from firmware 2.19 on), and pauses away from the main page.
    Reply(u"#S23:0 2982 0 0 2990"_s);
    Second();
    controls.PageControl1->setCurrentWidget(controls.TabSheet1);
    Second();
    controls.PageControl1->setCurrentWidget(page->TabSheet3);
    Second();
    Reply(u"#P657:"_s);
    Second();
    Reply(u"#S23:"_s);
    QStringList commands; // keep-alive probes left out
    for (const FakeSerialLine::Write& write : ports->line(u"COM3"_s).writes) {
        if (write.bytes.size() > 10) {
            commands.append(Cp1251::toUnicode(write.bytes.mid(7, write.bytes.size() - 10)));
        }
    }
    EXPECT_EQ(commands, QStringList({u" ver"_s, u" #S54?"_s, u" #S63=1"_s, u" #S0?#S4?#S6?"_s,
                                     u" #P657?"_s, u" #S23?"_s}));

    // Six seconds without a frame drop the link (its settings saved, its serial and read decision
    // forgotten): batch text, bar and radio page gone; file buttons and terminal usable again.
    form->findChild<QLabel*>(u"Label5"_s)->setText(u"Готово"_s);
    form->findChild<QProgressBar*>(u"ProgressBar2"_s)->show();
    form->batch().start();
    for (int i = 0; i < 6; ++i) {
        Second(false);
    }
    EXPECT_EQ(form->session().port(), nullptr);
    EXPECT_EQ(form->findChild<QLabel*>(u"Label5"_s)->text(), QString());
    EXPECT_EQ(
        (QList<bool>{form->findChild<QProgressBar*>(u"ProgressBar2"_s)->isVisibleTo(form.get()),
                     RadioPageShown(), form->findChild<QGroupBox*>(u"GroupBox4"_s)->isEnabled(),
                     page->Button1->isEnabled()}),
        (QList<bool>{false, false, true, true}));
    QCoreApplication::processEvents(); // the port is destroyed once the event loop runs
    EXPECT_FALSE(ports->line(u"COM3"_s).isOpen);

    // Closing lets the controller go (its settings saved again) between the two log lines.
    ConnectOn(u"COM4"_s);
    const qint64 logStart = QFile(log).size();
    form->close();
    EXPECT_EQ(logTexts(log, logStart),
              (QList<QByteArray>{"CloseQuery received", "COM4:\tclosed", "Program CLOSED"}));
    EXPECT_EQ(routed, QStringList({u"identified"_s, u"readDue"_s, u"S23 0 2982 0 0 2990"_s,
                                   u"P #P657:"_s, u"S23 "_s, u"disconnecting"_s, u"disconnected"_s,
                                   u"disconnecting"_s, u"disconnected"_s}));
}

TEST_F(Window, VersionReplySelectsTypeAndRadioPageOrWarns) {
    const std::tuple<QString, int, bool, bool> cases[] = {
        // version reply, type, radio page, serial forgotten on disconnect (from 1.66 on)
        {u"ver: Конфигурация 1.44 HV 406"_s, 1, false, false},
        {u"ver: Конфигурация 1.65 HV 401"_s, 2, true, false},
        {u"Версия Конфигурация 2.0"_s, 0, true, true},
        {u"ver: Конфигурация не задана"_s, 4, false, false}};
    for (const auto& [version, type, radioPage, forgetsSerial] : cases) {
        form->settings().transfer().rememberedSerial = u"5"_s;
        ConnectOn(u"COM3"_s);
        page->ComboBox2->setCurrentIndex(4);
        Reply(version);
        Reply(u"#S54:5"_s);
        EXPECT_EQ(form->waitingWindow(), nullptr);
        EXPECT_EQ(page->ComboBox2->currentIndex(), type) << version.toStdString();
        EXPECT_EQ(RadioPageShown(), radioPage) << version.toStdString();
        form->connection().Disconnect();
        EXPECT_EQ(form->settings().transfer().rememberedSerial.isEmpty(), forgetsSerial)
            << version.toStdString();
    }
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption + u'|' + dialogs.shown[0].text,
              u"Предупреждение|Настоятельно рекомендуется обновить прошивку прибора.\n"
              u"Для данной версии никаких настроек не доступно."_s);
}

TEST_F(Window, StatusValuesReachTheirControls) {
    ConnectOn(u"COM3"_s);
    // Each status value reaches its control; without an operator name the last one stays, and a
    // level beyond the bar pins it to its end.
    Reply(u"#S0:125#S4:20 5 Билайн#S6:65"_s);
    Reply(u"#S0:1#S4:99 4"_s);
    EXPECT_EQ(page->Label18->text(), u"вкл"_s);
    EXPECT_EQ(page->Label2->text(), QString());
    EXPECT_EQ(page->Label4->text(), u"Билайн"_s);
    EXPECT_EQ(page->Label15->text(), u"6.5"_s);
    EXPECT_EQ(page->Label16->text(), u"резервное"_s);
    EXPECT_EQ(page->ProgressBar1->value(), 31);
}

// A controller identified on COM3 with the given hardware number.
class WindowUpload : public Window {
protected:
    void Identify(int hardware) {
        ConnectOn(u"COM3"_s);
        Reply(u"Версия ПО: 3.0 Конфигурация: 2.33 HV: %1"_s.arg(hardware));
        Reply(u"#S54:"_s + kSerial);
        ports->line(u"COM3"_s).writes.clear();
    }
    void Chunk(bool taken) {
        Arrive(u"COM3"_s,
               Frame(0, '7', QString(QChar(2)) + QString(4, QChar(0)) + QChar(taken ? 1 : 0)));
    }
};

TEST_F(WindowUpload, FieldsOfferTheFolderFirstFirmwareAndProfile) {
    form.reset();
    for (const QString& name : {u"b.enc"_s, u"a.enc"_s, u"p.evc"_s, u"s.psnd"_s}) {
        dir.writeFile(name, "x");
    }
    form = std::make_unique<TForm1>(StartOptions{}, &dialogs);
    const NamedControls fresh(*form);
    EXPECT_EQ((QStringList{fresh.Edit23->text(), fresh.Edit24->text(), fresh.Edit6->text()}),
              (QStringList{u"a.enc"_s, u"p.evc"_s, QString()}));
}

TEST_F(WindowUpload, ChooserStartsAtItsLastFileAndACancelKeepsTheField) {
    dialogs.files = {u"/x/new.psnd"_s, QString()};
    page->Button14->click();
    page->Button14->click();
    EXPECT_EQ(page->Edit6->text(), u"/x/new.psnd"_s);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].caption, u"Прошивка"_s);
    EXPECT_EQ(dialogs.shown[1].text, u"/x/new.psnd"_s);
}

TEST_F(WindowUpload, SoundsWithAnEmptyFieldDoNothing) {
    Identify(450);
    page->Button13->click();
    EXPECT_EQ(page->Label26->text(), QString());
    EXPECT_FALSE(page->Button7->isEnabled());
}

TEST_F(WindowUpload, StartWithoutAControllerDoesNothing) {
    dir.writeFile(u"f.enc"_s, "firmware");
    page->Edit23->setText(u"f.enc"_s);
    page->Button5->click();
    EXPECT_EQ(page->Label26->text(), QString());
}

TEST_F(WindowUpload, ChunkUploadShowsProgressThenRestartsAndWaitsWithTimer1Stopped) {
    Identify(450);
    dir.writeFile(u"f.enc"_s, "firmware");
    page->Edit23->setText(u"f.enc"_s);
    page->Button5->click();
    EXPECT_EQ(page->Label26->text(), u"Заливка прошивки"_s);
    EXPECT_TRUE(page->Button7->isEnabled());
    EXPECT_EQ(page->ProgressBar3->maximum(), 13);
    Chunk(true);
    EXPECT_EQ(page->Label26->text(), u"Прошивка завершена успешно"_s);
    EXPECT_EQ(page->ProgressBar3->value(), 0);
    EXPECT_EQ(page->Label6->text(), QString());
    EXPECT_EQ(form->session().port(), nullptr);
    EXPECT_TRUE(form->connection().waiting());
    EXPECT_FALSE(controls.Timer1->isActive());
}

TEST_F(WindowUpload, BadChunkAnswerKeepsTheRunAndItsBar) {
    Identify(450);
    dir.writeFile(u"f.evc"_s, QByteArray(200, 'p'));
    page->Edit24->setText(u"f.evc"_s);
    page->Button6->click();
    Chunk(true);
    Chunk(false);
    EXPECT_EQ(page->Label26->text(), u"Заливка профиля"_s);
    EXPECT_EQ(page->ProgressBar3->value(), 0);
    EXPECT_EQ(page->ProgressBar3->maximum(), 205);
}

TEST_F(WindowUpload, CancelEndsTheRunWithItsTextAndFreesTheTerminal) {
    Identify(450);
    dir.writeFile(u"f.psnd"_s, QByteArray(200, 's'));
    page->Edit6->setText(u"f.psnd"_s);
    page->Button13->click();
    page->Button7->click();
    EXPECT_EQ(page->Label26->text(), u"Отменено пользователем."_s);
    EXPECT_FALSE(page->Button7->isEnabled());
    EXPECT_TRUE(page->Button1->isEnabled());
    EXPECT_EQ(form->session().port()->Mode(), 0);
}

TEST_F(WindowUpload, CancelWithoutARunLeavesTheStatusLine) {
    Identify(450);
    page->Label26->setText(u"Прошивка завершена успешно"_s);
    page->Button7->setEnabled(true);
    page->Button7->click();
    EXPECT_EQ(page->Label26->text(), u"Прошивка завершена успешно"_s);
}

} // namespace
