#include "interface_model.h"
#include "setting_index.h"
#include "two_settings_pages.h"
#include "yaml_root.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::iface;

namespace {

SettingIndex indexOf(const QByteArray& text, int type = 415) {
    YamlRoot document;
    EXPECT_TRUE(document.parse(QString::fromUtf8(text)));
    return SettingIndex(InterfaceModel::plan(document.root(), type, u"9.99"_s).content);
}

struct Query {
    const char* name;
    const char16_t* text;
    QList<int> found;
};

class FindOnSmallPages : public testing::TestWithParam<Query> {};

TEST_P(FindOnSmallPages, FindsTheSettingsInPageOrder) {
    EXPECT_EQ(indexOf(kTwoSettingsPages).find(QString::fromUtf16(GetParam().text)),
              GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(
    SettingIndex, FindOnSmallPages,
    testing::Values(
        Query{"PartOfALabel", u"на вход", {101}}, Query{"LabelInOtherCase", u"ЗАДЕРЖКА НА", {101}},
        Query{"LabelsOnTwoPages", u"задержка", {101, 214}}, Query{"Hint", u"сирены", {100}},
        Query{"DropDownItem", u"тихий", {100}}, Query{"GroupCaption", u"режим охраны", {100, 101}},
        Query{"GroupHint", u"как ставится", {100, 101}}, Query{"BitText", u"капот", {102}},
        Query{"TableLine", u"верхний", {104}}, Query{"TableColumn", u"порог", {103, 104}},
        Query{"Number", u"214", {214}}, Query{"NumberWithBlanks", u" 102 ", {102}},
        Query{"NoSuchWord", u"радио", {}}, Query{"Empty", u"", {}}, Query{"OnlyBlanks", u"  ", {}},
        Query{"NotAcrossTwoWords", u"вход\nтихий", {}}),
    [](const testing::TestParamInfo<Query>& info) { return std::string(info.param.name); });

TEST(SettingIndex, KnowsTheSecondPageOfASetting) {
    EXPECT_EQ(indexOf(kTwoSettingsPages).entry(214)->page, 1);
}

TEST(SettingIndex, NamesATableCellByItsLineAndColumn) {
    EXPECT_EQ(indexOf(kTwoSettingsPages).entry(104)->label, u"Верхний, Порог"_s);
}

TEST(SettingIndex, DoesNotKnowASettingNoPageShows) {
    EXPECT_EQ(indexOf(kTwoSettingsPages).entry(999), nullptr);
}

// The shipped description for the richest type.
SettingIndex shipped() {
    QFile file(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/Interface/interface.h"_s);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return indexOf(file.readAll());
}

class FindOnShippedPages : public testing::TestWithParam<Query> {};

TEST_P(FindOnShippedPages, FindsTheSettings) {
    static const SettingIndex index = shipped();
    EXPECT_EQ(index.find(QString::fromUtf16(GetParam().text)), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(SettingIndex, FindOnShippedPages,
                         testing::Values(Query{"Label", u"задержка на вход", {102}},
                                         Query{"Hint", u"время на снятие с охраны", {102}},
                                         Query{"DropDownItem", u"ставить без зоны дверей", {121}},
                                         Query{"Number", u"121", {121}}),
                         [](const testing::TestParamInfo<Query>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
