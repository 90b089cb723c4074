#include "field_handlers.h"
#include "page_builder.h"
#include "parameter_store.h"
#include "plan_text.h"
#include "radio_list_upkeep.h"
#include "scripted_dialogs.h"
#include "voice_completion.h"
#include "widget_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kBadValue = u"Некорректное значение в поле редактирования"_s;
const QString kBadPhones =
    u"Номера телефонов должны быть написанны корректно, через запятую, без пробелов"_s;

TEST(FieldValidators, IntegerFields) {
    widgetApp();
    struct Case {
        QString text;
        bool accepted;
    };
    const Case cases[] = {
        {u"100"_s, true},        {u"0"_s, true},           {u"-0"_s, true},
        {u"101"_s, false},       {u"1.5"_s, false},        {u"-"_s, false},
        {u"+5"_s, false},        {u" 5"_s, false},         {u"00000000005"_s, false},
        {u"0000000005"_s, true}, {u"9999999999"_s, false}, {u"5-"_s, false},
        {u"-1"_s, false},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        QLineEdit edit(c.text);
        EXPECT_EQ(FieldHandlers::checkInteger(dialogs, &edit, u"редактирования"_s, 0, 100),
                  c.accepted)
            << c.text.toStdString();
        ASSERT_EQ(dialogs.shown.size(), c.accepted ? 0 : 1);
        if (!c.accepted) {
            EXPECT_EQ(dialogs.shown[0].caption, u"Ошибка ввода"_s);
            EXPECT_EQ(dialogs.shown[0].text, kBadValue);
        }
    }
    ScriptedDialogs dialogs;
    QLineEdit hidden(u"junk"_s);
    hidden.hide();
    EXPECT_TRUE(FieldHandlers::checkInteger(dialogs, &hidden, u"x"_s, 0, 1));
}

TEST(FieldValidators, DecimalFieldsTakeEitherSeparatorAndShowTheComma) {
    widgetApp();
    struct Case {
        QString text;
        bool accepted;
        QString shown;
    };
    const Case cases[] = {
        {u"2.5"_s, true, u"2,5"_s},
        {u"2,5"_s, true, u"2,5"_s},
        {u"2,5,1"_s, false, u"2,5,1"_s},
        {u"2.5.1"_s, false, u"2,5,1"_s},
        {u"10,5"_s, false, u"10,5"_s},
        {u"-1"_s, false, u"-1"_s},
        {u"10"_s, true, u"10"_s},
        {u","_s, false, u","_s},
        {u"12345678901"_s, false, u"12345678901"_s},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        QLineEdit edit(c.text);
        EXPECT_EQ(FieldHandlers::checkDecimal(dialogs, &edit, u"редактирования"_s, 0.0, 10.0),
                  c.accepted)
            << c.text.toStdString();
        EXPECT_EQ(edit.text(), c.shown);
        EXPECT_EQ(dialogs.shown.size(), c.accepted ? 0 : 1);
    }
}

TEST(FieldValidators, PhoneTexts) {
    EXPECT_TRUE(FieldHandlers::phonesValid(u"+7001,+7002"));
    EXPECT_TRUE(FieldHandlers::phonesValid(u"NO"));
    EXPECT_TRUE(FieldHandlers::phonesValid(u""));
    EXPECT_FALSE(FieldHandlers::phonesValid(u"+7001, +7002"));
    EXPECT_FALSE(FieldHandlers::phonesValid(u"no"));
    EXPECT_FALSE(FieldHandlers::phonesValid(u"8(900)1"));
}

TEST(VoiceCompletionRules, KeysAgainstASortedVocabulary) {
    const QStringList words = {u"alarm"_s, u"arm"_s, u"armed"_s, u"door"_s, u"off"_s};
    using A = VoiceCompletion::Action;
    struct Case {
        QString text;
        QString key;
        bool backspace;
        A action;
        QStringList offered;
    };
    const Case cases[] = {
        {u""_s, u"a"_s, false, A::Show, {u"alarm"_s, u"arm"_s, u"armed"_s}},
        {u"a"_s, u"r"_s, false, A::Show, {u"arm"_s, u"armed"_s}},
        {u"arme"_s, u"d"_s, false, A::Close, {}}, // the one word left is typed in full
        {u"ar"_s, u"x"_s, false, A::Cancel, {}},  // no word begins so: the key is refused
        {u"door "_s, u"o"_s, false, A::Show, {u"off"_s}},
        {u"door"_s, u" "_s, false, A::Show, words}, // a new word: everything is offered
        {u"a"_s, QString(), true, A::Close, {}},    // back to an empty field
        {u""_s, QString(), true, A::Close, {}},
        {u"door x"_s, QString(), true, A::Show, words},
        {u"dx"_s, QString(), true, A::Show, {u"door"_s}}, // one word, not yet typed in full
    };
    for (const Case& c : cases) {
        const VoiceCompletion::Outcome outcome =
            VoiceCompletion::press(words, c.text, c.key, c.backspace);
        EXPECT_EQ(outcome.action, c.action) << c.text.toStdString() << "+" << c.key.toStdString();
        EXPECT_EQ(outcome.words, c.offered) << c.text.toStdString();
    }
    EXPECT_EQ(VoiceCompletion::press({}, u"", u"a", false).action, A::Cancel);
    EXPECT_EQ(VoiceCompletion::complete(u"door ar", u"armed"), u"door armed"_s);
    EXPECT_EQ(VoiceCompletion::complete(u"ar", u"arm"), u"arm"_s);
}

