#include "controller_session.h"
#include "controller_status.h"
#include "guard_panel.h"
#include "main_page.h"
#include "named_controls.h"
#include "one_wire_panel.h"
#include "page_control.h"
#include "parameter_store.h"
#include "qt_dialogs.h"
#include "recording_clipboard.h"
#include "recording_link.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "terminal_panel.h"
#include "test_app.h"
#include "test_dir.h"
#include "tform1.h"
#include "upload_panel.h"
#include "wait_for.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using namespace talvik::editor;

namespace {

// Widgets of a fixture need the application before they are made.
struct WidgetApp {
    WidgetApp() { TestApp<QApplication>(); }
};

QStringList items(const QComboBox* combo) {
    QStringList list;
    for (int i = 0; i < combo->count(); ++i) {
        list.append(combo->itemText(i));
    }
    return list;
}

// The main page with its terminal and guard panels over a recorded command queue.
class Panels : public WidgetApp, public ::testing::Test {
protected:
    void type(const QString& text) {
        ComboBox1->setEditText(text);
        QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Return);
    }
    [[nodiscard]] QString output() const { return RichEdit1->toPlainText(); }

    MainPage page;
    ControllerSession session;
    ControllerStatus status{session};
    RecordingLink link;
    TerminalPanel terminal{page, session, [this] { return link.current(); }};
    GuardPanel guard{page, status, [this] { return link.current(); }, terminal.terminal()};
    QPlainTextEdit* RichEdit1 = NamedChild<QPlainTextEdit>(page, u"RichEdit1"_s);
    QComboBox* ComboBox1 = NamedChild<QComboBox>(page, u"ComboBox1"_s);
    QPushButton* Button1 = NamedChild<QPushButton>(page, u"Button1"_s);
    QPushButton* Button2 = NamedChild<QPushButton>(page, u"Button2"_s);
};

TEST_F(Panels, EnterSendsTheCommandLineWithoutWaiting) {
    type(u"ver"_s);
    EXPECT_EQ(link.sent, (QList<RecordingLink::Sent>{{u" ver"_s, 1}}));
}

TEST_F(Panels, SentCommandsShowNewestFirstAndTheLineKeepsTheText) {
    type(u"ver"_s);
    type(u"Привет"_s);
    EXPECT_EQ(items(ComboBox1), (QStringList{u"Привет"_s, u"ver"_s}));
    EXPECT_EQ(ComboBox1->currentText(), u"Привет"_s);
}

TEST_F(Panels, NothingIsSentOrPrintedWhileABatchRuns) {
    Button1->setEnabled(false);
    type(u"ver"_s);
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(output(), QString());
}

TEST_F(Panels, NothingIsSentOrPrintedWithoutAController) {
    link.connected = false;
    ComboBox1->setEditText(u"ver"_s);
    Button1->click();
    EXPECT_TRUE(link.sent.isEmpty());
    EXPECT_EQ(output(), QString());
}

TEST_F(Panels, DeviceTextsAndSentCommandsAreStampedAndMarked) {
    type(u"ver"_s);
    Q_EMIT session.textReceived(u"GSM OK"_s);
    ASSERT_TRUE(WaitFor(1000, [&] { return output().count(u'\n') == 1; }))
        << output().toStdString();
    const QStringList lines = output().split(u'\n');
    EXPECT_TRUE(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d <<< ver$"_s).match(lines[0]).hasMatch())
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(u" >>> GSM OK"_s)) << lines[1].toStdString();
}

TEST_F(Panels, OutputKeepsTheLastHundredLines) {
    for (int i = 0; i < 150; ++i) {
        Q_EMIT session.textReceived(u"line "_s + QString::number(i));
    }
    QTextDocument* document = RichEdit1->document();
    ASSERT_TRUE(
        WaitFor(1000, [&] { return document->lastBlock().text().endsWith(u"line 149"_s); }));
    EXPECT_EQ(document->blockCount(), 100);
    EXPECT_TRUE(document->firstBlock().text().endsWith(u">>> line 50"_s));
}

TEST_F(Panels, LinesOfAFullOutputPushTheOldestOut) {
    QTextDocument* document = RichEdit1->document();
    for (int i = 0; i < 110; ++i) {
        Q_EMIT session.textReceived(u"line "_s + QString::number(i));
        if (i == 99) {
            ASSERT_TRUE(WaitFor(1000, [&] { return document->blockCount() == 100; }));
        }
    }
    ASSERT_TRUE(
        WaitFor(1000, [&] { return document->lastBlock().text().endsWith(u"line 109"_s); }));
    EXPECT_EQ(document->blockCount(), 100);
    EXPECT_TRUE(document->firstBlock().text().endsWith(u">>> line 10"_s));
}

