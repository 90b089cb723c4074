#include "caption_group_box.h"
#include "editor_test_support.h"
#include "field_handlers.h"
#include "page_builder.h"
#include "page_images.h"
#include "parameter_store.h"
#include "radio_list_upkeep.h"
#include "scripted_dialogs.h"
#include "test_dir.h"
#include "value_codecs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>

using namespace Qt::StringLiterals;
using namespace talvik::editor;
using namespace talvik::iface;

namespace {

// Every kind on the first page; the checked fields on the second, which is named after a bitmap.
// The trigger 4 has the codes 3 and 9.
const char kPages[] = R"({"Structure": [
 {"Type": "Tab", "Caption": "First", "Values": [10, 11, 12, 4, 5, 1, 2, 6, 3, 21, 22, 23, 24, 25, 26],
  "Content": [
  {"Type": "EditList", "Captions": ["A", "Longer caption", "C"], "Hints": ["the first"]},
  {"Type": "ComboList", "Width": 120, "Contents": [["Mode", ["Off", "On"], [3, 9, 11]]]},
  {"Type": "ComboSameList", "Captions": ["Same"], "Contents": ["x", "y", "z"]},
  {"Type": "GroupBox", "Caption": "Group",
   "Hint": "a group hint of more than fifty characters, shown as it is written", "Content": [
   {"Type": "CheckList", "Captions": ["One", "Two"], "Disable": [[11, 12]]},
   {"Type": "EditList", "Captions": ["A much longer caption than any other"]}]},
  {"Type": "CheckBits", "Caption": "Bits", "Width": 200, "Hints": ["first bit"],
   "Bits": ["b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7"]},
  {"Type": "Table", "Columns": ["X", "Y", "Z"], "Lines": ["Row one", "Two"]},
  {"Type": "RichEdit", "Height": 80, "File": "help.txt"}]},
 {"Type": "Tab", "Caption": "Second", "Values": [31, 32, 33, 34, 35], "Content": [
  {"Type": "EditList", "Special": "integer", "Limits": [0, 100], "Offset": 10, "Captions": ["Int"]},
  {"Type": "EditList", "Special": "phone", "Captions": ["Phones"]},
  {"Type": "EditList", "Special": "voice", "Captions": ["Voice"]},
  {"Type": "EditList", "Special": "double10", "Limits": [0, 100], "Captions": ["Decimal"]},
  {"Type": "ComboList", "Contents": [["Coded", ["a", "b", "c"], [5, 7, 5]]]}]}],
 "Disables": [{"Trigger": 4, "Affects": [{"Who": 10, "ByValue": [9]}, {"Who": 77, "ByValue": [3]}]}],
 "Voices": [["1.0", ["zulu"]], ["10.0", ["alarm", "arm", "armed", "door"]]]})";

// Pages are laid out for a page control 900 wide that is not shown: 896 for the page.
constexpr int kPageWidth = 896;
// The table's top on the first page: after five rows, the group and the bit frame.
constexpr int kTableTop = 5 * 29 + 12 + (30 + 3 * 29 + 28) + (252 + 28);

struct RecordingUpkeep : RadioListUpkeep {
    void ShowTargetAssignments(int setting) override { calls << QString::number(setting); }
    void RenameUser(int n, const QString& text) override { calls << QString::number(n) + text; }
    QStringList calls;
};

