#include "emu_harness.h"
#include "golden_frames.h"

#include <string>

using namespace talvik::emu;

namespace {

const QByteArray kKeepAlive(reinterpret_cast<const char*>(golden::kKeepAlive),
                            sizeof golden::kKeepAlive);

// What one keep-alive brings back: "announce", "alive" or "other" per frame.
std::string answerTo(EmuHarness& c, std::uint32_t lineBaud = 115200) {
    std::string seen;
    for (const Frame& f : c.feed(kKeepAlive, lineBaud)) {
        seen += f.channel != EmulatorCore::kDeviceChannel     ? "other"
                : f.kind == 0 && f.payload.startsWith('\x01') ? "announce"
                                                              : "alive";
    }
    return seen;
}

// Every end-to-end connect rests on the announcement and the keep-alive answers; here the speeds
// the controller must not answer at.
// The speed the controller listens at, the speed the keep-alive arrived at, and the answer.
struct SpeedRow {
    const char* name;
    std::uint32_t own;
    std::uint32_t line;
    const char* answer;
};

class KeepAliveSpeed : public testing::TestWithParam<SpeedRow> {};

TEST_P(KeepAliveSpeed, IsAnsweredOnlyAtTheControllersOwn) {
    EmuHarness c({}, {}, GetParam().own);
    EXPECT_EQ(answerTo(c, GetParam().line), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(EmulatorCore, KeepAliveSpeed,
                         testing::Values(SpeedRow{"SlowBoth", 9600, 9600, "announce"},
                                         SpeedRow{"FastLineToASlowController", 9600, 115200, ""},
                                         SpeedRow{"LineSpeedUnknown", 115200, 0, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

int answeredOutOf100(int dropPercent, int corruptPercent = 0, std::uint32_t seed = 0,
                     int* badChecksums = nullptr) {
    FaultKnobs knobs;
    knobs.dropPercent = dropPercent;
    knobs.corruptPercent = corruptPercent;
    knobs.seed = seed;
    EmuHarness c({}, knobs);
    int answered = 0;
    for (int i = 0; i < 100; ++i) {
        answered +=
            static_cast<int>(c.feed(*FrameCodec::encode({0, 2, QByteArray(" #P5?\0", 6)})).size());
    }
    if (badChecksums != nullptr) {
        *badChecksums = c.badChecksums;
    }
    return answered;
}

TEST(EmulatorCore, DroppingEveryFrameAnswersNone) {
    EXPECT_EQ(answeredOutOf100(100), 0);
}

TEST(EmulatorCore, DroppingAShareAnswersAboutTheRest) {
    EXPECT_NEAR(answeredOutOf100(30, 0, 7), 70, 20);
}

TEST(EmulatorCore, TheSameSeedDropsTheSameFrames) {
    EXPECT_EQ(answeredOutOf100(30, 0, 7), answeredOutOf100(30, 0, 7));
}

// A corrupt answer is still an answer, only its checksum is wrong.
TEST(EmulatorCore, CorruptingLeavesNoFrameUnanswered) {
    int bad = 0;
    const int good = answeredOutOf100(0, 20, 3, &bad);
    EXPECT_EQ(good + bad, 100);
}

TEST(EmulatorCore, CorruptingAShareSpoilsAboutThatShare) {
    int bad = 0;
    (void)answeredOutOf100(0, 20, 3, &bad);
    EXPECT_NEAR(bad, 20, 15);
}

} // namespace
