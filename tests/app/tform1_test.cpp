#include "app_environment.h"
#include "header_panel.h"
#include "main_page.h"
#include "page_control.h"
#include "scripted_dialogs.h"
#include "test_dir.h"
#include "tform1.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Window : public testing::Test {
protected:
    Window() { AppEnvironment::get(); }

    // A window shown at the given size, its layout settled.
    std::unique_ptr<TForm1> shownForm(int width, int height) {
        auto form = std::make_unique<TForm1>(StartOptions{}, &m_dialogs);
        form->resize(width, height);
        form->show();
        QApplication::processEvents();
        form->layoutPages();
        return form;
    }

    QScrollArea* scroll(TForm1& form) { return qobject_cast<QScrollArea*>(form.centralWidget()); }

    TestDir m_dir;
    ScriptedDialogs m_dialogs;
};

TEST_F(Window, StartsWithTheCaptionDeviceTypeAndFirstUploadFiles) {
    m_dir.writeFile(QStringLiteral("b.enc"), "x");
    m_dir.writeFile(QStringLiteral("a.enc"), "x");
    m_dir.writeFile(QStringLiteral("profile.evc"), "x");
    m_dir.writeFile(QStringLiteral("notes.txt"), "x");
    TForm1 form(StartOptions{QStringLiteral("/dev/ttyUSB7")}, &m_dialogs);

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Программатор Талвик 2.6.4"));
    const QComboBox* types = form.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    ASSERT_NE(types, nullptr);
    const QStringList expected = {QStringLiteral("Не известно"), QStringLiteral("Orvix TQ-11"),
                                  QStringLiteral("Orvix TQ-12"), QStringLiteral("Orvix TQ-13"),
                                  QStringLiteral("Orvix TQ-14"), QStringLiteral("Pellam Q5")};
    ASSERT_EQ(types->count(), expected.size());
    for (int i = 0; i < types->count(); ++i) {
        EXPECT_EQ(types->itemText(i), expected[i]);
    }
    EXPECT_EQ(types->currentIndex(), 4);
    EXPECT_EQ(form.findChild<QLineEdit*>(QStringLiteral("Edit23"))->text(),
              QStringLiteral("a.enc"));
    EXPECT_EQ(form.findChild<QLineEdit*>(QStringLiteral("Edit24"))->text(),
              QStringLiteral("profile.evc"));
    EXPECT_EQ(form.options().port, QStringLiteral("/dev/ttyUSB7"));
    EXPECT_FALSE(form.PageControl1->isTabVisible(form.PageControl1->indexOf(form.TabSheet1)));
    EXPECT_TRUE(form.findChild<QGroupBox*>(QStringLiteral("GroupBox1"))
                    ->toolTip()
                    .startsWith(QStringLiteral("В качестве устройств 1-Wire")));
    EXPECT_EQ(form.TabSheet3->Button3->toolTip(), form.TabSheet3->GroupBox1->toolTip());
    EXPECT_EQ(form.TabSheet3->Button10->toolTip(), form.TabSheet3->GroupBox1->toolTip());
}

TEST_F(Window, WithoutUploadFilesTheFieldsStayEmpty) {
    TForm1 form(StartOptions{}, &m_dialogs);
    EXPECT_TRUE(form.TabSheet3->Edit23->text().isEmpty());
    EXPECT_TRUE(form.TabSheet3->Edit24->text().isEmpty());
}

TEST_F(Window, TimersStartWithTheirIntervalsAndStates) {
    TForm1 form(StartOptions{}, &m_dialogs);
    const struct {
        const char16_t* name;
        int interval;
        bool active;
    } timers[] = {{u"Timer1", 1000, true},
                  {u"Timer2", 1, true},
                  {u"Timer3", 1, false},
                  {u"Timer4", 5000, false}};
    for (const auto& t : timers) {
        const auto* timer = form.findChild<QTimer*>(QString::fromUtf16(t.name));
        ASSERT_NE(timer, nullptr) << QString::fromUtf16(t.name).toStdString();
        EXPECT_EQ(timer->interval(), t.interval) << QString::fromUtf16(t.name).toStdString();
        EXPECT_EQ(timer->isActive(), t.active) << QString::fromUtf16(t.name).toStdString();
    }
}

TEST_F(Window, LogsOpeningAndClosingInOrderOnce) {
    const qint64 start = AppEnvironment::get().logSize();
    {
        TForm1 form(StartOptions{}, &m_dialogs);
        form.show();
        form.close();
        form.close();
        EXPECT_FALSE(form.Timer1->isActive());
    }
    const QList<QByteArray> lines = AppEnvironment::get().logLinesSince(start);
    QList<QByteArray> texts;
    const QRegularExpression stamp(
        QStringLiteral(R"(^\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d\.\d\d\d $)"));
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(stamp.match(QString::fromLatin1(line.left(24))).hasMatch()) << line.data();
        texts.append(withoutStamp(line));
    }
    EXPECT_EQ(texts, (QList<QByteArray>{"Program OPENED", "2.6.4", "CloseQuery received",
                                        "Program CLOSED", "Closing logs"}));
}

