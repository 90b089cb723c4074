#include "cp1251.h"
#include "emu_harness.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString textOf(const QByteArray& payload) {
    return Cp1251::toUnicode(payload);
}

TEST(EmuIdentification, VersionReplyCarriesConfigurationAndHardware) {
    EmuHarness emu({u"--version"_s, u"1.65"_s, u"--hardware"_s, u"515"_s});
    const auto frames = emu.send("ver");
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 2);
    const QString text = textOf(frames[0].payload);
    EXPECT_TRUE(text.startsWith(u" Версия"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(u"Конфигурация\\D*1\\.65\\D+HV\\D*515$"_s)))
        << text.toStdString();

    EmuHarness noHardware({u"--hardware"_s, u""_s});
    const QString bare = textOf(noHardware.ask("ver"));
    EXPECT_TRUE(bare.contains(u"Конфигурация: 2.19"_s)) << bare.toStdString();
    EXPECT_FALSE(bare.contains(u"HV"_s));
}

TEST(EmuIdentification, SerialAndReplyKindByChannel) {
    EmuHarness emu({u"--serial"_s, u"00A1B2C3D4E5"_s});
    EXPECT_EQ(emu.ask("#S54?"), " #S54:00A1B2C3D4E5");
    const auto unawaited = emu.send("#S54?", 1);
    ASSERT_EQ(unawaited.size(), 1u);
    EXPECT_EQ(unawaited[0].kind, 0);
    EXPECT_TRUE(emu.send("#S63=1", 3).empty());
    EXPECT_TRUE(emu.send("#S99?").empty()); // unknown status numbers stay unanswered
}

// Status values of one poll, cut into the pieces the program would cut.
struct Status {
    int guard = -1;
    QStringList signal, supply;
};

Status poll(EmuHarness& emu) {
    const QByteArray reply = emu.ask("#S0?#S4?#S6?");
    const QRegularExpression shape(u"^ #S0:(\\d+)#S4:(\\d+ \\d+ \\S+)#S6:(\\d+ [01])$"_s);
    const auto match = shape.match(textOf(reply));
    EXPECT_TRUE(match.hasMatch()) << reply.toStdString();
    return {match.captured(1).toInt(), match.captured(2).split(u' '),
            match.captured(3).split(u' ')};
}

TEST(EmuIdentification, StatusGoesThroughGuardSupplyAndNetworkStates) {
    EmuHarness emu;
    QSet<int> guards, networks;
    QSet<QString> sources;
    for (int second = 0; second < 60; second += 2) {
        const Status s = poll(emu);
        guards.insert(s.guard > 1 ? 2 : s.guard);
        networks.insert(s.signal[1].toInt());
        sources.insert(s.supply[1]);
        EXPECT_EQ(s.supply[1] == u"1"_s, s.supply[0].toInt() < 70) << "backup below 7.0 V";
        emu.clock.advance(1000);
    }
    EXPECT_EQ(guards, (QSet<int>{0, 1, 2}));
    EXPECT_EQ(networks, (QSet<int>{1, 5}));
    EXPECT_EQ(sources, (QSet<QString>{u"0"_s, u"1"_s}));
}

TEST(EmuIdentification, ThermometerReadingsAndSlotSerials) {
    EmuHarness emu;
    const QByteArray reply = emu.ask("#S23?");
    ASSERT_TRUE(reply.startsWith(" #S23:")) << reply.toStdString();
    const QList<QByteArray> readings = reply.mid(6).split(' ');
    ASSERT_EQ(readings.size(), 10);
    for (qsizetype slot = 0; slot < readings.size(); ++slot) {
        const int kelvinTenths = readings[slot].toInt();
        const QByteArray serial = emu.ask("#P" + QByteArray::number(653 + slot) + '?');
        EXPECT_TRUE(serial.startsWith(" #P" + QByteArray::number(653 + slot) + ':'));
        // An occupied slot reads between -40 and +85 degrees and has a 16-digit serial.
        EXPECT_TRUE(kelvinTenths == 0 || (kelvinTenths > 2330 && kelvinTenths < 3580));
        EXPECT_EQ(serial.size() - serial.indexOf(':') - 1, kelvinTenths == 0 ? 0 : 16);
    }
    EXPECT_NE(reply.mid(6), "0 0 0 0 0 0 0 0 0 0");
}

} // namespace
