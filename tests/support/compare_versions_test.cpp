#include "compare_versions.h"
#include "leading_integer.h"

#include <QString>
#include <climits>
#include <gtest/gtest.h>

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

TEST(CompareVersions, PartsCompareAsWholeNumbers) {
    struct Case {
        const char16_t* a;
        const char16_t* b;
        int expected;
    };
    const Case cases[] = {
        {u"1.45", u"1.5", 1},    {u"1.66", u"1.7", 1},  {u"1.66", u"1.66.1", -1},
        {u"1.66.1", u"1.66", 1}, {u"2.19", u"2.19", 0}, {u"2.01", u"2.1", 0},
        {u"9.99", u"10.0", -1},  {u"9.99", u"9.99", 0}, {u"1.58", u"2.0", -1},
        {u"", u"", 0},           {u"1", u"1.0", -1},    {u"1.x", u"1.0", 0},
    };
    for (const Case& c : cases) {
        const QString a = QString::fromUtf16(c.a);
        const QString b = QString::fromUtf16(c.b);
        EXPECT_EQ(sign(CompareVersions(a, b)), c.expected)
            << a.toStdString() << " vs " << b.toStdString();
        EXPECT_EQ(sign(CompareVersions(b, a)), -c.expected)
            << b.toStdString() << " vs " << a.toStdString();
    }
}

TEST(LeadingInteger, ReadsLikeTheControllerTexts) {
    EXPECT_EQ(LeadingInteger(u"  42abc"), 42);
    EXPECT_EQ(LeadingInteger(u"-17"), -17);
    EXPECT_EQ(LeadingInteger(u"+8"), 8);
    EXPECT_EQ(LeadingInteger(u"abc"), 0);
    EXPECT_EQ(LeadingInteger(u"- 5"), 0);
    EXPECT_EQ(LeadingInteger(u""), 0);
    EXPECT_EQ(LeadingInteger(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInteger(u"-99999999999999999999"), INT_MIN);
}

} // namespace
