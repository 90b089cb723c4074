#include "device_type_for_hardware.h"
#include "reply_pieces.h"
#include "status_poll.h"
#include "status_values.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>

using namespace Qt::StringLiterals;
using namespace talvik::link;

namespace {

TEST(DeviceTypeForHardware, EveryKnownNumberAndTheRest) {
    const std::pair<QString, int> cases[] = {
        {u"406"_s, 1}, {u"401"_s, 2}, {u"402"_s, 2}, {u"411"_s, 2}, {u"412"_s, 2},
        {u"403"_s, 3}, {u"414"_s, 4}, {u"415"_s, 5}, {u"515"_s, 5}, {u"-1"_s, 0},
        {u"404"_s, 0}, {u"0"_s, 0},   {u""_s, 0},    {u"4120"_s, 0}};
    for (const auto& [hardware, type] : cases) {
        EXPECT_EQ(DeviceTypeForHardware(hardware), type) << hardware.toStdString();
    }
}

TEST(SplitReply, PiecesEndOnlyBeforeAStatusMark) {
    const std::pair<QString, QStringList> cases[] = {
        {u"#S0:1#S4:20 1 МТС#S6:125 0"_s, {u"#S0:1"_s, u"#S4:20 1 МТС"_s, u"#S6:125 0"_s}},
        {u"#P7:a#b#S6:125"_s, {u"#P7:a#b"_s, u"#S6:125"_s}},
        {u"S0:1#S4:2"_s, {}},
    };
    for (const auto& [text, pieces] : cases) {
        EXPECT_EQ(SplitReply(text), pieces) << text.toStdString();
    }
}

// A value as the controller reports it and the text the window shows for it.
struct Shown {
    const char* name;
    QString value;
    QString text;
};

void PrintTo(const Shown& row, std::ostream* out) {
    *out << row.name;
}

std::string rowName(const testing::TestParamInfo<Shown>& info) {
    return info.param.name;
}

using StatusValues::GsmFor;
using StatusValues::GuardFor;
using StatusValues::ParsePiece;
using StatusValues::PowerFor;

class GuardState : public testing::TestWithParam<Shown> {};

TEST_P(GuardState, Shown) {
    EXPECT_EQ(GuardFor(GetParam().value).state, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    StatusValues, GuardState,
    testing::Values(Shown{"Off", u"0"_s, u"выкл"_s}, Shown{"On", u"1"_s, u"вкл"_s},
                    Shown{"ArmingInTenths", u"2"_s, u"Постановка 0.2 с"_s},
                    Shown{"ArmingWholeSeconds", u"300"_s, u"Постановка 30 с"_s},
                    Shown{"ArmingNegative", u"-5"_s, u"Постановка -0.5 с"_s}),
    rowName);

TEST(GuardButton, OffOffersToArm) {
    EXPECT_EQ(GuardFor(u"0"_s).buttonCaption, u"Включить"_s);
}

TEST(GuardButton, OnOffersToDisarm) {
    EXPECT_EQ(GuardFor(u"1"_s).buttonCaption, u"Выключить"_s);
}

TEST(GuardButton, ArmingLeavesItWithoutCaption) {
    EXPECT_EQ(GuardFor(u"300"_s).buttonCaption, QString());
}

TEST(GuardButton, ArmingDisablesIt) {
    EXPECT_FALSE(GuardFor(u"300"_s).buttonEnabled);
}

class GsmNetwork : public testing::TestWithParam<Shown> {};

TEST_P(GsmNetwork, Shown) {
    EXPECT_EQ(GsmFor(GetParam().value).network, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StatusValues, GsmNetwork,
                         testing::Values(Shown{"NotRegistered", u"31 0 X"_s, u"не в сети"_s},
                                         Shown{"Registered", u"7 1 МТС"_s, u"в сети"_s},
                                         Shown{"Searching", u"7 2"_s, u"в процессе"_s},
                                         Shown{"Denied", u"7 3"_s, u"не доступно"_s},
                                         Shown{"Roaming", u"20 5 Билайн"_s, u"роуминг"_s},
                                         Shown{"UnknownState", u"7 6 X"_s, QString()}),
                         rowName);

TEST(Gsm, SignalIsTheFirstNumber) {
    EXPECT_EQ(GsmFor(u"20 5 Билайн"_s).signal, 20);
}

TEST(Gsm, OperatorIsTheRestOfTheValue) {
    EXPECT_EQ(GsmFor(u"20 5 Билайн"_s).operatorName, u"Билайн"_s);
}

TEST(Gsm, NoOperatorWithoutIt) {
    EXPECT_EQ(GsmFor(u"7 2"_s).operatorName, std::nullopt);
}

class PowerVoltage : public testing::TestWithParam<Shown> {};

TEST_P(PowerVoltage, Shown) {
    EXPECT_EQ(PowerFor(GetParam().value).voltage, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StatusValues, PowerVoltage,
                         testing::Values(Shown{"WholeVolts", u"70"_s, u"7"_s},
                                         Shown{"Tenths", u"71"_s, u"7.1"_s},
                                         Shown{"WithTheSource", u"125 1"_s, u"12.5"_s}),
                         rowName);

class PowerSource : public testing::TestWithParam<Shown> {};

TEST_P(PowerSource, Shown) {
    EXPECT_EQ(PowerFor(GetParam().value).source, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StatusValues, PowerSource,
                         testing::Values(Shown{"EvenTenthsAlone", u"70"_s, u"резервное"_s},
                                         Shown{"OddTenthsAlone", u"71"_s, u"220 В"_s},
                                         Shown{"FlagOne", u"125 1"_s, u"резервное"_s},
                                         Shown{"FlagZero", u"41 0"_s, u"220 В"_s}),
                         rowName);

// "#S" pieces: the number, then the value after the first ':' from the fourth character on.
class PieceValue : public testing::TestWithParam<Shown> {};

TEST_P(PieceValue, Read) {
    EXPECT_EQ(ParsePiece(GetParam().value).value_or(StatusValues::Piece{-1, u"none"_s}).value,
              GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StatusValues, PieceValue,
                         testing::Values(Shown{"ColonInTheValue", u"#S54:AB:CD"_s, u"AB:CD"_s},
                                         Shown{"NoNumber", u"#S:5:x"_s, u"x"_s},
                                         Shown{"EmptyValue", u"#S6:"_s, QString()},
                                         Shown{"NoColon", u"#S6"_s, u"none"_s}),
                         rowName);

TEST(Piece, NumberStandsBeforeTheColon) {
    EXPECT_EQ(ParsePiece(u"#S54:AB:CD"_s).value_or(StatusValues::Piece{-1, {}}).number, 54);
}

TEST(Piece, NoNumberReadsAsZero) {
    EXPECT_EQ(ParsePiece(u"#S:5:x"_s).value_or(StatusValues::Piece{-1, {}}).number, 0);
}

TEST(StatusPoll, RotationByVersionAndThermometers) {
    const auto rotation = [](StatusPoll& poll, const QString& version, int count) {
        QStringList texts;
        for (int i = 0; i < count; ++i) {
            const StatusPoll::Command command = poll.Next(version, {1, 3});
            texts.append(command.text + (command.flag == SendFlag::AwaitReply ? u""_s : u"!"_s));
        }
        return texts;
    };
    const QString status = u" #S0?#S4?#S6?"_s;
    const QString readings = u" #S23?"_s;
    StatusPoll old;
    EXPECT_EQ(rotation(old, u"2.18"_s, 3), QStringList({status, readings, status}));
    StatusPoll poll;
    EXPECT_EQ(rotation(poll, u"2.19"_s, 7), QStringList({status, u" #P655?"_s, readings, status,
                                                         u" #P653?"_s, readings, status}));
    // The counters carry on when the rotation shrinks (thermometers gone, another controller).
    EXPECT_EQ(rotation(poll, u"1.66"_s, 2), QStringList({readings, status}));
}

} // namespace
