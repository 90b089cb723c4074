#include "emu_harness.h"

namespace {

QByteArray guard(EmuHarness& emu) {
    return emu.ask("#S0?");
}

TEST(EmuGuard, ArmingCountsDownInWholeSecondsThenTheGuardIsOn) {
    EmuHarness emu;
    EXPECT_EQ(emu.ask("#S0=1"), " #S0:50");
    // Asking takes a second of the emulator's time.
    EXPECT_EQ(guard(emu), " #S0:40");
    emu.clock.advance(2500);
    EXPECT_EQ(guard(emu), " #S0:10");
    emu.clock.advance(1000);
    EXPECT_EQ(guard(emu), " #S0:1");
}

TEST(EmuGuard, DisarmingIsImmediateAlsoWhileArming) {
    EmuHarness emu;
    static_cast<void>(emu.ask("#S0=1"));
    EXPECT_EQ(emu.ask("#S0=0"), " #S0:0");
    emu.clock.advance(6000);
    EXPECT_EQ(guard(emu), " #S0:0");
}

TEST(EmuGuard, ArmingAgainKeepsTheCountdownGoing) {
    EmuHarness emu;
    static_cast<void>(emu.ask("#S0=1"));
    emu.clock.advance(2000);
    EXPECT_EQ(emu.ask("#S0=1"), " #S0:20");
}

} // namespace