TEST(VoiceCompletionRules, TheVocabularyOfTheLastEntryNotAboveTheVersion) {
    const QList<VoiceEntry> voices = {
        {u"1.0"_s, {u"a"_s}}, {u"1.66"_s, {u"b"_s}}, {u"2.19"_s, {u"c"_s}}};
    EXPECT_EQ(VoiceCompletion::wordsFor(voices, u"1.70"), QStringList{u"b"_s});
    EXPECT_EQ(VoiceCompletion::wordsFor(voices, u"1.7"), QStringList{u"a"_s}) << "66 is above 7";
    EXPECT_EQ(VoiceCompletion::wordsFor(voices, u"2.19"), QStringList{u"c"_s});
    EXPECT_EQ(VoiceCompletion::wordsFor(voices, u"99.99.99"), QStringList{u"c"_s});
    EXPECT_TRUE(VoiceCompletion::wordsFor(voices, u"0.9").isEmpty());
}

const char kPage[] = R"(Structure:
  - Type: Tab
    Caption: P
    Values: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10]
    Content:
      - Type: EditList
        Special: integer
        Limits: [0, 100]
        Captions: [Integer]
      - Type: EditList
        Special: phone
        Captions: [Phones]
      - Type: EditList
        Special: voice
        Captions: [Voice]
      - Type: EditList
        Captions: [Plain]
      - Type: ComboList
        Contents:
          - - Trigger
            - [zero, one, two]
            - [0, 1, 2]
      - Type: EditList
        Captions: [Affected]
      - Type: CheckList
        Captions: [Switch]
        Disable:
          - [8, 9]
      - Type: EditList
        Captions: [Seven, Eight]
      - Type: CheckBits
        Caption: Bits
        Bits: [b0, b1]
Disables:
  - Trigger: 5
    Affects:
      - Who: 6
        ByValue: [0, 2]
      - Who: 77
        ByValue: [1]
Voices:
  - - 1.0
    - [alarm, arm, armed, door]
)";

class RecordingUpkeep : public RadioListUpkeep {
public:
    void ShowTargetAssignments(int setting) override { shown.append(setting); }
    void RenameUser(int setting, const QString& text) override { renamed.append({setting, text}); }
    QList<int> shown;
    QList<std::pair<int, QString>> renamed;
};

class FieldHandlersTest : public ::testing::Test {
protected:
    void SetUp() override {
        timer3.setInterval(1);
        pages = new QTabWidget;
        window.setCentralWidget(pages);
        window.resize(900, 700);
        const InterfacePlan plan = planOf(kPage);
        PageBuilder(pages, store, &handlers, u"Interface/"_s).build(plan.content);
        plan.addDisablesTo(handlers.rules());
        handlers.setVoices(plan.voices);
        handlers.setRadioListUpkeep(&upkeep);
    }
    QLineEdit* edit(int number) { return qobject_cast<QLineEdit*>(store.find(number)->control); }
    QWidget* control(int number) { return store.find(number)->control; }
    // Leaving an edit box after typing `text` into it.
    void type(int number, const QString& text) {
        handlers.editEnter(edit(number));
        edit(number)->setText(text);
        handlers.editExit(edit(number));
    }

    QApplication& app = widgetApp();
    QMainWindow window;
    QTabWidget* pages = nullptr;
    ParameterStore store;
    ScriptedDialogs dialogs;
    QTimer timer3;
    FieldHandlers handlers{store, dialogs, &window, &timer3};
    RecordingUpkeep upkeep;
};

