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

// The known numbers are a table; what matters beyond it is that nothing else matches.
TEST(DeviceTypeForHardware, ALongerNumberIsNotAKnownOne) {
    EXPECT_EQ(DeviceTypeForHardware(u"4120"), 0);
}

TEST(DeviceTypeForHardware, NoNumberChoosesNoType) {
    EXPECT_EQ(DeviceTypeForHardware(u""), 0);
}

// A reply and the pieces it splits into.
struct SplitRow {
    const char* name;
    QString reply;
    QStringList pieces;
};

class SplitReplyInto : public testing::TestWithParam<SplitRow> {};

TEST_P(SplitReplyInto, PiecesEndingOnlyBeforeAStatusMark) {
    EXPECT_EQ(SplitReply(GetParam().reply), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, SplitReplyInto,
    testing::Values(SplitRow{"ThreeStatuses",
                             u"#S0:1#S4:20 1 МТС#S6:125 0"_s,
                             {u"#S0:1"_s, u"#S4:20 1 МТС"_s, u"#S6:125 0"_s}},
                    SplitRow{"HashInsideAValue", u"#P7:a#b#S6:125"_s, {u"#P7:a#b"_s, u"#S6:125"_s}},
                    SplitRow{"NoMarkAtTheStart", u"S0:1#S4:2"_s, {}}),
    [](const auto& info) { return std::string(info.param.name); });

using StatusValues::GsmFor;
using StatusValues::GuardFor;
using StatusValues::ParsePiece;
using StatusValues::PowerFor;

QString guardState(const QString& value) {
    return GuardFor(value).state;
}
QString network(const QString& value) {
    return GsmFor(value).network;
}
QString voltage(const QString& value) {
    return PowerFor(value).voltage;
}
QString source(const QString& value) {
    return PowerFor(value).source;
}
// The value of a "#S" piece: after the first ':' from the fourth character on.
QString pieceValue(const QString& piece) {
    return ParsePiece(piece).value_or(StatusValues::Piece{-1, u"none"_s}).value;
}

// A value as the controller reports it, and the text of it the window shows.
struct Shown {
    const char* name;
    QString (*text)(const QString&);
    QString value;
    QString expected;
};

void PrintTo(const Shown& row, std::ostream* out) {
    *out << row.name;
}

class StatusText : public testing::TestWithParam<Shown> {};

TEST_P(StatusText, Shown) {
    EXPECT_EQ(GetParam().text(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    StatusValues, StatusText,
    testing::Values(Shown{"ArmingInTenths", guardState, u"2"_s, u"Постановка 0.2 с"_s},
                    Shown{"ArmingWholeSeconds", guardState, u"300"_s, u"Постановка 30 с"_s},
                    Shown{"ArmingNegative", guardState, u"-5"_s, u"Постановка -0.5 с"_s},
                    Shown{"NotRegistered", network, u"31 0 X"_s, u"не в сети"_s},
                    Shown{"Searching", network, u"7 2"_s, u"в процессе"_s},
                    Shown{"Denied", network, u"7 3"_s, u"не доступно"_s},
                    Shown{"Roaming", network, u"20 5 Билайн"_s, u"роуминг"_s},
                    Shown{"UnknownNetworkState", network, u"7 6 X"_s, QString()},
                    Shown{"WholeVolts", voltage, u"70"_s, u"7"_s},
                    Shown{"TenthsOfAVolt", voltage, u"71"_s, u"7.1"_s},
                    Shown{"VoltsBeforeTheSource", voltage, u"125 1"_s, u"12.5"_s},
                    Shown{"EvenTenthsAloneOnReserve", source, u"70"_s, u"резервное"_s},
                    Shown{"SourceFlagOne", source, u"125 1"_s, u"резервное"_s},
                    Shown{"PieceWithAColonInTheValue", pieceValue, u"#S54:AB:CD"_s, u"AB:CD"_s},
                    Shown{"PieceWithoutNumber", pieceValue, u"#S:5:x"_s, u"x"_s},
                    Shown{"PieceWithEmptyValue", pieceValue, u"#S6:"_s, QString()},
                    Shown{"PieceWithoutColon", pieceValue, u"#S6"_s, u"none"_s}),
    [](const auto& info) { return std::string(info.param.name); });

// Off, on and arming as the window shows them are driven end to end.
TEST(GuardButton, ArmingLeavesItWithoutCaption) {
    EXPECT_EQ(GuardFor(u"300"_s).buttonCaption, QString());
}

TEST(Gsm, NoOperatorWithoutIt) {
    EXPECT_EQ(GsmFor(u"7 2"_s).operatorName, std::nullopt);
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
