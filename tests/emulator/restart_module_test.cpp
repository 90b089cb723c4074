#include "cp1251.h"
#include "emu_harness.h"
#include "golden_frames.h"

using namespace Qt::StringLiterals;
using namespace talvik::emu;
using namespace talvik::support;

namespace {

const QByteArray kKeepAlive(reinterpret_cast<const char*>(golden::kKeepAlive),
                            sizeof golden::kKeepAlive);

bool announced(const std::vector<Frame>& frames) {
    return frames.size() == 1 && frames[0].payload.startsWith('\x01');
}

class EmuRestart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(announced(emu.feed(kKeepAlive)));
        EXPECT_TRUE(emu.send("ReStarT", 1).empty());
    }
    EmuHarness emu{{u"--restart-quiet"_s, u"8"_s}};
};

TEST_F(EmuRestart, ControllerIsQuietAfterARestart) {
    emu.clock.advance(5000);
    EXPECT_TRUE(emu.feed(kKeepAlive).empty());
}

TEST_F(EmuRestart, ControllerAnnouncesItselfAgainAfterTheQuiet) {
    emu.clock.advance(8000);
    EXPECT_TRUE(announced(emu.feed(kKeepAlive)));
}

TEST(EmuTerminal, UnknownTypedCommandGetsAPlainTextAnswer) {
    EmuHarness emu;
    const auto frames = emu.send("hello", 1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 0);
    EXPECT_EQ(Cp1251::toUnicode(frames[0].payload), u" Неизвестная команда: hello"_s);
}

TEST(EmuTerminal, KnownCommandsAndQueriesAreNotTakenAsUnknown) {
    EmuHarness emu;
    EXPECT_TRUE(Cp1251::toUnicode(emu.ask("ver")).startsWith(u" Версия"_s));
    EXPECT_TRUE(emu.send("#P99999?#X").empty());
}

} // namespace
