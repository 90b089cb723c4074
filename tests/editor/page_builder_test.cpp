#include "caption_group_box.h"
#include "page_builder.h"
#include "parameter_store.h"
#include "plan_text.h"
#include "test_dir.h"
#include "widget_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Pages are laid out for a page control 900 wide that is not shown: 896 for the page.
constexpr int kPageWidth = 896;

class PageBuilderTest : public ::testing::Test {
protected:
    void SetUp() override { pages.resize(900, 700); }

    void build(const char* text, const QString& folder = u"Interface/"_s) {
        const InterfacePlan plan = planOf(text);
        ASSERT_FALSE(plan.content.isEmpty());
        PageBuilder builder(&pages, store, nullptr, folder);
        builder.build(plan.content);
        images = builder.images();
    }
    QWidget* panel(int page = 0) { return pages.widget(page)->findChild<QWidget*>(); }
    template <class T> T* control(int number) {
        const Parameter* record = store.find(number);
        return record == nullptr ? nullptr : qobject_cast<T*>(record->control.data());
    }
    QLabel* labelAt(QWidget* container, int top) {
        for (QLabel* label : container->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->y() == top) {
                return label;
            }
        }
        return nullptr;
    }

    QApplication& app = widgetApp();
    QTabWidget pages;
    ParameterStore store;
    QList<QPixmap> images;
};

TEST_F(PageBuilderTest, EditListRowsLabelsHintsAndNumbers) {
    build(R"(Structure:
  - Type: Tab
    Caption: P
    Values: [10, 11, 12]
    Content:
      - Type: EditList
        Special: integer
        Limits: [0, 100]
        Offset: 5
        Captions: [A, Longer caption, C]
        Hints: [only the first]
)");
    ASSERT_EQ(store.size(), 3);
    QLineEdit* edits[] = {control<QLineEdit>(10), control<QLineEdit>(11), control<QLineEdit>(12)};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(edits[i], nullptr);
        EXPECT_EQ(edits[i]->y(), 12 + 29 * i);
        EXPECT_EQ(edits[i]->height(), 21);
        const QLabel* label = labelAt(panel(), 16 + 29 * i);
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->x(), 18);
        EXPECT_FALSE(label->font().bold());
    }
    EXPECT_EQ(edits[0]->toolTip(), u"only the first"_s);
    EXPECT_TRUE(edits[1]->toolTip().isEmpty());
    EXPECT_TRUE(edits[2]->toolTip().isEmpty());

    // Aligned: all start after the longest label and take the narrowest width.
    const QLabel* longest = labelAt(panel(), 16 + 29);
    const int left = longest->x() + longest->width() + 8;
    for (const QLineEdit* edit : edits) {
        EXPECT_EQ(edit->x(), left);
        EXPECT_EQ(edit->width(), kPageWidth - left - 18);
    }
    const Parameter* record = store.find(11);
    EXPECT_EQ(record->special, Parameter::Integer);
    EXPECT_EQ(record->limitHigh, 100);
    EXPECT_EQ(record->offset, 5);
    EXPECT_EQ(panel()->height(), 12 + 3 * 29);
}

TEST_F(PageBuilderTest, CombosUseOnlyAsManyCodesAsItemsAndAStatedWidth) {
    build(R"(Structure:
  - Type: Tab
    Caption: P
    Values: [4, 5]
    Content:
      - Type: ComboList
        Width: 120
        Contents:
          - - Mode
            - [Off, On]
            - [3, 9, 11]
      - Type: ComboSameList
        Captions: [Same]
        Contents: [x, y, z]
)");
    QComboBox* coded = control<QComboBox>(4);
    QComboBox* same = control<QComboBox>(5);
    ASSERT_NE(coded, nullptr);
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(coded->count(), 2);
    EXPECT_EQ(coded->currentIndex(), 0);
    EXPECT_EQ(store.find(4)->numbers, (QList<int>{3, 9}));
    EXPECT_TRUE(store.find(5)->numbers.isEmpty());
    EXPECT_EQ(same->count(), 3);
    // The alignment pass gives every value control the narrowest width: the stated 120.
    EXPECT_EQ(coded->width(), 120);
    EXPECT_EQ(same->width(), 120);
    EXPECT_EQ(coded->x(), same->x());
}

