#include "interface_model.h"
#include "test_dir.h"
#include "yaml_root.h"

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>

using namespace Qt::StringLiterals;
using namespace talvik::iface;
using Json = nlohmann::ordered_json;

namespace {

InterfacePlan planOf(const char* text, int type = 415, const QString& version = u"9.99"_s) {
    YamlRoot document;
    EXPECT_TRUE(document.parse(QString::fromUtf8(text))) << text;
    return InterfaceModel::plan(document.root(), type, version);
}

// Every control in creation order as "caption=setting" (labels by caption, table cells as
// "cell=setting").
void flatten(const QList<PlanItem>& items, QStringList& out) {
    using enum PlanItem::Type;
    for (const PlanItem& item : items) {
        flatten(item.content, out);
        if (item.type == Label) {
            out.append(item.caption);
        } else if (item.type != Tab && item.type != GroupBox && item.type != Table) {
            out.append(item.caption + u'=' + QString::number(item.setting));
        }
        for (const QList<int>& column : item.cells) {
            for (const int n : column) {
                out.append(u"cell="_s + QString::number(n));
            }
        }
    }
}

// The worked example of the description format: it gives settings 1 to 4.
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

QString controls(const char* text, int type = 415, const QString& version = u"9.99"_s) {
    QStringList out;
    flatten(planOf(text, type, version).content, out);
    return out.join(u' ');
}

// Two pages whose elements each model and version select differently, numbered across
// siblings, parents and the elements left out.
const char kSelection[] = R"(Structure:
  - Type: Tab
    Values: [10, 11, 12, 13, 14, 15, 16, 17, 18]
    Content:
      - Type: EditList
        Captions: [a]
      - Type: EditList
        HW_except: [406]
        HW: [406, "0412", 415]
        Captions: [hw]
      - Type: GroupBox
        Content:
          - Type: CheckList
            SinceVer: 1.7
            Captions: [since1.7]
          - Type: EditList
            TillVer: 1.66
            Captions: [till1.66]
  - Type: Tab
    Content:
      - Type: EditList
        SinceVer: 10.0
        Values: [90]
        Captions: [since10]
      - Type: ComboSameList
        TillVer: 9.99
        Captions: [till9.99]
        Contents: [x]
      - Type: Table
        Columns: [Mon, Tue]
        Lines: [From, To]
      - Type: Slider
        Values: [7]
      - Type: EditList
        Captions: [f, g]
)";

// The controls a model and version get, with their settings.
struct SelectionRow {
    const char* name;
    int type;
    QString version;
    const char16_t* shown;
};

class Selection : public testing::TestWithParam<SelectionRow> {};

TEST_P(Selection, NumbersTheControlsItKeeps) {
    EXPECT_EQ(controls(kSelection, GetParam().type, GetParam().version),
              QString::fromUtf16(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    InterfaceModel, Selection,
    testing::Values(
        SelectionRow{"Type406", 406, u"9.99"_s,
                     u"a=10 since1.7=11 cell=12 cell=13 cell=14 cell=15 f=7 g=0"},
        SelectionRow{"Type412OldFirmware", 412, u"1.66"_s,
                     u"a=10 since1.7=11 till9.99=12 cell=13 cell=14 cell=15 cell=16 f=7 g=0"},
        SelectionRow{"Type415OlderFirmware", 415, u"1.5"_s,
                     u"a=10 hw=11 till1.66=12 till9.99=13 cell=14 cell=15 cell=16 cell=17 f=7 g=0"},
        SelectionRow{"Type403", 403, u"1.7"_s,
                     u"a=10 since1.7=11 till1.66=12 till9.99=13 cell=14 cell=15 cell=16 cell=17 "
                     u"f=7 g=0"},
        SelectionRow{"Type414NewestFirmware", 414, u"10.0"_s,
                     u"a=10 since1.7=11 since10=90 cell=0 cell=0 cell=0 cell=0 f=7 g=0"}),
    [](const auto& info) { return std::string(info.param.name); });

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

TEST(InterfaceModel, DisablesAddToTheRuleTable) {
    DisableTable table;
    table[3][4].insert(2);
    table[9][1].insert(4);
    planOf(kExample).addDisablesTo(table);
    EXPECT_EQ(table[3][4], QSet<int>({0, 2}));
    EXPECT_EQ(table[9][1], QSet<int>({4}));
}

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
    [[nodiscard]] Json json() const { return Json::parse(out.toStdString(), nullptr, false); }
};

ToolRun runTool(const QStringList& arguments) {
    QProcess process;
    process.start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-iface"_s, arguments);
    ToolRun run;
    if (process.waitForFinished(30000)) {
        run = {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    return run;
}

// The tool's tree of every kind of node, its plans of fields with their settings, and how it
// rejects a file.
struct IfaceToolRun : ::testing::Test {
    TestDir dir;
};

TEST_F(IfaceToolRun, TreeShowsEveryKindOfNode) {
    dir.writeFile(u"d.h"_s, "a: 1\nb: \"q\"\nc:\n  - \n  - [x]\na: {}\n");
    const ToolRun run = runTool({u"tree"_s, dir.file(u"d.h"_s)});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.json(), Json::parse(R"({"kind":"map","entries":[
        ["a",{"kind":"scalar","text":"1","quoted":false}],
        ["b",{"kind":"scalar","text":"q","quoted":true}],
        ["c",{"kind":"list","items":[{"kind":"empty"},
              {"kind":"list","items":[{"kind":"scalar","text":"x","quoted":false}]}]}],
        ["a",{"kind":"map","entries":[]}]]})"));
}

struct RejectedFile : IfaceToolRun, ::testing::WithParamInterface<const char*> {};

TEST_P(RejectedFile, GivesNullAndNamesTheLine) {
    dir.writeFile(u"bad.h"_s, "a:\r\n  b: 1\r\n - c\r\n");
    const ToolRun bad = runTool({QString::fromUtf8(GetParam()), dir.file(u"bad.h"_s)});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out.trimmed(), "null");
    EXPECT_EQ(bad.err, "NODE is invalid in line:\t2\n");
    // The tool runs in the test's folder, so its log lands here.
    EXPECT_TRUE(dir.readFile(u"log.txt"_s).contains("NODE is invalid in line:\t2\n"));
}

