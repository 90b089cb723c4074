#include "cp1251.h"
#include "emu_harness.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace talvik::support;

namespace {

TEST(EmuIdentification, VersionSerialAndReplyKindByChannel) {
    EmuHarness emu(
        {u"--version"_s, u"1.65"_s, u"--hardware"_s, u"515"_s, u"--serial"_s, u"00A1B2C3D4E5"_s});
    const QString text = Cp1251::toUnicode(emu.ask("ver"));
    EXPECT_TRUE(text.startsWith(u" Версия"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(u"Конфигурация\\D*1\\.65\\D+HV\\D*515$"_s)))
        << text.toStdString();
    const QString bare = Cp1251::toUnicode(EmuHarness({u"--hardware"_s, u""_s}).ask("ver"));
    EXPECT_TRUE(bare.contains(u"Конфигурация: 2.19"_s) && !bare.contains(u"HV"_s))
        << bare.toStdString();

    EXPECT_EQ(emu.ask("#S54?"), " #S54:00A1B2C3D4E5");
    const auto unawaited = emu.send("#S54?", 1);
    ASSERT_EQ(unawaited.size(), 1u);
    EXPECT_EQ(unawaited[0].kind, 0);
    EXPECT_TRUE(emu.send("#S63=1", 3).empty());
    EXPECT_TRUE(emu.send("#S99?").empty()); // unknown status numbers stay unanswered
}

TEST(EmuIdentification, StatusGoesThroughGuardSupplyAndNetworkStates) {
    EmuHarness emu;
    const QRegularExpression shape(u"^ #S0:(\\d+)#S4:\\d+ (\\d+) \\S+#S6:(\\d+) ([01])$"_s);
    QSet<int> guards, networks, sources;
    for (int second = 0; second < 60; second += 2, emu.clock.advance(1000)) {
        const QByteArray reply = emu.ask("#S0?#S4?#S6?");
        const auto m = shape.match(Cp1251::toUnicode(reply));
        ASSERT_TRUE(m.hasMatch()) << reply.toStdString();
        guards.insert(std::min(m.captured(1).toInt(), 2));
        networks.insert(m.captured(2).toInt());
        sources.insert(m.captured(4).toInt());
        EXPECT_EQ(m.captured(4) == u"1"_s, m.captured(3).toInt() < 70) << "backup below 7.0 V";
    }
    EXPECT_EQ(guards, (QSet<int>{0, 1, 2}));
    EXPECT_EQ(networks, (QSet<int>{1, 5}));
    EXPECT_EQ(sources, (QSet<int>{0, 1}));
}

TEST(EmuIdentification, ThermometerReadingsAndSlotSerials) {
    EmuHarness emu;
    const QByteArray reply = emu.ask("#S23?");
    ASSERT_TRUE(reply.startsWith(" #S23:")) << reply.toStdString();
    const QList<QByteArray> readings = reply.mid(6).split(' ');
    ASSERT_EQ(readings.size(), 10);
    for (qsizetype slot = 0; slot < readings.size(); ++slot) {
        const int kelvinTenths = readings[slot].toInt();
        const QByteArray query = "#P" + QByteArray::number(653 + slot);
        const QByteArray serial = emu.ask(query + '?');
        // An occupied slot reads between -40 and +85 degrees and has a 16-digit serial.
        EXPECT_TRUE(kelvinTenths == 0 || (kelvinTenths > 2330 && kelvinTenths < 3580));
        EXPECT_EQ(serial, ' ' + query + ':' + serial.mid(query.size() + 2));
        EXPECT_EQ(serial.size() - query.size() - 2, kelvinTenths == 0 ? 0 : 16);
    }
    EXPECT_NE(reply.mid(6), "0 0 0 0 0 0 0 0 0 0");
}

} // namespace