TEST_F(Panels, ViewFollowsTheEndOnceAFloodOfLinesIsDrawn) {
    page.show();
    for (int i = 0; i < 150; ++i) {
        Q_EMIT session.textReceived(u"line "_s + QString::number(i));
    }
    const QScrollBar* bar = RichEdit1->verticalScrollBar();
    const QTextDocument* document = RichEdit1->document();
    EXPECT_TRUE(WaitFor(2000, [&] {
        return document->lastBlock().text().endsWith(u"line 149"_s) && bar->maximum() > 0 &&
               bar->value() == bar->maximum();
    }));
}

TEST_F(Panels, TextWithLineBreaksStaysOneOutputLine) {
    Q_EMIT session.textReceived(u"a\r\nb"_s);
    EXPECT_EQ(RichEdit1->document()->blockCount(), 1);
}

TEST_F(Panels, UpAndDownWalkTheHistoryInTheCommandLine) {
    terminal.setHistory({u"new"_s, u"old"_s});
    ComboBox1->setEditText(u"typed"_s);
    QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Up);
    QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Up);
    EXPECT_EQ(ComboBox1->currentText(), u"old"_s);
    QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Down);
    QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Down);
    EXPECT_EQ(ComboBox1->currentText(), u"typed"_s);
}