class SettingsPages : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkdir(u"Interface"_s);
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        image.setPixel(5, 5, qRgb(10, 20, 30));
        ASSERT_TRUE(image.save(u"Interface/Second.bmp"_s));
        dir.writeFile(u"Interface/help.txt"_s, "Справка\nвторая строка");
        window.setCentralWidget(pages);
        pages->resize(900, 700);
        const InterfacePlan plan = planOf(kPages);
        PageBuilder builder(pages, store, &handlers, imageFiles, u"Interface/"_s);
        builder.build(plan.content);
        images = builder.images();
        plan.addDisablesTo(handlers.rules());
        handlers.setVoices(plan.voices);
        handlers.setRadioListUpkeep(&upkeep);
        timer3.setInterval(1);
    }
    template <class T = QWidget> T* control(int number) {
        return qobject_cast<T*>(store.find(number)->control.data());
    }
    QLineEdit* edit(int number) { return control<QLineEdit>(number); }
    // Leaving an edit box after typing `text` into it; whether it was marked changed.
    bool type(int number, const QString& text) {
        store.setAllChanged(false);
        handlers.editEnter(edit(number));
        edit(number)->setText(text);
        handlers.editExit(edit(number));
        return store.find(number)->changed;
    }
    static void click(QWidget* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    }
    QWidget* panel() const {
        return pages->widget(0)->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    }
    CaptionGroupBox* group() { return qobject_cast<CaptionGroupBox*>(control(6)->parentWidget()); }
    static QLabel* labelAt(const QWidget* container, int top) {
        return qobject_cast<QLabel*>(container->childAt(20, top + 2));
    }

    QApplication& app = TestApp<QApplication>();
    TestDir dir;
    QMainWindow window;
    QTabWidget* pages = new QTabWidget;
    ParameterStore store;
    ScriptedDialogs dialogs;
    QTimer timer3;
    FieldHandlers handlers{store, dialogs, &window, &timer3};
    RecordingUpkeep upkeep;
    PageImages imageFiles;
    QList<QPixmap> images;
};

TEST_F(SettingsPages, AHintGoesToItsOwnControlOnly) {
    EXPECT_EQ(control(10)->toolTip(), u"the first"_s);
    EXPECT_EQ(control(11)->toolTip(), QString());
}

TEST_F(SettingsPages, AComboHasAsManyCodesAsItems) {
    EXPECT_EQ(store.find(4)->numbers, (QList<int>{3, 9}));
}

TEST_F(SettingsPages, ValuesShareOneLeftEdgeAfterTheLongestCaption) {
    const QLabel* label = labelAt(panel(), 16 + 29);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->x(), 18);
    EXPECT_FALSE(label->font().bold());
    // The longest caption is inside the group; every value gets the narrowest width: 120.
    const QLabel* longest = labelAt(group(), 30 + 2 * 29 + 4);
    ASSERT_NE(longest, nullptr);
    const int numbers[] = {10, 11, 12, 4, 5, 6};
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(control(numbers[row])->geometry(),
                  QRect(longest->x() + longest->width() + 8, row < 5 ? 12 + 29 * row : 30 + 2 * 29,
                        120, 21))
            << numbers[row];
    }
}

TEST_F(SettingsPages, AGroupSpansThePageUnderABoldCaptionAndItsHintIsNotWrapped) {
    ASSERT_NE(group(), nullptr);
    EXPECT_EQ(group()->geometry(), QRect(12, 5 * 29 + 12 + 12, kPageWidth - 24, 30 + 3 * 29));
    EXPECT_TRUE(group()->captionFont().bold());
    EXPECT_FALSE(group()->toolTip().contains(u'\n'));
}

TEST_F(SettingsPages, ACheckBoxSpansItsGroupAndKeepsTheSettingsItDisables) {
    EXPECT_TRUE(control<QCheckBox>(1)->isChecked());
    EXPECT_EQ(control(1)->geometry(), QRect(18, 30, kPageWidth - 24 - 36, 21));
    EXPECT_EQ(store.find(1)->numbers, (QList<int>{11, 12}));
}

TEST_F(SettingsPages, BitBoxesStackInTheirFrameUnderOneNumber) {
    const Parameter* bits = store.find(3);
    ASSERT_EQ(bits->controls.size(), 8);
    EXPECT_EQ(control(3)->geometry(),
              QRect(12, group()->y() + group()->height() + 28, kPageWidth - 24, 252));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(bits->controls[i]->geometry(), QRect(18, 20 + 29 * i, 200, 21)) << i;
        EXPECT_EQ(store.numberOf(bits->controls[i]), 3) << i;
    }
}

