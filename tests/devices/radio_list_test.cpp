#include "radio_fakes.h"
#include "radio_report.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::devices;

namespace {

struct ReportCase {
    const char* name;
    const char16_t* piece;
    bool read;
    const char16_t* number;
    const char16_t* type;
    std::vector<std::uint8_t> data;
};

class RadioReportRead : public testing::TestWithParam<ReportCase> {};

TEST_P(RadioReportRead, TakesNumberTypeAndData) {
    const std::optional<RadioReport> report = RadioReport::read(GetParam().piece);
    ASSERT_EQ(report.has_value(), GetParam().read);
    if (report) {
        EXPECT_EQ(report->number, QString::fromUtf16(GetParam().number));
        EXPECT_EQ(report->type, QString::fromUtf16(GetParam().type));
        EXPECT_EQ(report->data, GetParam().data);
    }
}

const ReportCase kReportCases[] = {
    {"WithData", u"#R:%12% AM :1 128 176", true, u"%12%", u"AM", {1, 128, 176}},
    {"DataEndsAtDollar", u"#R:%3% RQ :144 2$ 7 9", true, u"%3%", u"RQ", {144, 2}},
    {"NoDataMarker", u"#R:%3% TK1 @1 2 3", true, u"%3%", u"TK1", {}},
    {"LowEightBitsOfBigNumbers", u"#R:%3% RQ :300 -1", true, u"%3%", u"RQ", {44, 255}},
    {"TextIsZero", u"#R:%3% RQ :x 5", true, u"%3%", u"RQ", {0, 5}},
    {"NothingAfterType", u"#R:%3% RQ ", true, u"%3%", u"RQ", {}},
    {"TrailingSpaceEndsData", u"#R:%3% RQ :7 ", true, u"%3%", u"RQ", {7}},
    {"EmptyReportIgnored", u"#R:@ AM :1", false, u"", u"", {}},
    {"NoSpaceAfterNumber", u"#R:%12%", false, u"", u"", {}},
    {"NoSpaceAfterType", u"#R:%12% AM", false, u"", u"", {}},
};

INSTANTIATE_TEST_SUITE_P(Pieces, RadioReportRead, testing::ValuesIn(kReportCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RadioDeviceList, RowsSortByCodeUnits) {
    RadioRig rig;
    for (const char16_t* piece : {u"#R:2 XX :1", u"#R:10 XX :1", u"#R:1 XX :1"}) {
        rig.radio.OnRadioReport(QString::fromUtf16(piece));
    }
    EXPECT_EQ(rig.numbers(), (QStringList{u"1"_s, u"10"_s, u"2"_s}));
}

TEST(RadioDeviceList, IndexMapFollowsInsertionsAndRemovals) {
    RadioDeviceList list;
    for (const QString& number : {u"%5%"_s, u"%1%"_s, u"%3%"_s, u"%4%"_s}) {
        (void)list.FindDeviceRow(number, true);
    }
    list.removeRows({1, 0});
    ASSERT_EQ(list.rowCount(), 2);
    for (int row = 0; row < list.rowCount(); ++row) {
        EXPECT_EQ(list.RowIndexMap.value(list.row(row).number, -1), row);
    }
    EXPECT_EQ(list.RowIndexMap.size(), 2);
}

struct CreationCase {
    const char* name;
    const char16_t* type;
    bool learning;
    bool created;
};

class RadioReportCreation : public testing::TestWithParam<CreationCase> {};

TEST_P(RadioReportCreation, RemotesAndSensorsAppearOnlyWhileLearning) {
    RadioRig rig;
    if (GetParam().learning) {
        rig.radio.Button16Click();
    }
    rig.radio.OnRadioReport(u"#R:%7% "_s + QString::fromUtf16(GetParam().type) + u" :1"_s);
    EXPECT_EQ(rig.list().rowCount(), GetParam().created ? 1 : 0);
}

const CreationCase kCreationCases[] = {
    {"RemoteOutsideLearning", u"AM", false, false}, {"SensorOutsideLearning", u"RQ", false, false},
    {"RemoteWhileLearning", u"AM", true, true},     {"SensorWhileLearning", u"RQ", true, true},
    {"ThermometerAlways", u"TK2", false, true},     {"OtherTypeAlways", u"AMX", false, true},
};

INSTANTIATE_TEST_SUITE_P(Types, RadioReportCreation, testing::ValuesIn(kCreationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RadioReport, KnownRemoteIsUpdatedOutsideLearning) {
    RadioRig rig;
    (void)rig.list().FindDeviceRow(u"%7%"_s, true);
    rig.radio.OnRadioReport(u"#R:%7% AM :1 143"_s);
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Data),
              u"Постановка на охрану; состояние батареи 100 %"_s);
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Type), u"AM"_s);
    EXPECT_TRUE(QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_s)
                    .match(rig.cell(u"%7%"_s, RadioDeviceList::Time))
                    .hasMatch());
}

TEST(RadioReport, NoDataMarkerEmptiesTheDataCell) {
    RadioRig rig;
    rig.radio.OnRadioReport(u"#R:%7% TK :1"_s);
    rig.radio.OnRadioReport(u"#R:%7% TK2 @"_s);
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Data), QString());
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Type), u"TK2"_s);
}

TEST(RadioReport, ClearTimeEmptiesEveryTime) {
    RadioRig rig;
    rig.radio.OnRadioReport(u"#R:%7% TK :1"_s);
    rig.radio.OnRadioReport(u"#R:%8% TK :1"_s);
    rig.radio.Button15Click();
    EXPECT_EQ(rig.cell(u"%7%"_s, RadioDeviceList::Time), QString());
    EXPECT_EQ(rig.cell(u"%8%"_s, RadioDeviceList::Time), QString());
}

} // namespace