INSTANTIATE_TEST_SUITE_P(IfaceToolRun, RejectedFile, testing::Values("tree", "plan"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(IfaceToolRun, AMissingFileOrArgumentIsAUsageError) {
    EXPECT_EQ(runTool({u"tree"_s, dir.file(u"none.h"_s)}).status, 2);
    EXPECT_EQ(runTool({u"plan"_s, u"--type"_s}).status, 2);
}

TEST_F(IfaceToolRun, WithNoModelChosenTheFileIsNotRead) {
    dir.writeFile(u"bad.h"_s, "a:\r\n  b: 1\r\n - c\r\n");
    const ToolRun none = runTool({u"plan"_s, u"--type"_s, u"0"_s, dir.file(u"bad.h"_s)});
    EXPECT_EQ(none.json(), Json::parse(R"({"content":[],"disables":[],"voices":[]})"));
}

TEST_F(IfaceToolRun, PlanOfTheWorkedExample) {
    dir.writeFile(u"example.h"_s, kExample);
    const ToolRun plan = runTool({u"plan"_s, dir.file(u"example.h"_s)});
    EXPECT_EQ(plan.status, 0) << plan.err.toStdString();
    EXPECT_EQ(plan.json(), Json::parse(R"({"content":[{"type":"Tab","caption":"Main","content":[
        {"type":"GroupBox","caption":"Calls","hint":"","content":[
          {"type":"Edit","caption":"Number 1","hint":"","setting":1,"special":"phone"},
          {"type":"Edit","caption":"Number 2","hint":"","setting":2,"special":"phone"}]},
        {"type":"Combo","caption":"Mode","hint":"","setting":3,"items":["Off","On","Auto"],
         "codes":[0,1,5]},
        {"type":"Bits","caption":"Outputs","hint":"","setting":4,"bits":["Out 1","Out 2","Out 3"]}]}],
      "disables":[{"trigger":3,"who":4,"values":[0]}],
      "voices":[{"version":"1.0","words":["one","two","three"]}]})"));
}

TEST_F(IfaceToolRun, PlanShowsTheRemainingKindsForAChosenModelAndVersion) {
    dir.writeFile(u"more.h"_s, R"(Structure:
  - Type: GroupBox
    Caption: More
    Hint: G
    Values: [5, 6, 7]
    Content:
      - Type: EditList
        Special: integer
        Limits: [0, 99]
        Offset: 1
        Captions: [Delay]
        Hints: [h]
      - Type: CheckList
        Captions: [Siren]
        Disable:
          - [8, 9]
      - Type: Table
        Columns: [A]
        Lines: [L]
      - Type: RichEdit
        File: help.rtf
        Height: 80
      - Type: Label
        Caption: Done
)");
    const ToolRun more = runTool(
        {u"plan"_s, u"--version"_s, u"1.0"_s, u"--type"_s, u"406"_s, dir.file(u"more.h"_s)});
    EXPECT_EQ(more.json()["content"][0], Json::parse(R"({"type":"GroupBox","caption":"More",
      "hint":"G","content":[{"type":"Edit","caption":"Delay","hint":"h","setting":5,
        "special":"integer","limits":[0,99],"offset":1},
      {"type":"Check","caption":"Siren","hint":"","setting":6,"disables":[8,9]},
      {"type":"Table","columns":["A"],"lines":["L"],"settings":[[7]]},
      {"type":"RichEdit","file":"help.rtf","height":80},{"type":"Label","caption":"Done"}]})"));
}

} // namespace
