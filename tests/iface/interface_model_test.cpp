#include "device_type.h"
#include "interface_model.h"
#include "yaml_root.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

InterfacePlan planOf(const char* text, int type = 415, const QString& version = u"9.99"_s) {
    YamlRoot document;
    EXPECT_TRUE(document.parse(QString::fromUtf8(text))) << text;
    return InterfaceModel::plan(document.root(), type, version);
}

// Every control in creation order as "caption=setting" (labels by caption, table cells as
// "cell=setting").
void flatten(const QList<PlanItem>& items, QStringList& out) {
    for (const PlanItem& item : items) {
        flatten(item.content, out);
        if (item.type == PlanItem::Type::Label) {
            out.append(item.caption);
        } else if (item.type != PlanItem::Type::Tab && item.type != PlanItem::Type::GroupBox &&
                   item.type != PlanItem::Type::Table) {
            out.append(item.caption + u'=' + QString::number(item.setting));
        }
        for (const QList<int>& column : item.cells) {
            for (const int n : column) {
                out.append(u"cell="_s + QString::number(n));
            }
        }
    }
}

QString controls(const char* text, int type = 415, const QString& version = u"9.99"_s) {
    QStringList out;
    flatten(planOf(text, type, version).content, out);
    return out.join(u' ');
}

TEST(InterfaceModel, ExampleGivesSettingsOneToFour) {
    const char example[] = R"(Templates:
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
    const InterfacePlan plan = planOf(example);
    EXPECT_EQ(controls(example), u"Number 1=1 Number 2=2 Mode=3 Outputs=4");
    ASSERT_EQ(plan.disables.size(), 1);
    EXPECT_EQ(QList<int>({plan.disables[0].trigger, plan.disables[0].who}), QList<int>({3, 4}));
    EXPECT_EQ(plan.disables[0].values, QList<int>({0}));
    ASSERT_EQ(plan.voices.size(), 1);
    EXPECT_EQ(plan.voices[0].version + plan.voices[0].words.join(u','), u"1.0one,two,three");
    const InterfacePlan none = planOf(example, 0);
    EXPECT_TRUE(none.content.isEmpty() && none.disables.isEmpty() && none.voices.isEmpty());
}

TEST(InterfaceModel, SelectionByTypeAndVersion) {
    const char text[] = R"(Structure:
  - Type: Label
    Caption: hw
    HW_except: [406]
    HW: [406, "0412", 415]
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
        QString version;
        const char16_t* shown;
    };
    const Case cases[] = {
        {406, u"9.99"_s, u"since1.7"},
        {412, u"1.66"_s, u"since1.7 till9.99"},
        {415, u"1.5"_s, u"hw till1.66 till9.99"},
        {403, u"1.7"_s, u"since1.7 till1.66 till9.99"},
        {414, u"10.0"_s, u"since1.7 since10"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(controls(text, c.type, c.version), QString::fromUtf16(c.shown)) << c.type;
    }
}

TEST(InterfaceModel, NumberListCarriesOverSkipsAndTables) {
    const char text[] = R"(Structure:
  - Type: Tab
    Values: [10, 11, 12, 13, 14, 15, 16, 17, 18]
    Content:
      - Type: EditList
        Captions: [a, b]
      - Type: EditList
        HW: [406]
        Values: [90, 91]
        Captions: [skipped]
      - Type: GroupBox
        Content:
          - Type: CheckList
            Captions: [c]
  - Type: Tab
    Content:
      - Type: ComboSameList
        Captions: [d, e]
        Contents: [x, y]
      - Type: Table
        Columns: [Mon, Tue]
        Lines: [From, To]
      - Type: Slider
        Values: [7]
      - Type: EditList
        Captions: [f, g]
)";
    EXPECT_EQ(controls(text), u"a=10 b=11 c=12 d=13 e=14 cell=15 cell=16 cell=17 cell=18 f=7 g=0");
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
  Loop:
    - Type: TemplateList
      Name: Loop
      Params: [[x]]
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
    Name: Loop
    Params: [[x]]
)";
    // Inner (1, "3", 7) inside Outer (first, second): 1 -> Outer's argument 1, "3" is literal,
    // 7 -> Outer has no argument 7. Inner (0, 12, 5): 0 -> first, 12 literal, 5 -> none.
    EXPECT_EQ(controls(text), u"first second 3  first 12  THIS CAN NOT BE!!! 4");
    // A template that calls itself is cut short instead of running away.
    EXPECT_TRUE(planOf(text).truncated);
}

TEST(InterfaceModel, DisablesAccumulateInTheRuleTable) {
    const InterfacePlan plan = planOf(R"(Disables:
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
)");
    DisableTable table;
    table[9][1].insert(4);
    plan.addDisablesTo(table);
    EXPECT_EQ(table[5][6], QSet<int>({0, 2, 3}));
    EXPECT_EQ(table[5][7], QSet<int>({1}));
    EXPECT_EQ(table[9][1], QSet<int>({4}));
}

TEST(DeviceType, CodesByListPosition) {
    const int expected[] = {0, 0, 406, 412, 403, 414, 415, 0};
    for (int i = -1; i < 7; ++i) {
        EXPECT_EQ(DeviceType::codeForPosition(i), expected[i + 1]) << i;
    }
    EXPECT_EQ(DeviceType::noDeviceVersion(), u"9.99");
}

} // namespace
