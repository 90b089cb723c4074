#include "thermometer_list.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::devices;

namespace {

const QLocale kPoint(QLocale::English, QLocale::UnitedStates);
const QLocale kComma(QLocale::Russian, QLocale::Russia);

QString nameOf(int setting) {
    return setting == 334 ? u"Гараж"_s : QString();
}

QList<ThermometerList::Row> rows(const QString& readings, const QLocale& locale = kPoint) {
    return ThermometerList::Rows(readings, {{0, u"28FF4A1B03000012"_s}}, nameOf, locale);
}

TEST(ThermometerList, TemperatureUsesTheLocaleDecimalSeparator) {
    const auto list = rows(u"2982"_s, kComma);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].temperature, u"25,2"_s);
}

struct Reading {
    const char* name;
    int kelvinTenths;
    QString celsius;
};

class Celsius : public ::testing::TestWithParam<Reading> {};

TEST_P(Celsius, ShortestGeneralForm) {
    EXPECT_EQ(ThermometerList::Celsius(GetParam().kelvinTenths, kPoint), GetParam().celsius);
}

INSTANTIATE_TEST_SUITE_P(Readings, Celsius,
                         ::testing::Values(Reading{"WholeDegrees", 2730, u"0"_s},
                                           Reading{"Frost", 2500, u"-23"_s},
                                           Reading{"Hot", 3585, u"85.5"_s},
                                           Reading{"NotAFailureAsNumber", 11, u"-271.9"_s}),
                         [](const auto& info) { return std::string(info.param.name); });

struct Readings {
    const char* name;
    QString value;
    qsizetype rows;
};

class RowCount : public ::testing::TestWithParam<Readings> {};

TEST_P(RowCount, OnlyWholeNonZeroNumbersMakeRows) {
    EXPECT_EQ(rows(GetParam().value).size(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RowCount,
    ::testing::Values(Readings{"Empty", QString(), 0}, Readings{"AllEmptySlots", u"0 0 0"_s, 0},
                      Readings{"Text", u"abc 2961"_s, 1}, Readings{"TrailingLetter", u"2961x"_s, 0},
                      Readings{"DoubleSpace", u"2961  2962"_s, 2},
                      Readings{"TwelveSlots", u"1 1 1 1 1 1 1 1 1 1 1 1"_s, 12}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
