#include "caption_group_box.h"
#include "editor_test_support.h"
#include "page_builder.h"
#include "parameter_store.h"
#include "test_dir.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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

// Every kind on one page; the second page is named after a bitmap.
const char kPages[] = R"(Structure:
  - Type: Tab
    Caption: First
    Values: [10, 11, 12, 4, 5, 1, 2, 6, 3, 21, 22, 23, 24, 25, 26]
    Content:
      - Type: EditList
        Captions: [A, Longer caption, C]
        Hints: [the first]
      - Type: ComboList
        Width: 120
        Contents:
          - - Mode
            - [Off, On]
            - [3, 9, 11]
      - Type: ComboSameList
        Captions: [Same]
        Contents: [x, y, z]
      - Type: GroupBox
        Caption: Group
        Hint: a group hint of more than fifty characters, shown as it is written
        Content:
          - Type: CheckList
            Captions: [One, Two]
            Disable:
              - [7, 8]
          - Type: EditList
            Captions: [A much longer caption than any other]
      - Type: CheckBits
        Caption: Bits
        Width: 200
        Bits: [b0, b1, b2, b3, b4, b5, b6, b7]
        Hints: [first bit]
      - Type: Table
        Columns: [X, Y, Z]
        Lines: [Row one, Two]
      - Type: RichEdit
        Height: 80
        File: help.txt
  - Type: Tab
    Caption: Second
    Content: []
)";

class PageBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkdir(u"Interface"_s);
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 255));
        image.setPixel(5, 5, qRgb(10, 20, 30));
        ASSERT_TRUE(image.save(u"Interface/Second.bmp"_s));
        dir.writeFile(u"Interface/help.txt"_s, "Справка\nвторая строка");
        pages.resize(900, 700);
        PageBuilder builder(&pages, store, nullptr, u"Interface/"_s);
        builder.build(planOf(kPages).content);
        images = builder.images();
        panel = pages.widget(0)->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_NE(panel, nullptr);
    }
    template <class T> T* control(int number) {
        const Parameter* record = store.find(number);
        return record == nullptr ? nullptr : qobject_cast<T*>(record->control.data());
    }
    QLabel* labelAt(const QWidget* container, int top) const {
        for (QLabel* label : container->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->y() == top) {
                return label;
            }
        }
        return nullptr;
    }

    QApplication& app = widgetApp();
    TestDir dir;
    QTabWidget pages;
    ParameterStore store;
    QList<QPixmap> images;
    QWidget* panel = nullptr;
};

TEST_F(PageBuilderTest, LabelledRowsAreAlignedAcrossGroupsAndFollowTheWidth) {
    QWidget* values[] = {control<QLineEdit>(10), control<QLineEdit>(11), control<QLineEdit>(12),
                         control<QComboBox>(4),  control<QComboBox>(5),  control<QLineEdit>(6)};
    for (int row = 0; row < 5; ++row) {
        ASSERT_NE(values[row], nullptr) << row;
        EXPECT_EQ(values[row]->y(), 12 + 29 * row);
        EXPECT_EQ(values[row]->height(), 21);
        const QLabel* label = labelAt(panel, 16 + 29 * row);
        ASSERT_NE(label, nullptr) << row;
        EXPECT_EQ(label->x(), 18);
        EXPECT_FALSE(label->font().bold());
    }
    EXPECT_EQ(qobject_cast<QComboBox*>(values[3])->currentIndex(), 0);
    EXPECT_EQ(values[0]->toolTip(), u"the first"_s);
    EXPECT_TRUE(values[1]->toolTip().isEmpty());
    // One left edge after the longest caption (inside the group), the narrowest width: the
    // stated 120.
    const QLabel* longest = labelAt(values[5]->parentWidget(), 30 + 2 * 29 + 4);
    ASSERT_NE(longest, nullptr);
    for (const QWidget* value : values) {
        EXPECT_EQ(value->x(), longest->x() + longest->width() + 8);
        EXPECT_EQ(value->width(), 120);
    }
    EXPECT_EQ(store.find(4)->numbers, (QList<int>{3, 9})) << "as many codes as items";
    EXPECT_TRUE(store.find(5)->numbers.isEmpty());

    // A wider page: the controls whose width was computed follow it; the stated width stays.
    pages.show();
    pages.resize(1000, 700);
    QApplication::processEvents();
    const int delta = panel->width() - kPageWidth;
    EXPECT_GT(delta, 90);
    EXPECT_EQ(values[5]->parentWidget()->width(), kPageWidth - 24 + delta);
    for (const QWidget* value : values) {
        EXPECT_EQ(value->width(), value == values[3] ? 120 : 120 + delta);
    }
}

