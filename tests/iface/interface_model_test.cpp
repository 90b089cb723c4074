#include "device_type.h"
#include "interface_model.h"
#include "yaml_root.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const char kExample[] = R"(Templates:
  Phone:
    - Type: EditList
      Special: phone
      Captions: [0]
Structure:
  - Type: Tab
    Caption: Main
    Values: [1, 2, 3, 4]
    Content:
      - Type: GroupBox
        Caption: Calls
        Content:
          - Type: TemplateList
            Name: Phone
            Params:
              - [Number 1]
              - [Number 2]
      - Type: ComboList
        Contents:
          - - Mode
            - [Off, On, Auto]
            - [0, 1, 5]
      - Type: CheckBits
        Caption: Outputs
        Bits: [Out 1, Out 2, Out 3]
Disables:
  - Trigger: 3
    Affects:
      - Who: 4
        ByValue: [0]
Voices:
  - - 1.0
    - [one, two, three]
)";

InterfacePlan planOf(const char* text, int type = 415,
                     const QString& version = QStringLiteral("9.99")) {
    YamlRoot document;
    EXPECT_TRUE(document.parse(QString::fromUtf8(text))) << text;
    return InterfaceModel::plan(document.root(), type, version);
}

// Every control in creation order as "caption=setting".
void flatten(const QList<PlanItem>& items, QStringList& out) {
    for (const PlanItem& item : items) {
        switch (item.type) {
        case PlanItem::Type::Tab:
        case PlanItem::Type::GroupBox:
            flatten(item.content, out);
            break;
        case PlanItem::Type::Edit:
        case PlanItem::Type::Combo:
        case PlanItem::Type::Check:
        case PlanItem::Type::Bits:
            out.append(item.caption + u'=' + QString::number(item.setting));
            break;
        case PlanItem::Type::Label:
            out.append(item.caption);
            break;
        case PlanItem::Type::Table:
            for (const QList<int>& column : item.cells) {
                for (const int n : column) {
                    out.append(QStringLiteral("cell=") + QString::number(n));
                }
            }
            break;
        case PlanItem::Type::RichEdit:
            out.append(item.file);
            break;
        }
    }
}

QString controls(const char* text, int type = 415,
                 const QString& version = QStringLiteral("9.99")) {
    QStringList out;
    flatten(planOf(text, type, version).content, out);
    return out.join(u' ');
}

TEST(InterfaceModel, ExampleGivesSettingsOneToFour) {
    const InterfacePlan plan = planOf(kExample);
    ASSERT_EQ(plan.content.size(), 1);
    const PlanItem& tab = plan.content[0];
    EXPECT_EQ(tab.type, PlanItem::Type::Tab);
    EXPECT_EQ(tab.caption, u"Main");
    ASSERT_EQ(tab.content.size(), 3);
    const PlanItem& group = tab.content[0];
    EXPECT_EQ(group.type, PlanItem::Type::GroupBox);
    ASSERT_EQ(group.content.size(), 2);
    EXPECT_EQ(group.content[1].caption, u"Number 2");
    EXPECT_EQ(group.content[1].special, PlanItem::Special::Phone);
    const PlanItem& combo = tab.content[1];
    EXPECT_EQ(combo.items, QStringList({u"Off"_s, u"On"_s, u"Auto"_s}));
    ASSERT_TRUE(combo.codes.has_value());
    EXPECT_EQ(*combo.codes, QList<int>({0, 1, 5}));
    const PlanItem& bits = tab.content[2];
    EXPECT_EQ(bits.bits.size(), 3);
    EXPECT_EQ(controls(kExample), u"Number 1=1 Number 2=2 Mode=3 Outputs=4");

    ASSERT_EQ(plan.disables.size(), 1);
    EXPECT_EQ(plan.disables[0].trigger, 3);
    EXPECT_EQ(plan.disables[0].who, 4);
    EXPECT_EQ(plan.disables[0].values, QList<int>({0}));
    ASSERT_EQ(plan.voices.size(), 1);
    EXPECT_EQ(plan.voices[0].version, u"1.0");
    EXPECT_EQ(plan.voices[0].words, QStringList({u"one"_s, u"two"_s, u"three"_s}));
}

TEST(InterfaceModel, NoModelOrNoRootBuildsNothing) {
    const InterfacePlan none = planOf(kExample, 0);
    EXPECT_TRUE(none.content.isEmpty());
    EXPECT_TRUE(none.disables.isEmpty());
    EXPECT_TRUE(none.voices.isEmpty());
    EXPECT_TRUE(InterfaceModel::plan(Node(), 415, u"9.99").content.isEmpty());
}

