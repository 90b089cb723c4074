#include "compare_window.h"
#include "find_bar.h"
#include "parameter_store.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "test_app.h"
#include "test_dir.h"
#include "two_settings_pages.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using namespace talvik::editor;

namespace {

// The two small settings pages after the window's own two: "задержка" is on both.
struct Find : testing::Test {
    QApplication& app = TestApp<QApplication>();
    TestDir dir;
    QWidget window;
    ScriptedDialogs dialogs;
    QTabWidget* pages = new QTabWidget(&window);
    QTimer timer3;
    std::unique_ptr<SettingsEditor> editor;
    std::unique_ptr<FindBar> bar;
    QWidget* revealed = nullptr;

    Find() {
        QDir().mkdir(u"Interface"_s);
        dir.writeFile(u"Interface/interface.h"_s, kTwoSettingsPages);
        pages->addTab(new QWidget, u"Главная"_s);
        pages->addTab(new QWidget, u"Радиоустройства"_s);
        editor = std::make_unique<SettingsEditor>(pages, &window, dialogs, &timer3);
        editor->changeDeviceType(415, false);
        bar = std::make_unique<FindBar>(*editor, pages,
                                        [this](QWidget* control) { revealed = control; });
    }
    QWidget* control(int setting) { return editor->store().find(setting)->control; }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(bar->FindEdit, key, modifiers);
    }
};

TEST_F(Find, TypingShowsTheFirstMatch) {
    bar->FindEdit->setText(u"задержка"_s);
    EXPECT_EQ(bar->current(), 101);
}

TEST_F(Find, TheFieldCountsTheMatches) {
    bar->FindEdit->setText(u"задержка"_s);
    EXPECT_EQ(bar->FindCount->text(), u"1 из 2"_s);
}

TEST_F(Find, EnterGoesToTheNextMatch) {
    bar->FindEdit->setText(u"задержка"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(bar->FindCount->text(), u"2 из 2"_s);
}

TEST_F(Find, NextWrapsToTheFirstMatch) {
    bar->FindEdit->setText(u"задержка"_s);
    for (int i = 0; i < 2; ++i) {
        press(Qt::Key_Return);
    }
    EXPECT_EQ(bar->current(), 101);
}

TEST_F(Find, ShiftEnterWrapsToTheLastMatch) {
    bar->FindEdit->setText(u"задержка"_s);
    press(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(bar->current(), 214);
}

TEST_F(Find, AMatchOnAnotherPageShowsThatPage) {
    bar->FindEdit->setText(u"sms"_s);
    EXPECT_EQ(pages->currentIndex(), 3);
}

TEST_F(Find, TheMatchIsScrolledIntoView) {
    bar->FindEdit->setText(u"тихий"_s);
    EXPECT_EQ(revealed, control(100));
}

TEST_F(Find, TheMatchIsMarkedOverItsControl) {
    bar->FindEdit->setText(u"100"_s);
    EXPECT_TRUE(bar->highlight()->geometry().contains(control(100)->geometry()));
}

TEST_F(Find, NoMatchCountsNothing) {
    bar->FindEdit->setText(u"радио"_s);
    EXPECT_EQ(bar->FindCount->text(), u"0 из 0"_s);
}

TEST_F(Find, EscapeEmptiesTheField) {
    bar->FindEdit->setText(u"задержка"_s);
    press(Qt::Key_Escape);
    EXPECT_EQ(bar->FindEdit->text(), QString());
}

TEST_F(Find, EscapeTakesTheMarkAway) {
    bar->FindEdit->setText(u"задержка"_s);
    press(Qt::Key_Escape);
    EXPECT_TRUE(bar->highlight()->isHidden());
}

// The compare window over the same pages, showing a setting through the find field.
struct Compare : Find {
    CompareWindow compare{*editor, dialogs, [this](int setting) { bar->showSetting(setting); }};

    QTreeWidgetItem* compareWith(const QByteArray& json) {
        dir.writeFile(u"other.set"_s, json);
        compare.compareWithFile(u"other.set"_s);
        return compare.Rows->topLevelItem(0);
    }
};

// A file that differs from the pages in setting 214.
struct ComparedFile : Compare {
    QTreeWidgetItem* row = compareWith(R"([{"HW": "415"}, {"Value": 214, "Check": 0}])");
};

TEST_F(ComparedFile, ARowNamesThePageOfTheSetting) {
    EXPECT_EQ(row->text(0), u"Связь"_s);
}

TEST_F(ComparedFile, ARowNamesTheSettingByItsLabel) {
    EXPECT_EQ(row->text(1), u"Задержка SMS"_s);
}

TEST_F(ComparedFile, ADoubleClickShowsTheSettingOnItsPage) {
    compare.Rows->setCurrentItem(row);
    Q_EMIT compare.Rows->itemDoubleClicked(row, 0);
    EXPECT_EQ(pages->currentIndex(), 3);
}

TEST_F(Compare, AFileThatIsNoSettingsFileIsReported) {
    compareWith("[");
    EXPECT_EQ(dialogs.shown.value(0).text, u"Файл имеет некорректный формат"_s);
}

TEST_F(Compare, PendingChangesListTheSettingTheUserChanged) {
    auto* edit = qobject_cast<QLineEdit*>(control(101));
    editor->handlers().editEnter(edit);
    edit->setText(u"77"_s);
    editor->handlers().editExit(edit);
    compare.showPending();
    EXPECT_EQ(compare.Rows->topLevelItem(0)->text(1), u"Задержка на вход"_s);
}

} // namespace
