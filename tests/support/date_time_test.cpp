#include "date_time.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTime, PatternsAndStyles) {
    // Saturday 7 March 2026, 09:05:03.042, and the Sunday after it, when the weekday names wrap.
    const auto saturday = DateTime::fromFields(2026, 3, 7, 9, 5, 3, 42);
    const auto sunday = DateTime::fromFields(2026, 3, 8, 23, 59, 59, 999);
    const struct {
        DateTime::Value time;
        const char16_t* pattern;
        int style;
        const char16_t* expected;
    } cases[] = {{saturday, u"h:m:s", 0, u"09:05:03"},
                 {saturday, u"h:m:s ", 0, u"09:05:03 "},
                 {saturday, u"d, D o Y", 0, u"Sat, 07 Mar 2026"},
                 {saturday, u"y", 0, u"26"},
                 {saturday, u"M/l [x]", 0, u"03/042 [x]"},
                 {sunday, u"d D.M h:m:s.l", 0, u"Sun 08.03 23:59:59.999"},
                 {saturday, u"ignored", 1, u"2026.03.07 09:05:03"},
                 {saturday, u"ignored", 2, u"2026.03.07 09:05"},
                 {saturday, u"ignored", 3, u"2026.03.07"},
                 {saturday, u"", 4, u"2026.03.07 09:05:03.042"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DateTime::format(c.time, QStringView(c.pattern), c.style),
                  QString::fromUtf16(c.expected));
    }
}

TEST(DateTime, ValueCountsMillisecondsSince1601) {
    EXPECT_EQ(DateTime::fromFields(1601, 1, 1, 0, 0, 0, 0), 0);
    EXPECT_EQ(DateTime::fromFields(1601, 1, 2, 0, 0, 1, 5), 86'401'005);
    // 1970-01-01 is 11644473600 seconds after the origin, as for system file times.
    EXPECT_EQ(DateTime::fromFields(1970, 1, 1, 0, 0, 0, 0), 11'644'473'600'000LL);
}

} // namespace
