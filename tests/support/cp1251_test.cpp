#include "cp1251.h"

#include <gtest/gtest.h>

TEST(Cp1251, RoundTripsEveryByteValue) {
    for (int b = 0; b < 256; ++b) {
        const QByteArray bytes(1, static_cast<char>(b));
        const QString text = Cp1251::toUnicode(bytes);
        ASSERT_EQ(text.size(), 1) << b;
        EXPECT_NE(text.at(0), QChar::ReplacementCharacter) << b;
        EXPECT_EQ(Cp1251::fromUnicode(text), bytes) << b;
    }
}

TEST(Cp1251, RussianTextTravelsAsOneBytePerLetter) {
    const QString text = QStringLiteral("Конфигурация");
    const QByteArray bytes = Cp1251::fromUnicode(text);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)), 0xCA); // К
    EXPECT_EQ(Cp1251::toUnicode(bytes), text);
}