TEST_F(FieldHandlersTest, EditExitChecksMarksChangedAndKeepsTheRadioListUp) {
    type(1, u"50"_s);
    EXPECT_TRUE(store.find(1)->changed);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    store.setAllChanged(false);
    type(1, u"101"_s);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, kBadValue);
    EXPECT_EQ(edit(1)->text(), u"101"_s) << "a rejected text stays as typed";
    EXPECT_FALSE(store.find(1)->changed);

    type(1, u""_s);
    EXPECT_EQ(dialogs.shown.size(), 1) << "an empty integer field is accepted";
    EXPECT_TRUE(store.find(1)->changed);

    type(2, u"+7001, +7002"_s);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].caption, u"Ошибка ввода"_s);
    EXPECT_EQ(dialogs.shown[1].text, kBadPhones);
    EXPECT_FALSE(store.find(2)->changed);
    type(2, u"NO"_s);
    EXPECT_TRUE(store.find(2)->changed);

    // Leaving a box unchanged marks nothing.
    handlers.editEnter(edit(4));
    handlers.editExit(edit(4));
    EXPECT_FALSE(store.find(4)->changed);
    EXPECT_EQ(upkeep.shown.size(), 6);
    EXPECT_EQ(upkeep.renamed.last(), std::make_pair(4, QString()));

    // While the program fills the controls the checks are skipped, but a change still counts.
    handlers.setInput(false);
    type(1, u"junk"_s);
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(store.find(1)->changed);
}

TEST_F(FieldHandlersTest, ARejectedFieldGetsTheFocusBack) {
    window.show();
    pages->setCurrentIndex(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    edit(1)->setFocus();
    QApplication::processEvents();
    edit(1)->setText(u"500"_s);
    edit(4)->setFocus();
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(edit(1)->hasFocus());
}

TEST_F(FieldHandlersTest, DropDownSelectionAppliesTheRules) {
    auto* combo = qobject_cast<QComboBox*>(control(5));
    struct Step {
        int item;
        bool affectedEnabled;
    };
    for (const Step step : {Step{2, false}, Step{1, true}, Step{0, false}}) {
        combo->setCurrentIndex(step.item);
        handlers.dropDownSelect(combo);
        EXPECT_EQ(control(6)->isEnabled(), step.affectedEnabled) << step.item;
    }
    EXPECT_TRUE(store.find(5)->changed);

    handlers.setInput(false);
    combo->setCurrentIndex(1);
    handlers.dropDownSelect(combo);
    EXPECT_FALSE(control(6)->isEnabled()) << "the program's own selections apply no rule";
}

TEST_F(FieldHandlersTest, CheckBoxDisableListsFollowTheClick) {
    auto* box = qobject_cast<QCheckBox*>(control(7));
    box->setChecked(false);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(control(8)->isEnabled());
    EXPECT_FALSE(control(9)->isEnabled());
    EXPECT_TRUE(store.find(7)->changed);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(control(8)->isEnabled());

    // Both clicks of a double click count: the list stays in step with the box.
    const QPoint inside(5, box->height() / 2);
    QTest::mouseClick(box, Qt::LeftButton, {}, inside);
    QTest::mouseDClick(box, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(box, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(control(8)->isEnabled());

    QCheckBox* bit = store.find(10)->controls[1];
    QTest::mouseClick(bit, Qt::LeftButton, {}, QPoint(5, bit->height() / 2));
    EXPECT_TRUE(store.find(10)->changed);
    EXPECT_EQ(ParameterStore::valueOf(*store.find(10)), u"2"_s);
}

TEST_F(FieldHandlersTest, VoiceFieldsOfferWordsAndTakeTheChosenOne) {
    window.show();
    QLineEdit* voice = edit(3);
    QTest::keyClick(voice, Qt::Key_A);
    ASSERT_NE(handlers.suggestions(), nullptr);
    EXPECT_EQ(handlers.suggestions()->count(), 3);
    EXPECT_EQ(handlers.suggestions()->height(), 14 * 3 + 21);
    QTest::keyClick(voice, Qt::Key_X);
    EXPECT_EQ(voice->text(), u"a"_s) << "a key that no word continues is refused";
    QTest::keyClick(voice, Qt::Key_R);
    EXPECT_EQ(handlers.suggestions()->count(), 2);

    handlers.suggestions()->setCurrentRow(1);
    EXPECT_EQ(voice->text(), u"armed"_s);

    QTest::keyClick(voice, Qt::Key_Escape);
    EXPECT_EQ(handlers.suggestions(), nullptr);

    // Plain fields are not completed.
    QTest::keyClick(edit(4), Qt::Key_X);
    EXPECT_EQ(edit(4)->text(), u"x"_s);
    EXPECT_EQ(handlers.suggestions(), nullptr);
}

TEST_F(FieldHandlersTest, LeavingAVoiceFieldClosesTheListOnTheOneShotTimer) {
    window.show();
    QTest::keyClick(edit(3), Qt::Key_D);
    ASSERT_NE(handlers.suggestions(), nullptr);
    handlers.editEnter(edit(3));
    handlers.editExit(edit(3));
    EXPECT_NE(handlers.suggestions(), nullptr) << "still there for the click that left the field";
    EXPECT_TRUE(timer3.isActive());
    EXPECT_TRUE(QTest::qWaitFor([this] { return handlers.suggestions() == nullptr; }));
    EXPECT_FALSE(timer3.isActive());
}

} // namespace