TEST_F(PageBuilderTest, TableCellsAreNumberedColumnByColumn) {
    build(R"(Structure:
  - Type: Tab
    Caption: P
    Values: [1, 2, 3, 4, 5, 6, 7]
    Content:
      - Type: Table
        Columns: [X, Y, Z]
        Lines: [Row one, Two]
      - Type: Label
        Caption: after
)");
    EXPECT_EQ(store.size(), 6);
    const QLabel* rowOne = labelAt(panel(), 12 + 21 + 4);
    ASSERT_NE(rowOne, nullptr);
    const int m = rowOne->x() + rowOne->width() + 8;
    const int w = (kPageWidth - m) / 3;
    const int expected[3][2] = {{1, 2}, {3, 4}, {5, 6}};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 2; ++r) {
            const QLineEdit* cell = control<QLineEdit>(expected[c][r]);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->x(), m + c * w) << c << r;
            EXPECT_EQ(cell->y(), 12 + 21 + 21 * r);
            EXPECT_EQ(cell->width(), kPageWidth - (m + c * w) - 18);
        }
    }
    int headers = 0;
    for (const QLabel* label : panel()->findChildren<QLabel*>()) {
        if (label->y() == 12 + 8) {
            EXPECT_EQ(label->x(), m + headers * w);
            EXPECT_EQ(label->width(), w - 3);
            ++headers;
        }
    }
    EXPECT_EQ(headers, 3);
    EXPECT_NE(labelAt(panel(), 12 + 21 * 2 + 39 + 4), nullptr) << "the next row follows the table";
    EXPECT_EQ(store.find(7), nullptr);
}

TEST_F(PageBuilderTest, GroupsAndBitGroups) {
    build(R"(Structure:
  - Type: Tab
    Caption: P
    Values: [1, 2, 3]
    Content:
      - Type: GroupBox
        Caption: Group
        Hint: group hint
        Content:
          - Type: CheckList
            Captions: [One, Two]
            Disable:
              - [7, 8]
      - Type: CheckBits
        Caption: Bits
        Width: 200
        Bits: [b0, b1, b2, b3, b4, b5, b6, b7]
        Hints: [first bit]
)");
    auto* group = qobject_cast<CaptionGroupBox*>(control<QCheckBox>(1)->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->geometry(), QRect(12, 12 + 12, kPageWidth - 24, 30 + 2 * 29));
    EXPECT_TRUE(group->captionFont().bold());
    EXPECT_FALSE(control<QCheckBox>(1)->font().bold());
    EXPECT_EQ(group->toolTip(), u"group hint"_s);

    QCheckBox* one = control<QCheckBox>(1);
    EXPECT_TRUE(one->isChecked());
    EXPECT_EQ(one->geometry(), QRect(18, 30, kPageWidth - 24 - 36, 21));
    EXPECT_EQ(store.find(1)->numbers, (QList<int>{7, 8}));
    EXPECT_TRUE(store.find(2)->numbers.isEmpty());

    const Parameter* bits = store.find(3);
    ASSERT_EQ(bits->kind, Parameter::Bits);
    auto* frame = qobject_cast<CaptionGroupBox*>(bits->control.data());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->height(), 252);
    EXPECT_EQ(frame->y(), 12 + group->height() + 28 + 12);
    ASSERT_EQ(bits->controls.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(bits->controls[i]->geometry(), QRect(18, 20 + 29 * i, 200, 21));
        EXPECT_EQ(store.numberOf(bits->controls[i]), 3);
    }
    EXPECT_EQ(bits->controls[0]->toolTip(), u"first bit"_s);
    EXPECT_TRUE(bits->controls[1]->toolTip().isEmpty());
    EXPECT_EQ(panel()->height(), frame->y() - 12 + 252 + 28);
}

TEST_F(PageBuilderTest, HintsBreakAfterASpaceBeyondFiftyCharacters) {
    QString hint;
    while (hint.size() < 120) {
        hint += u"word "_s;
    }
    hint.truncate(120);
    const QString wrapped = PageBuilder::wrapHint(hint);
    EXPECT_EQ(wrapped.count(u'\n'), 2);
    for (const QString& line : wrapped.split(u'\n')) {
        EXPECT_LE(line.size(), 56);
    }
    EXPECT_EQ(QString(wrapped).remove(u'\n'), hint);
    EXPECT_EQ(PageBuilder::wrapHint(u"short hint"), u"short hint"_s);
    const QString noSpaces(80, u'x');
    EXPECT_EQ(PageBuilder::wrapHint(noSpaces), noSpaces);
}

