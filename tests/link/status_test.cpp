#include "device_type_for_hardware.h"
#include "reply_pieces.h"
#include "status_poll.h"
#include "status_values.h"

#include <QString>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(DeviceTypeForHardware, EveryKnownNumberAndTheRest) {
    const struct {
        QString hardware;
        int type;
    } cases[] = {{u"406"_s, 1}, {u"401"_s, 2}, {u"402"_s, 2}, {u"411"_s, 2}, {u"412"_s, 2},
                 {u"403"_s, 3}, {u"414"_s, 4}, {u"415"_s, 5}, {u"515"_s, 5}, {u"-1"_s, 0},
                 {u"404"_s, 0}, {u"0"_s, 0},   {u""_s, 0},    {u"4120"_s, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(DeviceTypeForHardware(c.hardware), c.type) << c.hardware.toStdString();
    }
}

TEST(SplitReply, PiecesEndOnlyBeforeAStatusMark) {
    const struct {
        QString text;
        QStringList pieces;
    } cases[] = {
        {u"#S0:1#S4:20 1 МТС#S6:125 0"_s, {u"#S0:1"_s, u"#S4:20 1 МТС"_s, u"#S6:125 0"_s}},
        {u"#P7:a#b#S6:125"_s, {u"#P7:a#b"_s, u"#S6:125"_s}},
        {u"#R1:12#P3:4"_s, {u"#R1:12#P3:4"_s}},
        {u"#S54:0123456789AB"_s, {u"#S54:0123456789AB"_s}},
        {u"#S0:1#S"_s, {u"#S0:1"_s, u"#S"_s}},
        {u"#"_s, {u"#"_s}},
        {u"S0:1#S4:2"_s, {}},
        {u""_s, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitReply(c.text), c.pieces) << c.text.toStdString();
    }
}

TEST(StatusValues, PieceNumberAndValue) {
    const auto piece = StatusValues::ParsePiece(u"#S54:AB:CD"_s);
    ASSERT_TRUE(piece);
    EXPECT_EQ(piece->number, 54);
    EXPECT_EQ(piece->value, u"AB:CD"_s);
    // The ':' is looked for from the fourth character on.
    const auto early = StatusValues::ParsePiece(u"#S:5:x"_s);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->number, 0);
    EXPECT_EQ(early->value, u"x"_s);
    EXPECT_FALSE(StatusValues::ParsePiece(u"#S6"_s));
    EXPECT_FALSE(StatusValues::ParsePiece(u"#S:"_s));
    EXPECT_EQ(StatusValues::ParsePiece(u"#S6:"_s)->value, QString());
}

TEST(StatusValues, GuardStates) {
    const struct {
        QString value;
        QString state;
        QString button;
        bool enabled;
    } cases[] = {
        {u"0"_s, u"выкл"_s, u"Включить"_s, true},
        {u"1"_s, u"вкл"_s, u"Выключить"_s, true},
        {u"125"_s, u"Постановка 12.5 с"_s, QString(), false},
        {u"300"_s, u"Постановка 30 с"_s, QString(), false},
        {u"10000"_s, u"Постановка 1000 с"_s, QString(), false},
        {u"2"_s, u"Постановка 0.2 с"_s, QString(), false},
        {u"-5"_s, u"Постановка -0.5 с"_s, QString(), false},
        {u""_s, u"выкл"_s, u"Включить"_s, true},
    };
    for (const auto& c : cases) {
        const StatusValues::Guard guard = StatusValues::GuardFor(c.value);
        EXPECT_EQ(guard.state, c.state) << c.value.toStdString();
        EXPECT_EQ(guard.buttonCaption, c.button) << c.value.toStdString();
        EXPECT_EQ(guard.buttonEnabled, c.enabled) << c.value.toStdString();
    }
}