TEST_F(SettingsPages, TableCellsAreNumberedColumnByColumnAndReachTheRightEdge) {
    const QLabel* rowOne = labelAt(panel(), kTableTop + 21 + 4);
    ASSERT_NE(rowOne, nullptr);
    const int m = rowOne->x() + rowOne->width() + 8;
    const int w = (kPageWidth - m) / 3;
    for (int cell = 0; cell < 6; ++cell) {
        const int left = m + cell / 2 * w;
        EXPECT_EQ(control(21 + cell)->geometry(),
                  QRect(left, kTableTop + 21 + 21 * (cell % 2), kPageWidth - left - 18, 21))
            << cell;
    }
    const QWidget* header = panel()->childAt(m + 2 * w + 2, kTableTop + 10); // the third caption
    ASSERT_NE(qobject_cast<const QLabel*>(header), nullptr);
    EXPECT_EQ(header->x(), m + 2 * w);
    EXPECT_EQ(header->width(), w - 3);
}

TEST_F(SettingsPages, ARichEditShowsItsFileReadOnlyAndClosesThePage) {
    const int richTop = kTableTop + 21 * 2 + 39 + 12;
    const auto* text = panel()->findChild<QTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->geometry(), QRect(12, richTop, kPageWidth - 24, 80));
    EXPECT_EQ(text->toPlainText(), u"Справка\nвторая строка"_s);
    EXPECT_FALSE(text->isEnabled());
    EXPECT_EQ(panel()->height(), richTop - 12 + 80 + 28);
}

TEST_F(SettingsPages, OnlyAPageNamedAfterABitmapShowsItWithItsCornerColourTransparent) {
    EXPECT_TRUE(pages->tabIcon(0).isNull());
    EXPECT_FALSE(pages->tabIcon(1).isNull());
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(images[0].toImage().pixel(0, 0), 0u);
    EXPECT_EQ(images[0].toImage().pixel(5, 5), qRgba(10, 20, 30, 255));
}

// The tab bar's icon cache keeps a copy of every distinct pixmap it painted: pages rebuilt at
// each connection must get the same pixmap again, or that cache grows with every connection.
TEST(PageImages, AnImageAskedForAgainIsTheSamePixmap) {
    TestApp<QApplication>();
    const TestDir dir;
    ASSERT_TRUE(QImage(32, 32, QImage::Format_RGB32).save(u"Page.bmp"_s));
    PageImages images;
    const qint64 first = images.image(u"Page.bmp"_s).cacheKey();
    EXPECT_EQ(images.image(u"Page.bmp"_s).cacheKey(), first);
}

TEST(PageImages, AnImageReplacedOnDiskIsReadAgain) {
    TestApp<QApplication>();
    const TestDir dir;
    ASSERT_TRUE(QImage(32, 32, QImage::Format_RGB32).save(u"Page.bmp"_s));
    PageImages images;
    static_cast<void>(images.image(u"Page.bmp"_s));
    ASSERT_TRUE(QImage(16, 16, QImage::Format_RGB32).save(u"Page.bmp"_s));
    EXPECT_EQ(images.image(u"Page.bmp"_s).width(), 16);
}

TEST(PageBuilder, HintsBreakAfterTheFirstSpaceBeyondFiftyCharacters) {
    const QString line = u"word "_s.repeated(11);
    EXPECT_EQ(PageBuilder::wrapHint(u"word "_s.repeated(24)),
              line + u'\n' + line + u'\n' + u"word word "_s);
    EXPECT_EQ(PageBuilder::wrapHint(QString(50, u'x') + u" y"_s), QString(50, u'x') + u" y"_s);
    EXPECT_EQ(PageBuilder::wrapHint(QString(51, u'x') + u" y"_s), QString(51, u'x') + u" \ny"_s);
}

TEST_F(SettingsPages, AWiderPageWidensTheComputedWidthsButNotAStatedOne) {
    window.show();
    window.resize(1000, 700);
    QApplication::processEvents();
    const int delta = panel()->width() - kPageWidth;
    EXPECT_GT(delta, 90);
    EXPECT_EQ(group()->width(), kPageWidth - 24 + delta);
    EXPECT_EQ(control(10)->width(), 120 + delta);
    EXPECT_EQ(control(6)->width(), 120 + delta);
    EXPECT_EQ(control(4)->width(), 120) << "the combo states its width";
}

// What the user types into a field, and how leaving it ends.
struct Typed {
    const char* name;
    int setting; // 31 is an integer, 34 a decimal field, both 0-100; 32 phones, 10 plain text
    QString text;
    char message;  // b: bad value, p: phones; none: accepted and marked changed
    QString shown; // the text then shown, if not the one typed
};

