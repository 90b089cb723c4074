#include "app_environment.h"
#include "header_panel.h"
#include "main_page.h"
#include "page_control.h"
#include "scripted_dialogs.h"
#include "test_dir.h"
#include "tform1.h"
#include "tform2.h"

#include <QComboBox>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class Window : public testing::Test {
protected:
    // A window shown at the given size, its layout settled.
    std::unique_ptr<TForm1> shownForm(int width, int height) {
        auto form = std::make_unique<TForm1>(StartOptions{}, &m_dialogs);
        form->resize(width, height);
        form->show();
        QApplication::processEvents();
        form->layoutPages();
        return form;
    }
    static QScrollArea* scroll(TForm1& form) {
        return qobject_cast<QScrollArea*>(form.centralWidget());
    }
    AppEnvironment& m_app = AppEnvironment::get();
    TestDir m_dir;
    ScriptedDialogs m_dialogs;
};

TEST_F(Window, StartsAndClosesInOrder) {
    m_dir.writeFile(QStringLiteral("b.enc"), "x");
    m_dir.writeFile(QStringLiteral("a.enc"), "x");
    m_dir.writeFile(QStringLiteral("profile.evc"), "x");
    const qint64 start = m_app.logSize();
    {
        TForm1 form(StartOptions{}, &m_dialogs);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Программатор Талвик 2.6.4"));
        EXPECT_EQ(form.TabSheet3->ComboBox2->currentText(), QStringLiteral("Orvix TQ-14"));
        EXPECT_EQ(form.TabSheet3->Edit23->text(), QStringLiteral("a.enc"));
        EXPECT_EQ(form.TabSheet3->Edit24->text(), QStringLiteral("profile.evc"));
        EXPECT_FALSE(form.PageControl1->isTabVisible(form.PageControl1->indexOf(form.TabSheet1)));
        EXPECT_TRUE(form.TabSheet3->GroupBox1->toolTip().startsWith(QStringLiteral(
            "В качестве устройств 1-Wire могут использоваться электронные \nключи")));
        EXPECT_EQ(form.TabSheet3->Button3->toolTip(), form.TabSheet3->GroupBox1->toolTip());
        EXPECT_EQ(form.TabSheet3->Button10->toolTip(), form.TabSheet3->GroupBox1->toolTip());
        QStringList timers;
        for (const auto* timer : form.findChildren<QTimer*>(QRegularExpression(u"^Timer\\d$"_s))) {
            timers << timer->objectName() + u' ' + QString::number(timer->interval()) +
                          (timer->isActive() ? u" on"_s : u" off"_s);
        }
        timers.sort();
        EXPECT_EQ(timers, QStringList({u"Timer1 1000 on"_s, u"Timer2 1 on"_s, u"Timer3 1 off"_s,
                                       u"Timer4 5000 off"_s}));
        form.show();
        form.close();
        form.close();
        EXPECT_FALSE(form.Timer1->isActive());
    }
    EXPECT_EQ(m_app.logTextsSince(start),
              (QList<QByteArray>{"Program OPENED", "2.6.4", "CloseQuery received", "Program CLOSED",
                                 "Closing logs"}));
}

TEST_F(Window, PagesKeep900PixelsAndGrowWithTheirLowestControl) {
    auto form = shownForm(700, 500);
    EXPECT_EQ(form->Panel1->width(), 900);
    EXPECT_EQ(form->PageControl1->width(), 900);
    EXPECT_GT(scroll(*form)->horizontalScrollBar()->maximum(), 0);
    // Settings pages of placed controls whose lowest control ends at 700 and at 400.
    int pages[2];
    for (int i = 0; i < 2; ++i) {
        auto* page = new QWidget;
        (new QLabel(QStringLiteral("x"), page))
            ->setGeometry(12, (i == 0 ? 700 : 400) - 21, 100, 21);
        pages[i] = form->PageControl1->addPage(page, QStringLiteral("Стр"), 2);
    }
    form->PageControl1->setCurrentIndex(pages[0]);
    const int pageTop =
        form->PageControl1->currentWidget()->mapTo(form->PageControl1, QPoint()).y();
    EXPECT_EQ(form->PageControl1->height(), pageTop + 700 + 12);
    form->PageControl1->setCurrentIndex(pages[1]);
    EXPECT_EQ(form->PageControl1->height(), 637);

    form->resize(1200, 1300);
    QApplication::processEvents();
    EXPECT_EQ(form->Panel1->width(), scroll(*form)->viewport()->width());
    EXPECT_EQ(form->PageControl1->width(), scroll(*form)->viewport()->width());
    EXPECT_EQ(form->PageControl1->y() + form->PageControl1->height(),
              scroll(*form)->viewport()->height());
    EXPECT_EQ(scroll(*form)->verticalScrollBar()->maximum(), 0);
    // The terminal reaches down to 10 pixels above the main page's bottom.
    form->PageControl1->setCurrentWidget(form->TabSheet3);
    const QWidget* terminal = form->TabSheet3->GroupBox5;
    EXPECT_EQ(form->TabSheet3->height() - (terminal->y() + terminal->height()), 10);
}

