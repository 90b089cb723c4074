#include "cp1251.h"
#include "emu_harness.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace talvik::support;

namespace {

// The version and serial replies are read end to end by the window; here what it never asks.
class EmuIdentifies : public testing::Test {
protected:
    EmuHarness emu{{u"--serial"_s, u"00A1B2C3D4E5"_s}};
};

TEST(EmuIdentifiesWithoutHardware, VersionReplyNamesNoHardware) {
    const QString bare = Cp1251::toUnicode(EmuHarness({u"--hardware"_s, u""_s}).ask("ver"));
    EXPECT_FALSE(bare.contains(u"HV"_s)) << bare.toStdString();
}

TEST_F(EmuIdentifies, AQueryOnTheUnawaitedChannelIsAnsweredAsANotice) {
    const auto unawaited = emu.send("#S54?", 1);
    ASSERT_EQ(unawaited.size(), 1u);
    EXPECT_EQ(unawaited[0].kind, 0);
}

TEST_F(EmuIdentifies, LearningStartIsNotAnswered) {
    EXPECT_TRUE(emu.send("#S63=1", 3).empty());
}

TEST(EmuIdentification, StatusGoesThroughSupplyAndNetworkStates) {
    EmuHarness emu;
    const QRegularExpression shape(u"^ #S0:0#S4:\\d+ (\\d+) \\S+#S6:(\\d+) ([01])$"_s);
    QSet<int> networks, sources;
    for (int second = 0; second < 60; second += 2, emu.clock.advance(1000)) {
        const QByteArray reply = emu.ask("#S0?#S4?#S6?");
        const auto m = shape.match(Cp1251::toUnicode(reply));
        ASSERT_TRUE(m.hasMatch()) << reply.toStdString();
        networks.insert(m.captured(1).toInt());
        sources.insert(m.captured(3).toInt());
        EXPECT_EQ(m.captured(3) == u"1"_s, m.captured(2).toInt() < 70) << "backup below 7.0 V";
    }
    EXPECT_EQ(networks, (QSet<int>{1, 5}));
    EXPECT_EQ(sources, (QSet<int>{0, 1}));
}

TEST(EmuIdentification, QueryWithAStatusNobodyKeepsStaysUnanswered) {
    EmuHarness emu;
    EXPECT_TRUE(emu.send("#S0?#S99?").empty());
}

} // namespace