TEST(InterfaceModel, SelectionByTypeAndVersion) {
    const char text[] = R"(Structure:
  - Type: Label
    Caption: always
  - Type: Label
    Caption: except406
    HW_except: [406]
  - Type: Label
    Caption: only406and412
    HW: [406, 412]
  - Type: Label
    Caption: both
    HW: [406]
    HW_except: [406]
  - Type: Label
    Caption: padded
    HW: ["0406"]
  - Type: Label
    Caption: since1.7
    SinceVer: 1.7
  - Type: Label
    Caption: till1.66
    TillVer: 1.66
  - Type: Label
    Caption: since10
    SinceVer: 10.0
  - Type: Label
    Caption: till9.99
    TillVer: 9.99
)";
    struct Case {
        int type;
        const char16_t* version;
        const char16_t* shown;
    };
    const Case cases[] = {
        {406, u"9.99", u"always only406and412 since1.7"},
        {412, u"1.66", u"always except406 only406and412 since1.7 till9.99"},
        {415, u"1.5", u"always except406 till1.66 till9.99"},
        {403, u"1.7", u"always except406 since1.7 till1.66 till9.99"},
        {414, u"10.0", u"always except406 since1.7 since10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(controls(text, c.type, QString::fromUtf16(c.version)),
                  QString::fromUtf16(c.shown))
            << c.type << " " << QString::fromUtf16(c.version).toStdString();
    }
}

TEST(InterfaceModel, NumberListCarriesOverAndSkippedElementsTakeNothing) {
    const char text[] = R"(Structure:
  - Type: Tab
    Caption: A
    Values: [10, 11, 12, 13, 14]
    Content:
      - Type: EditList
        Captions: [a, b]
      - Type: EditList
        HW: [406]
        Values: [90, 91]
        Captions: [skipped]
      - Type: GroupBox
        Caption: G
        Content:
          - Type: CheckList
            Captions: [c]
  - Type: Tab
    Caption: B
    Content:
      - Type: ComboSameList
        Captions: [d, e]
        Contents: [x, y]
      - Type: EditList
        Captions: [f]
  - Type: Tab
    Caption: C
    Content:
      - Type: EditList
        Values: [7]
        Captions: [g]
      - Type: EditList
        Captions: [h]
)";
    EXPECT_EQ(controls(text), u"a=10 b=11 c=12 d=13 e=14 f=0 g=7 h=0");
}