TEST_F(Window, WheelAnywhereScrollsTheWindowByAThirdOfTheDelta) {
    auto form = shownForm(1000, 450);
    ASSERT_GT(scroll(*form)->verticalScrollBar()->maximum(), 100);
    QWidget* target = form->TabSheet3->RichEdit1->viewport();
    for (const auto& [delta, position] : {std::pair{-120, 40}, std::pair{60, 20}}) {
        QWheelEvent wheel({5, 5}, target->mapToGlobal(QPointF(5, 5)), {}, {0, delta}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        EXPECT_TRUE(QApplication::sendEvent(target, &wheel));
        EXPECT_EQ(scroll(*form)->verticalScrollBar()->value(), position);
    }
}

TEST_F(Window, WaitingWindowCyclesAndOnlyTheUsersCloseEndsTheProgram) {
    TForm1 form(StartOptions{}, &m_dialogs);
    form.show();
    form.showWaitingWindow();
    TForm2* waiting = form.waitingWindow();
    ASSERT_NE(waiting, nullptr);
    EXPECT_EQ((QList<bool>{waiting->isVisible(), form.isEnabled()}), (QList<bool>{true, false}));
    EXPECT_EQ(waiting->windowTitle() + u'|' + waiting->Label1->text(),
              u"Ожидание|Устройство подключено. Инициализация..."_s);
    EXPECT_EQ(waiting->Timer1->interval(), 50);
    waiting->ProgressBar1->setValue(221);
    for (const int expected : {222, 0, 1}) {
        waiting->Timer1Timer();
        EXPECT_EQ(waiting->ProgressBar1->value(), expected);
    }

    const qint64 start = m_app.logSize();
    form.closeWaitingWindow();
    EXPECT_EQ(form.waitingWindow(), nullptr);
    EXPECT_EQ((QList<bool>{form.isEnabled(), form.isVisible()}), (QList<bool>{true, true}));
    EXPECT_TRUE(m_app.logTextsSince(start).isEmpty());

    form.showWaitingWindow();
    form.waitingWindow()->close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(m_app.logTextsSince(start),
              (QList<QByteArray>{"CloseQuery received", "Program CLOSED"}));
}

// The real program in a folder of its own; TMPDIR keeps its instance socket away from any
// other copy on the machine.
TEST(Program, ACrashedCopyDoesNotBlockTheNextAndASecondStartOnlyRaisesIt) {
    AppEnvironment::get();
    QTemporaryDir work;
    QTemporaryDir sockets;
    const auto log = [&] {
        QFile file(work.filePath(QStringLiteral("log.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto start = [&](bool waitForWindow) {
        auto process = std::make_unique<QProcess>();
        process->setEnvironment(QProcess::systemEnvironment()
                                << QStringLiteral("TMPDIR=") + sockets.path());
        process->setWorkingDirectory(work.path());
        process->start(qEnvironmentVariable("TALVIK_BIN_DIR") + QStringLiteral("/talvik"),
                       {QStringLiteral("--port"), QStringLiteral("/dev/null")});
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
    QFile::remove(work.filePath(QStringLiteral("log.txt")));
    auto first = start(true);
    const QByteArray before = log();
    ASSERT_TRUE(before.contains("Program OPENED"));
    auto second = start(false);
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(log(), before); // the second start never touched the running copy's log

    first->terminate(); // a termination signal closes the window the normal way
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitCode(), 0);
    EXPECT_EQ(logTexts(log()).mid(logTexts(log()).size() - 3),
              (QList<QByteArray>{"CloseQuery received", "Program CLOSED", "Closing logs"}));
}

} // namespace
