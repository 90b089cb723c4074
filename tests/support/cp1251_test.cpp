#include "cp1251.h"

#include <gtest/gtest.h>

// Every byte the controller may send decodes to one character and encodes back to itself.
TEST(Cp1251, EveryByteValueRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, static_cast<char>(b));
        const QString text = Cp1251::toUnicode(bytes);
        ASSERT_EQ(text.size(), 1) << b;
        EXPECT_NE(text.at(0), QChar::ReplacementCharacter) << b;
        EXPECT_EQ(Cp1251::fromUnicode(text), bytes) << b;
    }
    EXPECT_EQ(Cp1251::toUnicode("\xCA\xEE\xED"), QStringLiteral("Кон"));
}