TEST(StatusValues, GsmSignalNetworkAndOperator) {
    const struct {
        QString value;
        int signal;
        QString network;
        std::optional<QString> operatorName;
    } cases[] = {
        {u"20 5 Билайн"_s, 20, u"роуминг"_s, u"Билайн"_s},
        {u"20 4"_s, 20, QString(), std::nullopt},
        {u"31 0 X"_s, 31, u"не в сети"_s, u"X"_s},
        {u"7 1 МТС"_s, 7, u"в сети"_s, u"МТС"_s},
        {u"7 2"_s, 7, u"в процессе"_s, std::nullopt},
        {u"7 3"_s, 7, u"не доступно"_s, std::nullopt},
        {u"7 6 X"_s, 7, QString(), u"X"_s},
        {u"7 -1"_s, 7, QString(), std::nullopt},
    };
    for (const auto& c : cases) {
        const StatusValues::Gsm gsm = StatusValues::GsmFor(c.value);
        EXPECT_EQ(gsm.signal, c.signal) << c.value.toStdString();
        EXPECT_EQ(gsm.network, c.network) << c.value.toStdString();
        EXPECT_EQ(gsm.operatorName, c.operatorName) << c.value.toStdString();
    }
}

TEST(StatusValues, VoltageAndSource) {
    const struct {
        QString value;
        QString voltage;
        QString source;
    } cases[] = {
        {u"125"_s, u"12.5"_s, u"220 В"_s},       {u"65"_s, u"6.5"_s, u"резервное"_s},
        {u"125 1"_s, u"12.5"_s, u"резервное"_s}, {u"41 0"_s, u"4.1"_s, u"220 В"_s},
        {u"70"_s, u"7"_s, u"резервное"_s},       {u"71"_s, u"7.1"_s, u"220 В"_s},
        {u"120 2"_s, u"12"_s, u"220 В"_s},
    };
    for (const auto& c : cases) {
        const StatusValues::Power power = StatusValues::PowerFor(c.value);
        EXPECT_EQ(power.voltage, c.voltage) << c.value.toStdString();
        EXPECT_EQ(power.source, c.source) << c.value.toStdString();
    }
}

TEST(StatusPoll, IdentificationUntilVersionAndSerialAreKnown) {
    using C = StatusPoll::Command;
    EXPECT_EQ(StatusPoll::Identification(false, false),
              (QList<C>{{u" ver"_s, 2}, {u" #S54?"_s, 2}, {u" #S63=1"_s, 3}}));
    EXPECT_EQ(StatusPoll::Identification(true, false),
              (QList<C>{{u" #S54?"_s, 2}, {u" #S63=1"_s, 3}}));
    EXPECT_EQ(StatusPoll::Identification(false, true),
              (QList<C>{{u" ver"_s, 2}, {u" #S63=1"_s, 3}}));
    EXPECT_TRUE(StatusPoll::Identification(true, true).isEmpty());
}

QStringList Rotation(StatusPoll& poll, const QString& version, const QList<int>& rows, int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        const StatusPoll::Command command = poll.Next(version, rows);
        EXPECT_EQ(command.flag, 2);
        texts.append(command.text);
    }
    return texts;
}

TEST(StatusPoll, RotationByVersionAndThermometers) {
    const QString status = u" #S0?#S4?#S6?"_s;
    const QString readings = u" #S23?"_s;
    StatusPoll old;
    EXPECT_EQ(Rotation(old, u"2.18"_s, {1, 3}, 4),
              QStringList({status, readings, status, readings}));
    StatusPoll none;
    EXPECT_EQ(Rotation(none, u"2.19"_s, {}, 3), QStringList({status, readings, status}));
    StatusPoll three;
    EXPECT_EQ(
        Rotation(three, u"2.19"_s, {1, 3}, 7),
        QStringList({status, u" #P655?"_s, readings, status, u" #P653?"_s, readings, status}));
    // The counters carry on when the rotation shrinks (thermometers gone, another controller).
    EXPECT_EQ(Rotation(three, u"1.66"_s, {1, 3}, 2), QStringList({readings, status}));
}

} // namespace
