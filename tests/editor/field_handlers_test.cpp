#include "editor_test_support.h"
#include "field_handlers.h"
#include "page_builder.h"
#include "parameter_store.h"
#include "radio_list_upkeep.h"
#include "scripted_dialogs.h"
#include "voice_completion.h"

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

TEST(FieldValidators, IntegerAndDecimalFieldsWithinZeroToHundred) {
    widgetApp();
    // Text, accepted as an integer, accepted as a decimal, the decimal field's text afterwards.
    const std::tuple<QString, bool, bool, QString> cases[] = {
        {u"100"_s, true, true, u"100"_s},
        {u"101"_s, false, false, u"101"_s},
        {u"1.5"_s, false, true, u"1,5"_s},
        {u"2,5,1"_s, false, false, u"2,5,1"_s},
        {u"2.5.1"_s, false, false, u"2,5,1"_s},
        {u"-0"_s, true, false, u"-0"_s},
        {u"-1"_s, false, false, u"-1"_s},
        {u"+5"_s, false, false, u"+5"_s},
        {u" 5"_s, false, false, u" 5"_s},
        {u","_s, false, false, u","_s},
        {u"0000000005"_s, true, true, u"0000000005"_s},
        {u"00000000005"_s, false, false, u"00000000005"_s},
    };
    for (const auto& [text, integer, decimal, decimalShown] : cases) {
        ScriptedDialogs dialogs;
        QLineEdit integerEdit(text);
        QLineEdit decimalEdit(text);
        EXPECT_EQ(FieldHandlers::checkInteger(dialogs, &integerEdit, u"редактирования"_s, 0, 100),
                  integer)
            << text.toStdString();
        EXPECT_EQ(FieldHandlers::checkDecimal(dialogs, &decimalEdit, u"редактирования"_s, 0, 100),
                  decimal)
            << text.toStdString();
        EXPECT_EQ(decimalEdit.text(), decimalShown);
        ASSERT_EQ(dialogs.shown.size(), (integer ? 0 : 1) + (decimal ? 0 : 1));
        for (const ScriptedDialogs::Shown& shown : dialogs.shown) {
            EXPECT_EQ(shown.caption + shown.text, u"Ошибка ввода"_s + kBadValue);
        }
    }
    ScriptedDialogs dialogs;
    QLineEdit hidden(u"junk"_s);
    hidden.hide();
    EXPECT_TRUE(FieldHandlers::checkInteger(dialogs, &hidden, u"x"_s, 0, 1) &&
                FieldHandlers::checkDecimal(dialogs, &hidden, u"x"_s, 0, 1));
}

TEST(VoiceCompletionRules, KeysAgainstASortedVocabulary) {
    const QStringList words = {u"alarm"_s, u"arm"_s, u"armed"_s, u"door"_s, u"off"_s};
    using A = VoiceCompletion::Action;
    struct Case {
        QString text;
        QString key; // none: Backspace
        A action;
        QStringList offered;
    };
    const Case cases[] = {
        {u""_s, u"a"_s, A::Show, {u"alarm"_s, u"arm"_s, u"armed"_s}},
        {u"arme"_s, u"d"_s, A::Close, {}}, // the one word left is typed in full
        {u"ar"_s, u"x"_s, A::Cancel, {}},  // no word begins so: the key is refused
        {u"door "_s, u"o"_s, A::Show, {u"off"_s}},
        {u"door"_s, u" "_s, A::Show, words}, // a new word: everything is offered
        {u"a"_s, QString(), A::Close, {}},   // back to an empty field
        {u"door x"_s, QString(), A::Show, words},
        {u"dx"_s, QString(), A::Show, {u"door"_s}}, // one word, not yet typed in full
    };
    for (const Case& c : cases) {
        const VoiceCompletion::Outcome outcome =
            VoiceCompletion::press(words, c.text, c.key, c.key.isNull());
        EXPECT_EQ(outcome.action, c.action) << c.text.toStdString() << "+" << c.key.toStdString();
        EXPECT_EQ(outcome.words, c.offered) << c.text.toStdString();
    }
    EXPECT_EQ(VoiceCompletion::complete(u"door ar", u"armed"), u"door armed"_s);
    EXPECT_EQ(VoiceCompletion::complete(u"ar", u"arm"), u"arm"_s);
    const QList<VoiceEntry> voices = {{u"1.0"_s, {u"a"_s}}, {u"1.66"_s, {u"b"_s}}};
    EXPECT_EQ(VoiceCompletion::wordsFor(voices, u"1.7"), QStringList{u"a"_s}) << "66 is above 7";
    EXPECT_EQ(VoiceCompletion::wordsFor(voices, u"1.66"), QStringList{u"b"_s});
}

