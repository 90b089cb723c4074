#include "date_time.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    const char16_t* pattern;
    int style;
    const char16_t* expected;
};

class DateTimeFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(DateTimeFormat, LaysOutSaturdaySeventhOfMarch) {
    // Saturday 7 March 2026, 09:05:03.042.
    const auto t = DateTime::fromFields(2026, 3, 7, 9, 5, 3, 42);
    const FormatCase& c = GetParam();
    EXPECT_EQ(DateTime::format(t, QStringView(c.pattern), c.style),
              QString::fromUtf16(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, DateTimeFormat,
    testing::Values(FormatCase{u"h:m:s", 0, u"09:05:03"}, FormatCase{u"h:m:s ", 0, u"09:05:03 "},
                    FormatCase{u"d, D o Y", 0, u"Sat, 07 Mar 2026"}, FormatCase{u"y", 0, u"26"},
                    FormatCase{u"M/l [x]", 0, u"03/042 [x]"},
                    FormatCase{u"ignored", 1, u"2026.03.07 09:05:03"},
                    FormatCase{u"ignored", 2, u"2026.03.07 09:05"},
                    FormatCase{u"ignored", 3, u"2026.03.07"},
                    FormatCase{u"", 4, u"2026.03.07 09:05:03.042"}));

TEST(DateTime, ValueCountsMillisecondsSince1601) {
    EXPECT_EQ(DateTime::fromFields(1601, 1, 1, 0, 0, 0, 0), 0);
    EXPECT_EQ(DateTime::fromFields(1601, 1, 2, 0, 0, 1, 5), 86'401'005);
    // 1970-01-01 is 11644473600 seconds after the origin, as for system file times.
    EXPECT_EQ(DateTime::fromFields(1970, 1, 1, 0, 0, 0, 0), 11'644'473'600'000LL);
}

TEST(DateTime, EveryWeekdayAndMonthName) {
    const char16_t* days[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
    for (int i = 0; i < 7; ++i) { // 1 March 2026 is a Sunday
        EXPECT_EQ(DateTime::format(DateTime::fromFields(2026, 3, 1 + i, 0, 0, 0, 0), u"d", 0),
                  QString::fromUtf16(days[i]));
    }
    const char16_t* months[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(DateTime::format(DateTime::fromFields(2026, m, 15, 23, 59, 59, 999), u"o", 0),
                  QString::fromUtf16(months[m - 1]));
    }
}

} // namespace
