// Descriptions that ask for more work than the window can do at a type change: the plan must
// end, cut short, whatever the description holds.
#include "device_type.h"
#include "interface_model.h"
#include "test_dir.h"
#include "yaml_root.h"

#include <QProcess>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace talvik::iface;

namespace {

InterfacePlan planOf(const std::string& text, int type = 415) {
    YamlRoot document;
    EXPECT_TRUE(document.parse(QString::fromStdString(text)));
    return InterfaceModel::plan(document.root(), type, DeviceType::noDeviceVersion());
}

std::string onePage(const std::string& content) {
    return "Structure:\n  - Type: Tab\n    Caption: P\n    Content:\n" + content;
}

// A flow list of count texts: [t0, t1, ...].
std::string names(qint64 count) {
    std::string out = "[";
    for (qint64 i = 0; i < count; ++i) {
        out += (i == 0 ? "t" : ", t") + std::to_string(i);
    }
    return out + "]";
}

// A one-column table of the given number of lines on a page of its own: the page and its
// panel, the column caption, and a caption and an edit box per line.
std::string table(qint64 lines) {
    return onePage("      - Type: Table\n        Columns: [c]\n        Lines: " + names(lines) +
                   "\n");
}

constexpr qint64 kLinesAtTheCap = (InterfaceModel::kMaxControls - 3) / 2;

// Templates T0 .. T(count-1), each calling the next with two argument lists; the last has no
// body. Each level stays within the nesting limit, yet the calls double at every level.
std::string chain(int count) {
    std::string out = "Templates:\n";
    for (int i = 0; i < count; ++i) {
        out += "  T" + std::to_string(i) + ":\n    - Type: TemplateList\n      Name: T" +
               std::to_string(i + 1) + "\n      Params: [[a], [b]]\n";
    }
    return out + "Structure:\n  - Type: TemplateList\n    Name: T0\n    Params: [[x]]\n";
}

struct LimitRow {
    const char* name;
    std::string text;
    bool cutShort;
};

void PrintTo(const LimitRow& row, std::ostream* out) {
    *out << row.name;
}

class DescriptionLimits : public testing::TestWithParam<LimitRow> {};

TEST_P(DescriptionLimits, PlanEndsCutShortOnlyBeyondTheLimits) {
    EXPECT_EQ(planOf(GetParam().text).truncated, GetParam().cutShort);
}

INSTANTIATE_TEST_SUITE_P(
    InterfaceModel, DescriptionLimits,
    testing::Values(
        LimitRow{"TemplatesDoublingAtEveryLevelWithinTheNestingLimit", chain(40), true},
        LimitRow{"TableOfAMillionCells",
                 onePage("      - Type: Table\n        Columns: " + names(1000) +
                         "\n        Lines: " + names(1000) + "\n"),
                 true},
        LimitRow{"TableAtTheControlLimit", table(kLinesAtTheCap), false},
        LimitRow{"TableOneLineBeyondTheControlLimit", table(kLinesAtTheCap + 1), true},
        LimitRow{"TableAtTheColumnLimit",
                 onePage("      - Type: Table\n        Columns: " +
                         names(InterfaceModel::kMaxTableColumns) + "\n        Lines: [l]\n"),
                 false},
        LimitRow{"TableOneColumnBeyondTheColumnLimit",
                 onePage("      - Type: Table\n        Columns: " +
                         names(InterfaceModel::kMaxTableColumns + 1) + "\n        Lines: [l]\n"),
                 true},
        // Few controls, but a thousand drop-downs of a thousand entries each.
        LimitRow{"LongDropDownListRepeatedByATemplate", R"(Templates:
  Many:
    - Type: ComboSameList
      Captions: [0]
      Contents: )" + names(1000) + R"(
Structure:
  - Type: TemplateList
    Name: Many
    Params: )" + names(1000) + "\n",
                 true},
        // A Values list read again at every call.
        LimitRow{"LongValuesListRepeatedByATemplate", R"(Templates:
  Numbers:
    - Type: Label
      Values: )" + names(1000) + R"(
Structure:
  - Type: TemplateList
    Name: Numbers
    Params: )" + names(1000) + "\n",
                 true}),
    [](const testing::TestParamInfo<LimitRow>& info) { return std::string(info.param.name); });

TEST(InterfaceModelLimits, CutShortKeepsWhatCameBefore) {
    const InterfacePlan plan = planOf(onePage(R"(      - Type: Label
        Caption: Before
      - Type: Table
        Columns: )" + names(1000) +
                                              "\n        Lines: " + names(1000) + R"(
      - Type: Label
        Caption: After
)"));
    ASSERT_EQ(plan.content.size(), 1);
    ASSERT_EQ(plan.content[0].content.size(), 1);
    EXPECT_EQ(plan.content[0].content[0].caption, u"Before");
}

TEST(TalvikIfaceTool, CutShortPlanWarnsOnStandardErrorAndInTheLog) {
    TestDir dir;
    dir.writeFile(u"d.h"_s, QByteArray::fromStdString(chain(40)));
    QProcess tool;
    tool.start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-iface"_s,
               {u"plan"_s, dir.file(u"d.h"_s)});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.readAllStandardError(),
              QByteArray("talvik-iface: ") + InterfaceModel::kCutShort + '\n');
    EXPECT_TRUE(dir.readFile(u"log.txt"_s).contains(InterfaceModel::kCutShort));
}

} // namespace
