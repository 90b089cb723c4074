#include "compare_versions.h"
#include "cp1251.h"
#include "date_time.h"
#include "leading_integer.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <string>

using namespace talvik::support;

namespace {

template <class Row> std::string rowName(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

struct VersionRow {
    const char* name;
    const char16_t* a;
    const char16_t* b;
    int sign; // only the sign of the comparison counts
};

class CompareVersionsOf : public testing::TestWithParam<VersionRow> {};

TEST_P(CompareVersionsOf, PartsCompareAsWholeNumbers) {
    const int sign = CompareVersions(GetParam().a, GetParam().b);
    EXPECT_EQ((sign > 0) - (sign < 0), GetParam().sign);
}

INSTANTIATE_TEST_SUITE_P(Versions, CompareVersionsOf,
                         testing::Values(VersionRow{"TwoDigitPartAboveOne", u"1.45", u"1.5", 1},
                                         VersionRow{"AnExtraPartIsNewer", u"1.66", u"1.66.1", -1},
                                         VersionRow{"Equal", u"2.19", u"2.19", 0},
                                         VersionRow{"LeadingZero", u"2.01", u"2.1", 0},
                                         VersionRow{"MajorPart", u"9.99", u"10.0", -1},
                                         VersionRow{"LettersReadAsZero", u"1.x", u"1.0", 0}),
                         rowName<VersionRow>);

struct IntegerRow {
    const char* name;
    const char16_t* text;
    int value;
};

class LeadingIntegerOf : public testing::TestWithParam<IntegerRow> {};

TEST_P(LeadingIntegerOf, ReadsLikeTheControllerTexts) {
    EXPECT_EQ(LeadingInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingIntegerOf,
    testing::Values(IntegerRow{"SpacesThenDigitsThenText", u"  42abc", 42},
                    IntegerRow{"Negative", u"-17", -17}, IntegerRow{"PlusSign", u"+8", 8},
                    IntegerRow{"NoDigits", u"abc", 0}, IntegerRow{"SpaceAfterTheSign", u"- 5", 0},
                    IntegerRow{"Empty", u"", 0},
                    IntegerRow{"TooLargeStopsAtTheMaximum", u"9999999999", 2147483647},
                    IntegerRow{"TooSmallStopsAtTheMinimum", u"-9999999999", -2147483647 - 1}),
    rowName<IntegerRow>);

TEST(Cp1251, EveryByteValueRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, static_cast<char>(b));
        const QString text = Cp1251::toUnicode(bytes);
        ASSERT_EQ(text.size(), 1) << b;
        EXPECT_EQ(Cp1251::fromUnicode(text), bytes) << b;
    }
}

TEST(Cp1251, CyrillicLettersAreTheirCodePage) {
    EXPECT_EQ(Cp1251::toUnicode("\xCA\xEE\xED"), QStringLiteral("Кон"));
}

// Saturday 7 March 2026, 09:05:03.042, and the Sunday after it, when the weekday names wrap.
struct TimeRow {
    const char* name;
    bool sunday;
    const char16_t* pattern;
    int style;
    const char16_t* text;
};

class DateTimeFormat : public testing::TestWithParam<TimeRow> {};

TEST_P(DateTimeFormat, Shows) {
    const auto time = GetParam().sunday ? DateTime::fromFields(2026, 3, 8, 23, 59, 59, 999)
                                        : DateTime::fromFields(2026, 3, 7, 9, 5, 3, 42);
    EXPECT_EQ(DateTime::format(time, QStringView(GetParam().pattern), GetParam().style),
              QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DateTimeFormat,
    testing::Values(TimeRow{"PatternWithNames", false, u"d, D o Y h:m:s.l ", 0,
                            u"Sat, 07 Mar 2026 09:05:03.042 "},
                    TimeRow{"PatternOnSunday", true, u"d D.M y h:m:s [x]", 0,
                            u"Sun 08.03 26 23:59:59 [x]"},
                    TimeRow{"Seconds", false, u"ignored", 1, u"2026.03.07 09:05:03"},
                    TimeRow{"Minutes", false, u"ignored", 2, u"2026.03.07 09:05"},
                    TimeRow{"Date", false, u"ignored", 3, u"2026.03.07"},
                    TimeRow{"Milliseconds", false, u"", 4, u"2026.03.07 09:05:03.042"}),
    rowName<TimeRow>);

} // namespace
