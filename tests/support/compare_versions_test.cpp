#include "compare_versions.h"
#include "leading_integer.h"

#include <QString>
#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(CompareVersions, PartsCompareAsWholeNumbers) {
    const std::tuple<const char16_t*, const char16_t*, int> cases[] = {
        {u"1.45", u"1.5", 1},  {u"1.66", u"1.7", 1}, {u"1.66", u"1.66.1", -1},
        {u"2.19", u"2.19", 0}, {u"2.01", u"2.1", 0}, {u"9.99", u"10.0", -1},
        {u"", u"", 0},         {u"1", u"1.0", -1},   {u"1.x", u"1.0", 0}};
    for (const auto& [a, b, expected] : cases) {
        // Only the sign counts, and swapping the sides turns it round.
        const int forward = CompareVersions(a, b);
        const int backward = CompareVersions(b, a);
        EXPECT_EQ((forward > 0) - (forward < 0), expected) << QString::fromUtf16(a).toStdString();
        EXPECT_EQ((backward > 0) - (backward < 0), -expected)
            << QString::fromUtf16(a).toStdString();
    }
}

TEST(LeadingInteger, ReadsLikeTheControllerTexts) {
    const std::pair<const char16_t*, int> cases[] = {{u"  42abc", 42},
                                                     {u"-17", -17},
                                                     {u"+8", 8},
                                                     {u"abc", 0},
                                                     {u"- 5", 0},
                                                     {u"", 0},
                                                     {u"9999999999", INT_MAX},
                                                     {u"-9999999999", INT_MIN}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(LeadingInteger(text), expected) << QString::fromUtf16(text).toStdString();
    }
}

} // namespace