struct TypedValue : SettingsPages, ::testing::WithParamInterface<Typed> {};

TEST_P(TypedValue, IsAcceptedOrRefusedWithItsMessage) {
    const Typed& step = GetParam();
    edit(step.setting)->setText(u"7"_s); // so that emptying the field is a change
    EXPECT_EQ(type(step.setting, step.text), step.message == 0);
    if (step.message == 0) {
        EXPECT_TRUE(dialogs.shown.isEmpty());
    } else {
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].caption, u"Ошибка ввода"_s);
        EXPECT_EQ(dialogs.shown[0].text, step.message == 'b'
                                             ? u"Некорректное значение в поле редактирования"_s
                                             : u"Номера телефонов должны быть написанны корректно, "
                                               u"через запятую, без пробелов"_s);
    }
    EXPECT_EQ(edit(step.setting)->text(), step.shown.isEmpty() ? step.text : step.shown);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsPages, TypedValue,
    testing::Values(Typed{"IntegerAtTheLimit", 31, u"100"_s, 0, {}},
                    Typed{"IntegerOverTheLimit", 31, u"101"_s, 'b', {}},
                    Typed{"IntegerEmptied", 31, u""_s, 0, {}},
                    Typed{"IntegerMinusZero", 31, u"-0"_s, 0, {}},
                    Typed{"IntegerWithAPlus", 31, u"+5"_s, 'b', {}},
                    Typed{"IntegerOfTenDigits", 31, u"0000000005"_s, 0, {}},
                    Typed{"IntegerOfElevenDigits", 31, u"00000000005"_s, 'b', {}},
                    Typed{"DecimalPointShownAsComma", 34, u"1.5"_s, 0, u"1,5"_s},
                    Typed{"DecimalOfTwoPointsShownAsCommas", 34, u"2.5.1"_s, 'b', u"2,5,1"_s},
                    Typed{"DecimalCommaAlone", 34, u","_s, 'b', {}},
                    Typed{"DecimalMinusZero", 34, u"-0"_s, 'b', {}},
                    Typed{"DecimalOverTheLimit", 34, u"100,5"_s, 'b', {}},
                    Typed{"PhonesWithASpace", 32, u"+70, +71"_s, 'p', {}},
                    Typed{"PhonesByComma", 32, u"+70,+71"_s, 0, {}},
                    Typed{"PhonesNo", 32, u"NO"_s, 0, {}},
                    Typed{"PlainText", 10, u"any text"_s, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsPages, LeavingABoxUnchangedMarksNothing) {
    ASSERT_TRUE(type(10, u"any text"_s));
    EXPECT_FALSE(type(10, u"any text"_s));
}

TEST_F(SettingsPages, LeavingABoxKeepsTheRadioListUp) {
    type(10, u"any text"_s);
    EXPECT_EQ(upkeep.calls, (QStringList{u"10"_s, u"10any text"_s}));
}

TEST_F(SettingsPages, AComboItemSwitchesWhatItsRuleNames) {
    auto* combo = control<QComboBox>(4);
    combo->setCurrentIndex(1); // codes 3 and 9: the rule disables 10 on 9
    handlers.dropDownSelect(combo);
    EXPECT_FALSE(control(10)->isEnabled());
    combo->setCurrentIndex(0);
    handlers.dropDownSelect(combo);
    EXPECT_TRUE(control(10)->isEnabled());
    EXPECT_TRUE(store.find(4)->changed);
}

TEST_F(SettingsPages, ACheckBoxClickSwitchesItsListAndMarksIt) {
    auto* box = control<QCheckBox>(1);
    box->setChecked(false);
    click(box);
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(control(11)->isEnabled());
    EXPECT_FALSE(control(12)->isEnabled());
    EXPECT_TRUE(store.find(1)->changed);
}

TEST_F(SettingsPages, BothClicksOfADoubleClickKeepTheListInStepWithTheBox) {
    auto* box = control<QCheckBox>(1);
    box->setChecked(false);
    click(box);
    const QPoint inside(5, box->height() / 2);
    QTest::mouseDClick(box, Qt::LeftButton, {}, inside);
    QTest::mouseRelease(box, Qt::LeftButton, {}, inside);
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(control(11)->isEnabled());
    EXPECT_TRUE(control(12)->isEnabled());
}

TEST_F(SettingsPages, ABitClickMarksItsGroup) {
    click(store.find(3)->controls[1]);
    EXPECT_TRUE(store.find(3)->changed);
}

TEST_F(SettingsPages, FillingByTheProgramRunsNoRulesAndMarksNothing) {
    handlers.setInput(false);
    auto* combo = control<QComboBox>(4);
    combo->setCurrentIndex(1);
    handlers.dropDownSelect(combo);
    click(control(1));
    EXPECT_TRUE(control(10)->isEnabled());
    EXPECT_TRUE(control(11)->isEnabled());
    EXPECT_FALSE(store.anyChanged());
}

TEST_F(SettingsPages, FillingByTheProgramChecksNoTextButAChangeCounts) {
    handlers.setInput(false);
    EXPECT_TRUE(type(31, u"junk"_s));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(SettingsPages, AFieldHiddenOnPurposeIsNotChecked) {
    edit(31)->hide();
    edit(34)->hide();
    EXPECT_TRUE(type(31, u"junk"_s));
    EXPECT_TRUE(type(34, u"junk"_s));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(SettingsPages, TabAndShiftTabLeaveAVoiceField) {
    pages->setCurrentIndex(1);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QLineEdit* voice = edit(33);
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Tab, Qt::NoModifier}, {Qt::Key_Backtab, Qt::ShiftModifier}}) {
        voice->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), voice);
        QTest::keyClick(voice, key, modifiers);
        EXPECT_NE(QApplication::focusWidget(), voice) << key;
    }
    EXPECT_TRUE(voice->text().isEmpty());
}