TEST(InterfaceModel, TableTakesNumbersColumnByColumn) {
    const char text[] = R"(Structure:
  - Type: Table
    Values: [1, 2, 3, 4, 5, 6, 7]
    Columns: [Mon, Tue, Wed]
    Lines: [From, To]
  - Type: Label
    Caption: after
  - Type: EditList
    Captions: [next]
)";
    const InterfacePlan plan = planOf(text);
    ASSERT_EQ(plan.content.size(), 3);
    const PlanItem& table = plan.content[0];
    EXPECT_EQ(table.columns, QStringList({u"Mon"_s, u"Tue"_s, u"Wed"_s}));
    EXPECT_EQ(table.lines, QStringList({u"From"_s, u"To"_s}));
    EXPECT_EQ(table.cells, QList<QList<int>>({{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(controls(text), u"cell=1 cell=2 cell=3 cell=4 cell=5 cell=6 after next=7");
}

TEST(InterfaceModel, TemplatesResolveDigitsThroughNestedCalls) {
    const char text[] = R"(Templates:
  Inner:
    - Type: Label
      Caption: 0
    - Type: Label
      Caption: 1
    - Type: Label
      Caption: 2
  Outer:
    - Type: Label
      Caption: 0
    - Type: TemplateList
      Name: Inner
      Params:
        - [1, "3", 7]
        - [0, 12, 5]
Structure:
  - Type: TemplateList
    Name: Outer
    Params:
      - [first, second]
  - Type: Label
    Caption: 4
  - Type: Label
    Caption: "4"
  - Type: TemplateList
    Name: Missing
    Params:
      - [x]
)";
    // Inner (1, "3", 7) inside Outer (first, second): 1 -> Outer's argument 1, "3" is literal,
    // 7 -> Outer has no argument 7. Inner (0, 12, 5): 0 -> first, 12 literal, 5 -> none.
    EXPECT_EQ(controls(text), u"first second 3  first 12  THIS CAN NOT BE!!! 4");
}

TEST(InterfaceModel, TemplateArgumentsFeedEveryShownText) {
    const char text[] = R"(Templates:
  Zone:
    - Type: EditList
      Special: integer
      Limits: [1, 9]
      Offset: 3
      Captions: [0]
      Hints: [1]
    - Type: ComboList
      Width: 120
      Contents:
        - - 0
          - [1, 2]
          - [5, 6, 7]
        - - 2
          - [a, b, c]
          - [9]
    - Type: CheckList
      Captions: [0, 1]
      Disable:
        - [4, 5]
    - Type: CheckBits
      Caption: 0
      Hint: 2
      Hints: [1]
      Bits: [0, 1]
Structure:
  - Type: TemplateList
    Name: Zone
    Values: [20, 21, 22, 23, 24, 25]
    Params:
      - [Zone, Help, Third]
)";
    const InterfacePlan plan = planOf(text);
    ASSERT_EQ(plan.content.size(), 6);
    const PlanItem& edit = plan.content[0];
    EXPECT_EQ(edit.caption, u"Zone");
    EXPECT_EQ(edit.hint, u"Help");
    EXPECT_EQ(edit.special, PlanItem::Special::Integer);
    EXPECT_EQ(edit.limitLow, 1);
    EXPECT_EQ(edit.limitHigh, 9);
    EXPECT_EQ(edit.offset, 3);
    const PlanItem& combo = plan.content[1];
    EXPECT_EQ(combo.width, 120);
    EXPECT_EQ(combo.items, QStringList({u"Help"_s, u"Third"_s}));
    EXPECT_EQ(*combo.codes, QList<int>({5, 6}));
    EXPECT_EQ(plan.content[2].caption, u"Third");
    EXPECT_EQ(*plan.content[2].codes, QList<int>({9, 0, 0}));
    EXPECT_EQ(plan.content[3].caption, u"Zone");
    EXPECT_EQ(*plan.content[3].disables, QList<int>({4, 5}));
    EXPECT_FALSE(plan.content[4].disables.has_value());
    const PlanItem& bits = plan.content[5];
    EXPECT_EQ(bits.caption, u"Zone");
    EXPECT_EQ(bits.hint, u"Third");
    EXPECT_EQ(bits.bits, QStringList({u"Zone"_s, u"Help"_s}));
    EXPECT_EQ(bits.bitHints, QStringList({u"Help"_s}));
    EXPECT_EQ(controls(text), u"Zone=20 Zone=21 Third=22 Zone=23 Help=24 Zone=25");
}

TEST(InterfaceModel, LimitsOnlyForNumberFields) {
    const char text[] = R"(Structure:
  - Type: EditList
    Special: phone
    Limits: [1, 9]
    Offset: 3
    Captions: [p]
  - Type: EditList
    Special: double10
    Captions: [d]
  - Type: EditList
    Special: something
    Captions: [s]
)";
    const InterfacePlan plan = planOf(text);
    ASSERT_EQ(plan.content.size(), 3);
    EXPECT_EQ(plan.content[0].limitHigh, 0);
    EXPECT_EQ(plan.content[0].offset, 0);
    EXPECT_EQ(plan.content[1].special, PlanItem::Special::Double10);
    EXPECT_EQ(plan.content[2].special, PlanItem::Special::Plain);
}

TEST(InterfaceModel, UnknownTypesAndRunawayTemplatesBuildNothingMore) {
    const char text[] = R"(Templates:
  Loop:
    - Type: Label
      Caption: 0
    - Type: TemplateList
      Name: Loop
      Params:
        - [again]
Structure:
  - Type: Slider
    Values: [5]
    Caption: x
  - Type: EditList
    Captions: [after]
  - Type: TemplateList
    Name: Loop
    Params:
      - [again]
)";
    const InterfacePlan plan = planOf(text);
    ASSERT_GE(plan.content.size(), 2);
    EXPECT_EQ(plan.content[0].setting, 5);
    EXPECT_TRUE(plan.truncated);
    EXPECT_LT(plan.content.size(), InterfaceModel::kMaxDepth + 2);
    EXPECT_FALSE(planOf(kExample).truncated);
}

TEST(InterfaceModel, DisablesAccumulateInTheRuleTable) {
    const char text[] = R"(Disables:
  - Trigger: 5
    Affects:
      - Who: 6
        ByValue: [0, 2]
      - Who: 7
        ByValue: [1]
  - Trigger: 5
    Affects:
      - Who: 6
        ByValue: [3]
)";
    const InterfacePlan plan = planOf(text);
    ASSERT_EQ(plan.disables.size(), 3);
    DisableTable table;
    table[9][1].insert(4);
    plan.addDisablesTo(table);
    EXPECT_EQ(table[5][6], QSet<int>({0, 2, 3}));
    EXPECT_EQ(table[5][7], QSet<int>({1}));
    EXPECT_EQ(table[9][1], QSet<int>({4}));
}

TEST(DeviceType, CodesByListPosition) {
    const int expected[] = {0, 406, 412, 403, 414, 415};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(DeviceType::codeForPosition(i), expected[i]);
    }
    EXPECT_EQ(DeviceType::codeForPosition(6), 0);
    EXPECT_EQ(DeviceType::codeForPosition(-1), 0);
    EXPECT_EQ(DeviceType::noDeviceVersion(), u"9.99");
}

} // namespace