TEST_F(PageBuilderTest, GroupsAndBitGroups) {
    auto* group = qobject_cast<CaptionGroupBox*>(control<QCheckBox>(1)->parentWidget());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->geometry(), QRect(12, 5 * 29 + 12 + 12, kPageWidth - 24, 30 + 3 * 29));
    EXPECT_TRUE(group->captionFont().bold());
    EXPECT_FALSE(control<QCheckBox>(1)->font().bold());
    EXPECT_FALSE(group->toolTip().contains(u'\n'));
    QCheckBox* one = control<QCheckBox>(1);
    EXPECT_TRUE(one->isChecked());
    EXPECT_EQ(one->geometry(), QRect(18, 30, kPageWidth - 24 - 36, 21));
    EXPECT_EQ(store.find(1)->numbers, (QList<int>{7, 8}));
    EXPECT_TRUE(store.find(2)->numbers.isEmpty());

    const Parameter* bits = store.find(3);
    ASSERT_EQ(bits->kind, Parameter::Bits);
    auto* frame = qobject_cast<CaptionGroupBox*>(bits->control.data());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(),
              QRect(12, group->y() + group->height() + 28, kPageWidth - 24, 252));
    ASSERT_EQ(bits->controls.size(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(bits->controls[i]->geometry(), QRect(18, 20 + 29 * i, 200, 21));
        EXPECT_EQ(store.numberOf(bits->controls[i]), 3);
    }
    EXPECT_EQ(bits->controls[0]->toolTip(), u"first bit"_s);
    EXPECT_TRUE(bits->controls[1]->toolTip().isEmpty());
}

TEST_F(PageBuilderTest, TablesRichTextAndTheRunningPosition) {
    const int y = 5 * 29 + 12 + (30 + 3 * 29 + 28) + (252 + 28);
    const QLabel* rowOne = labelAt(panel, y + 21 + 4);
    ASSERT_NE(rowOne, nullptr);
    const int m = rowOne->x() + rowOne->width() + 8;
    const int w = (kPageWidth - m) / 3;
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 2; ++r) {
            const QLineEdit* cell = control<QLineEdit>(21 + 2 * c + r);
            ASSERT_NE(cell, nullptr) << "numbers go column by column";
            EXPECT_EQ(cell->geometry(),
                      QRect(m + c * w, y + 21 + 21 * r, kPageWidth - (m + c * w) - 18, 21));
        }
    }
    QList<int> headers; // left and width of each column caption
    for (const QLabel* label : panel->findChildren<QLabel*>()) {
        if (label->y() == y + 8) {
            headers << label->x() << label->width();
        }
    }
    EXPECT_EQ(headers, (QList<int>{m, w - 3, m + w, w - 3, m + 2 * w, w - 3}));

    const int richTop = y + 21 * 2 + 39 + 12;
    const auto* text = panel->findChild<QTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->geometry(), QRect(12, richTop, kPageWidth - 24, 80));
    EXPECT_FALSE(text->isEnabled());
    EXPECT_EQ(text->toPlainText(), u"Справка\nвторая строка"_s);
    EXPECT_EQ(panel->height(), richTop - 12 + 80 + 28);
}

TEST_F(PageBuilderTest, OnlyAPageWithABitmapShowsItsImage) {
    ASSERT_EQ(pages.count(), 2);
    EXPECT_EQ(pages.tabText(1), u"Second"_s);
    EXPECT_TRUE(pages.tabIcon(0).isNull());
    ASSERT_FALSE(pages.tabIcon(1).isNull());
    ASSERT_EQ(images.size(), 1);
    const QImage shown = images[0].toImage();
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0) << "the top-left colour is transparent";
    EXPECT_EQ(shown.pixel(5, 5), qRgba(10, 20, 30, 255));
}

TEST(PageBuilderHints, ALineBreakFollowsEachSpaceBeyondFiftyCharacters) {
    // Spaces at 4, 9, ... 54 of each line: the one at 54 is the first beyond 50.
    const QString hint = u"word "_s.repeated(24);
    const QString line = u"word "_s.repeated(11);
    EXPECT_EQ(PageBuilder::wrapHint(hint), line + u'\n' + line + u'\n' + u"word word "_s);
    const QString space50 = QString(50, u'x') + u" y"_s;
    EXPECT_EQ(PageBuilder::wrapHint(space50), space50);
    EXPECT_EQ(PageBuilder::wrapHint(QString(51, u'x') + u" y"_s), QString(51, u'x') + u" \ny"_s);
}

} // namespace
