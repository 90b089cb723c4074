#include "app_environment.h"
#include "scripted_dialogs.h"
#include "test_dir.h"
#include "tform1.h"
#include "tform2.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class WaitingWindow : public testing::Test {
protected:
    WaitingWindow() : m_start((AppEnvironment::get(), AppEnvironment::get().logSize())) {
        m_form.show();
        m_form.showWaitingWindow();
    }

    [[nodiscard]] bool programClosed() const {
        return AppEnvironment::get().logLinesSince(m_start).size() > 2 &&
               withoutStamp(AppEnvironment::get().logLinesSince(m_start).last()) ==
                   "Program CLOSED";
    }

    TestDir m_dir;
    qint64 m_start;
    ScriptedDialogs m_dialogs;
    TForm1 m_form{StartOptions{}, &m_dialogs};
};

TEST_F(WaitingWindow, ShowsOverADisabledMainWindow) {
    TForm2* waiting = m_form.waitingWindow();
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(waiting->isVisible());
    EXPECT_TRUE(waiting->isEnabled());
    EXPECT_FALSE(m_form.isEnabled());
    EXPECT_EQ(waiting->windowTitle(), QStringLiteral("Ожидание"));
    EXPECT_EQ(waiting->Label1->text(), QStringLiteral("Устройство подключено. Инициализация..."));
    EXPECT_EQ(waiting->ProgressBar1->maximum(), 223);
    EXPECT_EQ(waiting->Timer1->interval(), 50);
    EXPECT_TRUE(waiting->Timer1->isActive());
    EXPECT_FALSE(waiting->isClosing());
}

TEST_F(WaitingWindow, ProgressCyclesBackToZeroAtTheMaximum) {
    QProgressBar* bar = m_form.waitingWindow()->ProgressBar1;
    bar->setValue(221);
    m_form.waitingWindow()->Timer1Timer();
    EXPECT_EQ(bar->value(), 222);
    m_form.waitingWindow()->Timer1Timer();
    EXPECT_EQ(bar->value(), 0);
    m_form.waitingWindow()->Timer1Timer();
    EXPECT_EQ(bar->value(), 1);
}

TEST_F(WaitingWindow, ClosedByTheProgramTheProgramGoesOn) {
    m_form.closeWaitingWindow();
    EXPECT_EQ(m_form.waitingWindow(), nullptr);
    EXPECT_TRUE(m_form.isEnabled());
    EXPECT_TRUE(m_form.isVisible());
    EXPECT_FALSE(programClosed());
}

TEST_F(WaitingWindow, ClosedByTheUserTheProgramEnds) {
    TForm2* waiting = m_form.waitingWindow();
    waiting->close();
    EXPECT_TRUE(waiting->isClosing());
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_FALSE(m_form.isVisible());
    EXPECT_TRUE(programClosed());
}

TEST_F(WaitingWindow, ClosingTheMainWindowTakesTheWaitingWindowAlong) {
    TForm2* waiting = m_form.waitingWindow();
    m_form.close();
    EXPECT_FALSE(waiting->isVisible());
    EXPECT_TRUE(programClosed());
}

} // namespace
