#include "radio_data.h"
#include "radio_fakes.h"

#include <gtest/gtest.h>
#include <vector>

using namespace talvik::devices;

namespace {

struct DecodeCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char16_t* text;
    bool logged;
};

class DecodeRadioDataTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeRadioDataTest, GivesTheTextAndLogsOnlyBadRecords) {
    MemoryLog log;
    const QString text = DecodeRadioData(GetParam().bytes, log);
    EXPECT_EQ(text, QString::fromUtf16(GetParam().text));
    EXPECT_EQ(log.lines().size(), GetParam().logged ? 1 : 0);
}

const DecodeCase kDecodeCases[] = {
    {"ArmingBatterySignalVoltage",
     {1, 128, 176, 190, 180, 100},
     u"Постановка на охрану; состояние батареи 0 %; уровень сигнала -107; Напряжение питания 2.93",
     false},
    {"TemperatureOneFractionDigit", {0xC0, 0xA6, 0x0B}, u"температура 25.2", false},
    {"TemperatureWholeDropsThePoint", {0xC0, 0xC2, 0x0B}, u"температура 28", false},
    {"TemperatureBelowZero", {0xC0, 0x00, 0x00}, u"температура -273", false},
    {"TemperatureHighest", {0xC0, 0xFF, 0xFF}, u"температура 6280.5", false},
    {"SignalHalvesTowardsZero", {0xB0, 0x41}, u"уровень сигнала -42", false},
    {"SignalMinusOneIsBase", {0xB0, 0xFF}, u"уровень сигнала -74", false},
    {"SignalMostNegative", {0xB0, 0x80}, u"уровень сигнала -138", false},
    {"SignalQualityUnsigned", {0xB1, 0xFF}, u"качество сигнала 255", false},
    {"VoltageRoundsHalfUp", {0xB4, 0x02}, u"Напряжение питания 0.06", false},
    {"VoltageFullScale", {0xB4, 0xFF}, u"Напряжение питания 7.47", false},
    {"FuelLevelLittleEndian", {0xC1, 0x34, 0x12}, u"значение ДУТ 4660", false},
    {"BConstant", {0xC2, 0xFF, 0xFF}, u"B-константа 65535", false},
    {"ExclusiveOrUnsigned", {0xD0, 0x01, 0x00, 0x00, 0x80}, u"исключающее ИЛИ 2147483649", false},
    {"BatteryFull", {0x8F}, u"состояние батареи 100 %", false},
    {"BatteryRoundsToNearest",
     {0x81, 0x8C},
     u"состояние батареи 7 %; состояние батареи 80 %",
     false},
    {"GuardAndBonnetStates", {0x91, 0x94}, u"охрана включена с нарушениями; капот открыт", false},
    {"UnknownTagAloneIsSilent", {0x03}, u"", false},
    {"UnknownValueTagSkipsItsValue", {0xA0, 0x01, 0xC5, 0x01, 0x02, 0x1B}, u"Протечка", false},
    {"CutValueLogsAndGivesNothing", {0xC0, 0x10}, u"", true},
    {"CutValueKeepsWhatCameBefore", {0x02, 0xD0, 0x01, 0x02}, u"Снятие с охраны", true},
    {"ZeroTagStopsTheRecord", {0x01, 0x00, 0x02}, u"Постановка на охрану", true},
    {"EmptyRecord", {}, u"", false},
};

INSTANTIATE_TEST_SUITE_P(Records, DecodeRadioDataTest, testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DecodeRadioData, LogsTheWholeRecordInHexadecimal) {
    MemoryLog log;
    (void)DecodeRadioData(std::vector<std::uint8_t>{0x01, 0xC0, 0x0A}, log);
    EXPECT_EQ(log.lines(), QByteArrayList{"Incorrect radio data:\t1 C0 A "});
}

} // namespace