TEST_F(PageBuilderTest, PageImagesAndRichText) {
    TestDir dir;
    QDir().mkdir(u"Interface"_s);
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    image.setPixel(5, 5, qRgb(10, 20, 30));
    ASSERT_TRUE(image.save(u"Interface/Second.bmp"_s));
    dir.writeFile(u"Interface/help.txt"_s, "Справка\nвторая строка");

    build(R"(Structure:
  - Type: Tab
    Caption: First
    Content:
      - Type: RichEdit
        Height: 80
        File: help.txt
  - Type: Tab
    Caption: Second
    Content: []
)");
    ASSERT_EQ(pages.count(), 2);
    EXPECT_TRUE(pages.tabIcon(0).isNull());
    ASSERT_FALSE(pages.tabIcon(1).isNull());
    ASSERT_EQ(images.size(), 1);
    const QImage shown = images[0].toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0) << "the top-left colour is transparent";
    EXPECT_EQ(shown.pixel(5, 5), qRgba(10, 20, 30, 255));

    const auto* text = panel(0)->findChild<QTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->geometry(), QRect(12, 24, kPageWidth - 24, 80));
    EXPECT_FALSE(text->isEnabled());
    EXPECT_EQ(text->toPlainText(), u"Справка\nвторая строка"_s);
    EXPECT_EQ(panel(0)->height(), 12 + 80 + 28);
}

TEST_F(PageBuilderTest, ATemplateCalledThreeTimesStacksAndTakesNumbersEachTime) {
    build(R"(Templates:
  Row:
    - Type: EditList
      Captions: [0]
Structure:
  - Type: Tab
    Caption: P
    Values: [31, 32, 33]
    Content:
      - Type: TemplateList
        Name: Row
        Params:
          - [a]
          - [b]
          - [c]
)");
    for (int i = 0; i < 3; ++i) {
        const QLineEdit* edit = control<QLineEdit>(31 + i);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->y(), 12 + 29 * i);
        EXPECT_EQ(labelAt(panel(), 16 + 29 * i)->text(), QString(QChar(u'a' + i)));
    }
}

TEST_F(PageBuilderTest, AlignmentSpansPagesAndGroupsAndAnchorsFollowTheWidth) {
    build(R"(Structure:
  - Type: Tab
    Caption: P1
    Values: [1, 2]
    Content:
      - Type: EditList
        Captions: [A]
      - Type: GroupBox
        Caption: G
        Content:
          - Type: EditList
            Captions: [A much longer caption than the first]
  - Type: Tab
    Caption: P2
    Content:
      - Type: ComboList
        Width: 400
        Contents:
          - - C
            - [x]
)");
    QLineEdit* top = control<QLineEdit>(1);
    QLineEdit* nested = control<QLineEdit>(2);
    // The second page has no Values and continues the exhausted list: its combo gets 0.
    QComboBox* combo = control<QComboBox>(0);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(nested, nullptr);
    ASSERT_NE(combo, nullptr);
    const QLabel* longLabel = labelAt(nested->parentWidget(), 30 + 4);
    const int left = longLabel->x() + longLabel->width() + 8;
    const int narrowest = std::min(400, (kPageWidth - 24) - left - 18);
    for (const QWidget* control : {static_cast<QWidget*>(top), static_cast<QWidget*>(nested),
                                   static_cast<QWidget*>(combo)}) {
        EXPECT_EQ(control->x(), left);
        EXPECT_EQ(control->width(), narrowest);
    }

    // A wider window: the panel, the group and the controls that reach the right edge follow
    // the page; the combo of stated width keeps its width.
    pages.show();
    pages.resize(1000, 700);
    QApplication::processEvents();
    const int delta = panel(0)->width() - kPageWidth;
    EXPECT_GT(delta, 90);
    EXPECT_EQ(panel(0)->width(), pages.widget(0)->width());
    EXPECT_EQ(nested->parentWidget()->width(), kPageWidth - 24 + delta);
    EXPECT_EQ(top->width(), narrowest + delta);
    EXPECT_EQ(nested->width(), narrowest + delta);
    pages.setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(panel(1)->width(), pages.widget(1)->width());
    EXPECT_EQ(combo->width(), narrowest);
}

} // namespace