TEST_F(Panels, TabCompletesAndCyclesThroughTheHistory) {
    terminal.setHistory({u"#S23?"_s, u"ver"_s, u"#S0?"_s});
    ComboBox1->setEditText(QString());
    QTest::keyClicks(ComboBox1->lineEdit(), u"#S"_s);
    QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(ComboBox1->currentText(), u"#S23?"_s);
    QTest::keyClick(ComboBox1->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(ComboBox1->currentText(), u"#S0?"_s);
}

TEST_F(Panels, TabWithNothingToCompleteMovesTheFocusOn) {
    page.show();
    QApplication::setActiveWindow(&page);
    ComboBox1->setFocus();
    ComboBox1->setEditText(u"zz"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(ComboBox1->currentText(), u"zz"_s);
    EXPECT_FALSE(ComboBox1->hasFocus());
}

struct GuardState {
    const char* name;
    QString reported; // status 0
    QString command;
};

class GuardButton : public Panels, public ::testing::WithParamInterface<GuardState> {};

TEST_P(GuardButton, DoesTheOppositeOfTheReportedState) {
    Q_EMIT session.statusReply(0, GetParam().reported);
    Button2->click();
    EXPECT_EQ(link.sent, (QList<RecordingLink::Sent>{{GetParam().command, 2}}));
}

INSTANTIATE_TEST_SUITE_P(States, GuardButton,
                         ::testing::Values(GuardState{"Off", u"0"_s, u" #S0=1"_s},
                                           GuardState{"On", u"1"_s, u" #S0=0"_s}),
                         [](const auto& info) { return std::string(info.param.name); });

// The 1-Wire group over a recorded queue, with a settings editor whose setting 334 names the
// thermometer of slot 2.
class OneWireGroup : public WidgetApp, public ::testing::Test {
protected:
    OneWireGroup() {
        serials.insert(0, u"28FF4A1B03000012"_s);
        auto* name = new QLineEdit(u"Гараж"_s, &window);
        editor.store().add(334, Parameter::Kind::Edit, name);
    }
    [[nodiscard]] QStringList row(int index) const {
        const QTreeWidgetItem* item = ListView2->topLevelItem(index);
        QStringList texts;
        for (int column = 0; item != nullptr && column < 4; ++column) {
            texts.append(item->text(column));
        }
        return texts;
    }

    TestDir dir;
    MainPage page;
    ControllerSession session;
    RecordingLink link;
    ScriptedDialogs dialogs;
    RecordingClipboard clipboard;
    QHash<int, QString> serials;
    QWidget window;
    PageControl pages;
    QTimer timer;
    SettingsEditor editor{&pages, &window, dialogs, &timer};
    OneWirePanel panel{page,    session, [this] { return link.current(); }, dialogs, clipboard,
                       serials, editor};
    QTreeWidget* ListView2 = NamedChild<QTreeWidget>(page, u"ListView2"_s);
    QPushButton* Button10 = NamedChild<QPushButton>(page, u"Button10"_s);
    QPushButton* Button3 = NamedChild<QPushButton>(page, u"Button3"_s);
};

TEST_F(OneWireGroup, ReadingsFillTheListWithSerialsAndNames) {
    QLocale::setDefault(QLocale::c());
    Q_EMIT session.statusReply(23, u"2982 0 1"_s);
    ASSERT_EQ(ListView2->topLevelItemCount(), 2);
    EXPECT_EQ(row(0), (QStringList{u"1"_s, u"25.2"_s, u"28FF4A1B03000012"_s, QString()}));
    EXPECT_EQ(row(1), (QStringList{u"3"_s, u"неисправен"_s, QString(), u"Гараж"_s}));
}

TEST_F(OneWireGroup, EachUpdateReplacesTheList) {
    Q_EMIT session.statusReply(23, u"2982 0 1"_s);
    Q_EMIT session.statusReply(23, u"0 2990"_s);
    ASSERT_EQ(ListView2->topLevelItemCount(), 1);
    EXPECT_EQ(row(0).value(0), u"2"_s);
}

TEST_F(OneWireGroup, ButtonsLearnKeysAndRemoveEverything) {
    Button10->click();
    Button3->click();
    EXPECT_EQ(link.sent, (QList<RecordingLink::Sent>{{u" TMSET"_s, 2}, {u" TMCLR"_s, 2}}));
}

// The window keeps the history and the file choosers' names in "terminal.txt" between runs.
class TerminalFileOfTheWindow : public WidgetApp, public ::testing::Test {
protected:
    TestDir dir;
    ScriptedDialogs dialogs;
    RecordingClipboard clipboard;
};

TEST_F(TerminalFileOfTheWindow, ReadAtStartIntoTheHistoryAndTheChoosers) {
    dir.writeFile(u"terminal.txt"_s,
                  "fw.enc\n\nconf/a.set\nsnd.psnd\n\xEF\xF0\xE8\xE2\xE5\xF2\nver");
    TForm1 form(StartOptions{u"/nonexistent"_s}, &dialogs, &clipboard);
    EXPECT_EQ(items(NamedChild<QComboBox>(form, u"ComboBox1"_s)),
              (QStringList{u"привет"_s, u"ver"_s}));
    EXPECT_EQ(form.settings().transfer().OpenDialog3FileName, u"conf/a.set"_s);
    EXPECT_EQ(form.upload().OpenDialog4FileName, u"snd.psnd"_s);
}

TEST_F(TerminalFileOfTheWindow, WrittenAtCloseWithTheNewHistory) {
    dir.writeFile(u"terminal.txt"_s, "fw.enc\n\nconf/a.set\n\nver");
    {
        TForm1 form(StartOptions{u"/nonexistent"_s}, &dialogs, &clipboard);
        form.terminal().terminal().history().add(u"#S0?"_s);
        form.close();
    }
    EXPECT_EQ(dir.readFile(u"terminal.txt"_s), "fw.enc\n\nconf/a.set\n\n#S0?\nver");
}

TEST_F(TerminalFileOfTheWindow, MissingFileLeavesTheHistoryEmptyAndIsWrittenAtClose) {
    {
        TForm1 form(StartOptions{u"/nonexistent"_s}, &dialogs, &clipboard);
        EXPECT_EQ(NamedChild<QComboBox>(form, u"ComboBox1"_s)->count(), 0);
        form.close();
    }
    EXPECT_EQ(dir.readFile(u"terminal.txt"_s), "\n\n\n\n");
}

} // namespace

// The settings file chooser lists the copies of the reads among its places.
TEST(FileChooser, ListsTheBackupsFolderAmongItsPlaces) {
    TestApp<QApplication>();
    TestDir dir;
    ASSERT_TRUE(QDir().mkdir(u"Backups"_s));
    QtDialogs dialogs(nullptr);
    QList<QUrl> places;
    QTimer::singleShot(0, [&places] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* chooser = qobject_cast<QFileDialog*>(widget); chooser != nullptr) {
                places = chooser->sidebarUrls();
                chooser->reject();
            }
        }
    });
    static_cast<void>(dialogs.openFile(u"Загрузка параметров"_s, {}, u"*.set"_s, {}));
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(QDir(u"Backups"_s).absolutePath())));
}
