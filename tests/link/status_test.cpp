#include "device_type_for_hardware.h"
#include "reply_pieces.h"
#include "status_poll.h"
#include "status_values.h"

#include <gtest/gtest.h>

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

QString Shown(char kind, const QString& value) {
    using namespace StatusValues;
    if (kind == 'p') {
        const auto piece = ParsePiece(value);
        return piece ? QString::number(piece->number) + u'=' + piece->value : u"none"_s;
    }
    if (kind == 'g') {
        const Guard g = GuardFor(value);
        return g.state + u'|' + g.buttonCaption + (g.buttonEnabled ? u"|on"_s : u"|off"_s);
    }
    if (kind == 'n') {
        const Gsm n = GsmFor(value);
        return QString::number(n.signal) + u'|' + n.network + u'|' +
               n.operatorName.value_or(u"-"_s);
    }
    const Power p = PowerFor(value);
    return p.voltage + u'|' + p.source;
}

TEST(StatusValues, PiecesGuardGsmAndPowerAtTheirEdges) {
    const std::tuple<char, QString, QString> cases[] = {
        {'p', u"#S54:AB:CD"_s, u"54=AB:CD"_s},
        {'p', u"#S:5:x"_s, u"0=x"_s}, // the ':' is looked for from the fourth character on
        {'p', u"#S6"_s, u"none"_s},
        {'p', u"#S6:"_s, u"6="_s},
        {'g', u"0"_s, u"выкл|Включить|on"_s},
        {'g', u"1"_s, u"вкл|Выключить|on"_s},
        {'g', u"2"_s, u"Постановка 0.2 с||off"_s},
        {'g', u"300"_s, u"Постановка 30 с||off"_s},
        {'g', u"-5"_s, u"Постановка -0.5 с||off"_s},
        {'n', u"20 5 Билайн"_s, u"20|роуминг|Билайн"_s},
        {'n', u"31 0 X"_s, u"31|не в сети|X"_s},
        {'n', u"7 1 МТС"_s, u"7|в сети|МТС"_s},
        {'n', u"7 2"_s, u"7|в процессе|-"_s},
        {'n', u"7 3"_s, u"7|не доступно|-"_s},
        {'n', u"7 6 X"_s, u"7||X"_s},
        {'v', u"70"_s, u"7|резервное"_s},
        {'v', u"71"_s, u"7.1|220 В"_s},
        {'v', u"125 1"_s, u"12.5|резервное"_s},
        {'v', u"41 0"_s, u"4.1|220 В"_s},
    };
    for (const auto& [kind, value, shown] : cases) {
        EXPECT_EQ(Shown(kind, value), shown) << kind << ' ' << value.toStdString();
    }
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
