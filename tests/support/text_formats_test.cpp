#include "compare_versions.h"
#include "cp1251.h"
#include "date_time.h"
#include "leading_integer.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace talvik::support;

namespace {

TEST(CompareVersions, PartsCompareAsWholeNumbers) {
    const std::tuple<const char16_t*, const char16_t*, int> cases[] = {
        {u"1.45", u"1.5", 1}, {u"1.66", u"1.66.1", -1}, {u"2.19", u"2.19", 0},
        {u"2.01", u"2.1", 0}, {u"9.99", u"10.0", -1},   {u"1.x", u"1.0", 0}};
    for (const auto& [a, b, expected] : cases) {
        const int sign = CompareVersions(a, b); // only the sign counts
        EXPECT_EQ((sign > 0) - (sign < 0), expected) << QString::fromUtf16(a).toStdString();
    }
}

TEST(LeadingInteger, ReadsLikeTheControllerTexts) {
    QStringList read;
    for (const char16_t* text :
         {u"  42abc", u"-17", u"+8", u"abc", u"- 5", u"", u"9999999999", u"-9999999999"}) {
        read.append(QString::number(LeadingInteger(text)));
    }
    EXPECT_EQ(read.join(u' '), QStringLiteral("42 -17 8 0 0 0 2147483647 -2147483648"));
}

TEST(Cp1251, EveryByteValueRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, static_cast<char>(b));
        const QString text = Cp1251::toUnicode(bytes);
        ASSERT_EQ(text.size(), 1) << b;
        EXPECT_EQ(Cp1251::fromUnicode(text), bytes) << b;
    }
    EXPECT_EQ(Cp1251::toUnicode("\xCA\xEE\xED"), QStringLiteral("Кон"));
}

TEST(DateTime, PatternsAndStyles) {
    // Saturday 7 March 2026, 09:05:03.042, and the Sunday after it, when the weekday names wrap.
    const auto saturday = DateTime::fromFields(2026, 3, 7, 9, 5, 3, 42);
    const auto sunday = DateTime::fromFields(2026, 3, 8, 23, 59, 59, 999);
    const std::tuple<DateTime::Value, const char16_t*, int, const char16_t*> cases[] = {
        {saturday, u"d, D o Y h:m:s.l ", 0, u"Sat, 07 Mar 2026 09:05:03.042 "},
        {sunday, u"d D.M y h:m:s [x]", 0, u"Sun 08.03 26 23:59:59 [x]"},
        {saturday, u"ignored", 1, u"2026.03.07 09:05:03"},
        {saturday, u"ignored", 2, u"2026.03.07 09:05"},
        {saturday, u"ignored", 3, u"2026.03.07"},
        {saturday, u"", 4, u"2026.03.07 09:05:03.042"}};
    for (const auto& [time, pattern, style, expected] : cases) {
        EXPECT_EQ(DateTime::format(time, QStringView(pattern), style),
                  QString::fromUtf16(expected));
    }
}

} // namespace