TEST_F(Window, NeverNarrowerThan900PixelsAndScrollsSideways) {
    auto form = shownForm(700, 800);
    EXPECT_EQ(form->Panel1->width(), TForm1::kMinimumWidth);
    EXPECT_EQ(form->PageControl1->width(), TForm1::kMinimumWidth);
    EXPECT_GT(scroll(*form)->horizontalScrollBar()->maximum(), 0);

    form->resize(1200, 800);
    QApplication::processEvents();
    const int client = scroll(*form)->viewport()->width();
    EXPECT_GT(client, TForm1::kMinimumWidth);
    EXPECT_EQ(form->Panel1->width(), client);
    EXPECT_EQ(form->PageControl1->width(), client);
    EXPECT_EQ(scroll(*form)->horizontalScrollBar()->maximum(), 0);
}

// A settings page of placed controls whose lowest control ends at `bottom`.
QWidget* placedPage(int bottom) {
    auto* page = new QWidget;
    auto* control = new QLabel(QStringLiteral("x"), page);
    control->setGeometry(12, bottom - 21, 100, 21);
    return page;
}

TEST_F(Window, PageControlGrowsWithALowPageAndFillsATallWindow) {
    auto form = shownForm(1000, 500);
    const int low = form->PageControl1->addPage(placedPage(700), QStringLiteral("Низкая"), 2);
    const int short_ = form->PageControl1->addPage(placedPage(400), QStringLiteral("Короткая"), 2);

    form->PageControl1->setCurrentIndex(low);
    const int pageTop =
        form->PageControl1->currentWidget()->mapTo(form->PageControl1, QPoint()).y();
    EXPECT_GT(pageTop, 0);
    EXPECT_EQ(form->PageControl1->height(), pageTop + 700 + TForm1::kPageBottomMargin);
    EXPECT_GT(scroll(*form)->verticalScrollBar()->maximum(), 0);

    form->PageControl1->setCurrentIndex(short_);
    EXPECT_EQ(form->PageControl1->height(), TForm1::kMinimumPageHeight);

    form->resize(1000, 1300);
    QApplication::processEvents();
    const int client = scroll(*form)->viewport()->height();
    EXPECT_EQ(form->PageControl1->y() + form->PageControl1->height(), client);
    EXPECT_EQ(scroll(*form)->verticalScrollBar()->maximum(), 0);
}

TEST_F(Window, TerminalReachesTenPixelsAboveTheMainPageBottom) {
    for (const int height : {700, 1000}) {
        auto form = shownForm(1100, height);
        const QWidget* terminal = form->TabSheet3->GroupBox5;
        EXPECT_EQ(form->TabSheet3->height() - (terminal->y() + terminal->height()), 10);
        // The main page's own content is never cut off.
        EXPECT_GE(form->TabSheet3->height(), form->TabSheet3->minimumSizeHint().height());
    }
}

TEST_F(Window, WheelAnywhereScrollsTheWindowByAThirdOfTheDelta) {
    auto form = shownForm(1000, 450);
    QScrollBar* bar = scroll(*form)->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    QWidget* target = form->TabSheet3->RichEdit1->viewport();
    const QPointF at(5, 5);
    QWheelEvent down(at, target->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    EXPECT_TRUE(QApplication::sendEvent(target, &down));
    EXPECT_EQ(bar->value(), 40);
    QWheelEvent up(at, target->mapToGlobal(at), {}, {0, 60}, Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &up);
    EXPECT_EQ(bar->value(), 20);
}

TEST_F(Window, NamedControlsCarryTheirNames) {
    TForm1 form(StartOptions{}, &m_dialogs);
    for (const char16_t* name :
         {u"Panel1",     u"Image1",     u"Image2",     u"Label5",     u"ProgressBar2", u"GroupBox4",
          u"PNGButton3", u"PNGButton4", u"PNGButton5", u"PNGButton6", u"PageControl1", u"TabSheet3",
          u"TabSheet1",  u"GroupBox5",  u"GroupBox10", u"GroupBox2",  u"GroupBox6",    u"GroupBox7",
          u"GroupBox3",  u"GroupBox1",  u"ListView2",  u"GroupBox8",  u"Button12",     u"Edit23",
          u"Edit24",     u"ComboBox2",  u"Label13",    u"Label6",     u"Edit1",        u"Button2",
          u"Label18",    u"RichEdit1",  u"ComboBox1",  u"Button1"}) {
        EXPECT_NE(form.findChild<QWidget*>(QString::fromUtf16(name)), nullptr)
            << QString::fromUtf16(name).toStdString();
    }
    EXPECT_FALSE(form.Panel1->ProgressBar2->isVisibleTo(&form));
    EXPECT_FALSE(form.Panel1->Image2->isVisibleTo(&form));
    EXPECT_EQ(form.TabSheet3->GroupBox5->title(), QStringLiteral("Терминал"));
    EXPECT_EQ(form.TabSheet3->Button12->text(), QStringLiteral("RESTART"));
}

} // namespace