TEST_F(SettingsPages, ControlKeysReachAVoiceFieldUntouched) {
    QLineEdit* voice = edit(33);
    voice->setText(u"armed"_s);
    QTest::keyClick(voice, Qt::Key_Home);
    QTest::keyClick(voice, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(voice->selectedText(), u"armed"_s) << "Ctrl+A selects the text";
    QSignalSpy returned(voice, &QLineEdit::returnPressed);
    QTest::keyClick(voice, Qt::Key_Return);
    EXPECT_EQ(returned.count(), 1);
}

// The voice field of the second page in a shown window, with its first key typed: no device,
// so the words of the newest entry are offered.
class VoiceWords : public SettingsPages {
protected:
    void SetUp() override {
        SettingsPages::SetUp();
        pages->setCurrentIndex(1);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        voice = edit(33);
        corner = voice->mapTo(&window, QPoint(0, voice->height()));
        QTest::keyClick(voice, Qt::Key_A);
        list = handlers.suggestions();
        ASSERT_NE(list, nullptr);
    }
    QLineEdit* voice = nullptr;
    QPoint corner;
    QListWidget* list = nullptr;
};

TEST_F(VoiceWords, OfferEveryWordWithTheFirstLetter) {
    EXPECT_EQ(list->count(), 3);
}

TEST_F(VoiceWords, RefuseAKeyThatNoWordContinues) {
    QTest::keyClick(voice, Qt::Key_X);
    EXPECT_EQ(voice->text(), u"a"_s);
}

TEST_F(VoiceWords, NarrowAsTheWordGrows) {
    QTest::keyClick(voice, Qt::Key_R);
    EXPECT_EQ(list->count(), 2);
}

TEST_F(VoiceWords, StayUnderTheFieldAsTheWordGrows) {
    QTest::keyClick(voice, Qt::Key_R);
    EXPECT_EQ(list->pos(), corner);
}

TEST_F(VoiceWords, FitTheLongestWordAndTheRows) {
    QTest::keyClick(voice, Qt::Key_R);
    EXPECT_EQ(list->size(),
              QSize(list->fontMetrics().horizontalAdvance(u"armed"_s) + 30, 14 * 2 + 21));
}

TEST_F(VoiceWords, TheChosenWordGoesIntoTheField) {
    QTest::keyClick(voice, Qt::Key_R);
    list->setCurrentRow(1);
    EXPECT_EQ(voice->text(), u"armed"_s);
}

TEST_F(VoiceWords, ASpaceOffersEveryWordAgain) {
    voice->setText(u"armed"_s);
    QTest::keyClick(voice, Qt::Key_Space);
    ASSERT_NE(handlers.suggestions(), nullptr);
    EXPECT_EQ(handlers.suggestions()->count(), 4);
}

TEST_F(VoiceWords, TheChosenWordReplacesOnlyTheLastOne) {
    voice->setText(u"armed "_s);
    QTest::keyClick(voice, Qt::Key_D);
    ASSERT_NE(handlers.suggestions(), nullptr);
    handlers.suggestions()->setCurrentRow(0);
    EXPECT_EQ(voice->text(), u"armed door"_s);
}

TEST_F(VoiceWords, EscapeClosesThem) {
    QTest::keyClick(voice, Qt::Key_Escape);
    EXPECT_EQ(handlers.suggestions(), nullptr);
}

TEST_F(VoiceWords, AWordTypedInFullClosesThem) {
    voice->setText(u"do"_s);
    QTest::keyClick(voice, Qt::Key_O);
    ASSERT_NE(handlers.suggestions(), nullptr);
    QTest::keyClick(voice, Qt::Key_R);
    EXPECT_EQ(handlers.suggestions(), nullptr);
}

TEST_F(VoiceWords, AFieldEmptiedAgainClosesThem) {
    QTest::keyClick(voice, Qt::Key_Backspace);
    EXPECT_EQ(handlers.suggestions(), nullptr);
}

TEST_F(VoiceWords, FollowTheFirmwareVersion) {
    handlers.setDeviceVersion(u"2.0"_s);
    voice->clear();
    QTest::keyClick(voice, Qt::Key_A);
    EXPECT_TRUE(voice->text().isEmpty()) << "the words for firmware 2.0 hold no such word";
}

// Leaving the field closes the list once the event is done, so a click on it still lands.
TEST_F(VoiceWords, LeavingTheFieldClosesThemAfterTheEvent) {
    handlers.editEnter(voice);
    handlers.editExit(voice);
    ASSERT_NE(handlers.suggestions(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([this] { return handlers.suggestions() == nullptr; }));
}

TEST_F(SettingsPages, ARejectedValueTakesTheFocusBack) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    pages->setCurrentIndex(1);
    edit(31)->setFocus();
    QApplication::processEvents();
    edit(31)->setText(u"500"_s);
    edit(34)->setFocus();
    QApplication::processEvents();
    QApplication::processEvents();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(edit(31)->hasFocus());
}

QString decimalFromDevice(QStringView value, int offset) {
    return ValueCodecs::double10FromDevice(value, offset, u",");
}

// Integer fields go to the device plus their offset; decimal ones as ten times (number +
// offset), halves away from zero, and come back without trailing zeros.
struct CodecRow {
    const char* name;
    QString (*convert)(QStringView, int);
    QString in;
    int offset;
    QString out;
};

class NumericField : public testing::TestWithParam<CodecRow> {};

TEST_P(NumericField, Converts) {
    EXPECT_EQ(GetParam().convert(GetParam().in, GetParam().offset), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    ValueCodecs, NumericField,
    testing::Values(
        CodecRow{"IntegerPlusOffset", ValueCodecs::integerToDevice, u"25"_s, 10, u"35"_s},
        CodecRow{"EmptyIntegerStaysEmpty", ValueCodecs::integerToDevice, u""_s, 10, u""_s},
        CodecRow{"IntegerMinusOffset", ValueCodecs::integerFromDevice, u"268"_s, 273, u"-5"_s},
        CodecRow{"HalfRoundsUp", ValueCodecs::double10ToDevice, u"2,25"_s, 0, u"23"_s},
        CodecRow{"NegativeHalfRoundsDown", ValueCodecs::double10ToDevice, u"-2,25"_s, 0, u"-23"_s},
        CodecRow{"DecimalPlusOffset", ValueCodecs::double10ToDevice, u"1,5"_s, 2, u"35"_s},
        CodecRow{"EmptyDecimalStaysEmpty", ValueCodecs::double10ToDevice, u""_s, 5, u""_s},
        CodecRow{"NoTrailingZero", decimalFromDevice, u"30"_s, 0, u"3"_s},
        CodecRow{"TenthsMinusOffset", decimalFromDevice, u"2731"_s, 273, u"0,1"_s},
        CodecRow{"NegativeTenths", decimalFromDevice, u"-15"_s, 0, u"-1,5"_s}),
    [](const auto& info) { return std::string(info.param.name); });

// A setting shown with a value from the device: what its control then shows (a bit group: its
// boxes, first to last) and the value the device gets back.
struct ShownRow {
    const char* name;
    int number;
    QString value;
    QString shown;
    QString read;
};

class ControlShowing : public SettingsPages, public testing::WithParamInterface<ShownRow> {
protected:
    void SetUp() override {
        SettingsPages::SetUp();
        (void)store.findOrAdd(900); // a setting without a control
        record = store.find(GetParam().number);
        ParameterStore::show(*record, GetParam().value);
    }
    Parameter* record = nullptr;
};

TEST_P(ControlShowing, ShowsTheValue) {
    QString state;
    for (const QCheckBox* bit : record->controls) {
        state += bit->isChecked() ? u'1' : u'0';
    }
    if (state.isEmpty() && record->control != nullptr) { // its text, item or check state
        state = record->control->metaObject()->userProperty().read(record->control).toString();
    }
    EXPECT_EQ(state, GetParam().shown);
}

TEST_P(ControlShowing, GivesTheDeviceValueBack) {
    EXPECT_EQ(ParameterStore::valueOf(*record), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ControlShowing,
    testing::Values(ShownRow{"IntegerLessItsOffset", 31, u"40"_s, u"30"_s, u"40"_s},
                    ShownRow{"DecimalInTenths", 34, u"35"_s, u"3,5"_s, u"35"_s},
                    ShownRow{"ComboItemOfTheCode", 35, u"5"_s, u"c"_s, u"5"_s},
                    ShownRow{"ComboWithAnUnknownCodeShowsTheFirst", 35, u"9"_s, u"a"_s, u"5"_s},
                    ShownRow{"ComboItemOfTheIndex", 5, u"2"_s, u"z"_s, u"2"_s},
                    ShownRow{"CheckBoxOnForAnyNonZero", 1, u"2"_s, u"true"_s, u"1"_s},
                    ShownRow{"BitsFirstToLast", 3, u"5"_s, u"10100000"_s, u"5"_s},
                    ShownRow{"BitsBeyondTheBoxes", 3, u"256"_s, u"00000000"_s, u"0"_s},
                    ShownRow{"NoControlKeepsTheText", 900, u"a b"_s, u""_s, u"a b"_s}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

// A Bits setting wider than the 32 bits a setting's value holds.
struct WideBits {
    const char* name;
    int checkedBox;
    QString value;
};

class BitsBeyond32 : public testing::TestWithParam<WideBits> {
protected:
    BitsBeyond32() {
        record.kind = Parameter::Kind::Bits;
        for (int i = 0; i < 40; ++i) {
            record.controls.append(new QCheckBox(&group));
        }
    }
    QApplication& app = TestApp<QApplication>();
    QWidget group;
    Parameter record;
};

TEST_P(BitsBeyond32, ValueCountsOnlyTheFirst32Boxes) {
    record.controls[GetParam().checkedBox]->setChecked(true);
    EXPECT_EQ(ParameterStore::valueOf(record), GetParam().value);
}

TEST_P(BitsBeyond32, ShowingTheValueChecksTheSameBox) {
    ParameterStore::show(record, GetParam().value);
    QList<int> checked;
    for (int i = 0; i < record.controls.size(); ++i) {
        if (record.controls[i]->isChecked()) {
            checked.append(i);
        }
    }
    const QList<int> expected = GetParam().checkedBox < Parameter::kBitCount
                                    ? QList<int>{GetParam().checkedBox}
                                    : QList<int>{};
    EXPECT_EQ(checked, expected);
}

INSTANTIATE_TEST_SUITE_P(Boxes, BitsBeyond32,
                         testing::Values(WideBits{"Box30", 30, u"1073741824"_s},
                                         WideBits{"Box31IsTheSignBit", 31, u"-2147483648"_s},
                                         WideBits{"Box32IsIgnored", 32, u"0"_s}),
                         [](const testing::TestParamInfo<WideBits>& info) {
                             return std::string(info.param.name);
                         });