const char kPage[] = R"(Structure:
  - Type: Tab
    Caption: P
    Values: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11]
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
        Captions: [Eight, Nine]
      - Type: CheckBits
        Caption: Bits
        Bits: [b0, b1]
      - Type: EditList
        Special: double10
        Limits: [0, 10]
        Captions: [Decimal]
Disables:
  - Trigger: 5
    Affects:
      - Who: 6
        ByValue: [0, 2]
      - Who: 77
        ByValue: [1]
Voices:
  - - 1.0
    - [zulu]
  - - 10.0
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
    // Leaving an edit box after typing `text` into it; whether it was marked changed.
    bool type(int number, const QString& text) {
        store.setAllChanged(false);
        handlers.editEnter(edit(number));
        edit(number)->setText(text);
        handlers.editExit(edit(number));
        return store.find(number)->changed;
    }

    QApplication& app = widgetApp();
    QMainWindow window;
    QTabWidget* pages = new QTabWidget;
    ParameterStore store;
    ScriptedDialogs dialogs;
    QTimer timer3;
    FieldHandlers handlers{store, dialogs, &window, &timer3};
    RecordingUpkeep upkeep;
};

TEST_F(FieldHandlersTest, EditExitChecksMarksChangedAndKeepsTheRadioListUp) {
    struct Step {
        int setting;
        QString text;
        bool changed;
        QString message; // empty: none
        QString shown;
    };
    const QString phones =
        u"Номера телефонов должны быть написанны корректно, через запятую, без пробелов"_s;
    const Step steps[] = {
        {1, u"50"_s, true, {}, u"50"_s},     {1, u"101"_s, false, kBadValue, u"101"_s},
        {1, u""_s, true, {}, u""_s},         {2, u"+7001, +7002"_s, false, phones, {}},
        {2, u"+7001,+7002"_s, true, {}, {}}, {2, u"NO"_s, true, {}, {}},
        {11, u"2.5"_s, true, {}, u"2,5"_s},  {11, u"10,5"_s, false, kBadValue, u"10,5"_s},
        {4, u"any text"_s, true, {}, {}},
    };
    for (const Step& step : steps) {
        dialogs.shown.clear();
        EXPECT_EQ(type(step.setting, step.text), step.changed) << step.text.toStdString();
        ASSERT_EQ(dialogs.shown.size(), step.message.isEmpty() ? 0 : 1);
        if (!step.message.isEmpty()) {
            EXPECT_EQ(dialogs.shown[0].caption, u"Ошибка ввода"_s);
            EXPECT_EQ(dialogs.shown[0].text, step.message);
        }
        if (!step.shown.isNull()) {
            EXPECT_EQ(edit(step.setting)->text(), step.shown);
        }
    }
    EXPECT_FALSE(type(4, u"any text"_s)) << "leaving a box unchanged marks nothing";
    EXPECT_EQ(upkeep.shown.size(), 10);
    EXPECT_EQ(upkeep.renamed.last(), std::make_pair(4, u"any text"_s));

    // While the program fills the controls the checks are skipped, but a change still counts.
    handlers.setInput(false);
    dialogs.shown.clear();
    EXPECT_TRUE(type(1, u"junk"_s));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FieldHandlersTest, ARejectedFieldGetsTheFocusBack) {
    window.show();
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

TEST_F(FieldHandlersTest, DropDownRulesAndCheckBoxDisableLists) {
    auto* combo = qobject_cast<QComboBox*>(control(5));
    for (const auto& [item, enabled] : {std::pair{2, false}, {1, true}, {0, false}}) {
        combo->setCurrentIndex(item);
        handlers.dropDownSelect(combo);
        EXPECT_EQ(control(6)->isEnabled(), enabled) << item;
    }
    EXPECT_TRUE(store.find(5)->changed);

    auto* box = qobject_cast<QCheckBox*>(control(7));
    const QPoint inside(5, box->height() / 2);
    box->setChecked(false);
    QTest::mouseClick(box, Qt::LeftButton, {}, inside);
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(control(8)->isEnabled() || control(9)->isEnabled());
    EXPECT_TRUE(store.find(7)->changed);
    // Both clicks of a double click count: the list stays in step with the box.
    QTest::mouseDClick(box, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(box, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(control(8)->isEnabled() && control(9)->isEnabled());
    QCheckBox* bit = store.find(10)->controls[1];
    QTest::mouseClick(bit, Qt::LeftButton, {}, QPoint(5, bit->height() / 2));
    EXPECT_TRUE(store.find(10)->changed);

    // The program's own selections and clicks apply nothing.
    handlers.setInput(false);
    store.setAllChanged(false);
    combo->setCurrentIndex(1);
    handlers.dropDownSelect(combo);
    QTest::mouseClick(box, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(control(6)->isEnabled());
    EXPECT_TRUE(control(8)->isEnabled());
    EXPECT_FALSE(store.anyChanged());
}

TEST_F(FieldHandlersTest, VoiceFieldsOfferWordsAndTakeTheChosenOne) {
    window.show();
    QLineEdit* voice = edit(3);
    const QPoint corner = voice->mapTo(&window, QPoint(0, voice->height()));
    QTest::keyClick(voice, Qt::Key_A); // no device: the vocabulary for 99.99.99
    QListWidget* list = handlers.suggestions();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->parentWidget(), &window);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->pos(), corner);
    EXPECT_EQ(list->height(), 14 * 3 + 21);
    const QFontMetrics metrics = list->fontMetrics();
    EXPECT_EQ(list->width(),
              std::max({metrics.horizontalAdvance(u"alarm"_s), metrics.horizontalAdvance(u"arm"_s),
                        metrics.horizontalAdvance(u"armed"_s)}) +
                  30);
    QTest::keyClick(voice, Qt::Key_X);
    EXPECT_EQ(voice->text(), u"a"_s) << "a key that no word continues is refused";
    QTest::keyClick(voice, Qt::Key_R);
    EXPECT_EQ(handlers.suggestions(), list);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->pos(), corner) << "the list stays where it opened";
    list->setCurrentRow(1);
    EXPECT_EQ(voice->text(), u"armed"_s);
    QTest::keyClick(voice, Qt::Key_Escape);
    EXPECT_EQ(handlers.suggestions(), nullptr);

    QTest::keyClick(edit(4), Qt::Key_X);
    EXPECT_EQ(edit(4)->text(), u"x"_s) << "plain fields are not completed";
    EXPECT_EQ(handlers.suggestions(), nullptr);

    handlers.setDeviceVersion(u"2.0"_s);
    voice->clear();
    QTest::keyClick(voice, Qt::Key_A);
    EXPECT_TRUE(voice->text().isEmpty()) << "the vocabulary of firmware 2.0 has no such word";
    QTest::keyClick(voice, Qt::Key_Z);
    ASSERT_NE(handlers.suggestions(), nullptr);

    // Leaving the field closes the list once the event is done (a click on it still lands).
    handlers.editEnter(voice);
    handlers.editExit(voice);
    EXPECT_NE(handlers.suggestions(), nullptr);
    EXPECT_TRUE(timer3.isActive());
    EXPECT_TRUE(QTest::qWaitFor([this] { return handlers.suggestions() == nullptr; }));
}

} // namespace
