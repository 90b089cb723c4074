#include "emu_harness.h"
#include "golden_frames.h"

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

TEST(EmulatorCore, AnnouncesOnceThenKeepsTheLinkAliveAtItsOwnSpeedOnly) {
    EmuHarness c;
    for (const char* expected : {"announce", "alive", "alive"}) {
        EXPECT_EQ(answerTo(c), expected);
    }
    const struct {
        std::uint32_t own, line;
        const char* answer;
    } cases[] = {{115200, 9600, ""}, {9600, 9600, "announce"}, {9600, 115200, ""}, {115200, 0, ""}};
    for (const auto& k : cases) {
        EmuHarness other({}, {}, k.own);
        EXPECT_EQ(answerTo(other, k.line), k.answer) << k.own << " listening, line at " << k.line;
    }
}

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

TEST(EmulatorCore, DropAndCorruptKnobs) {
    EXPECT_EQ(answeredOutOf100(0), 100);
    EXPECT_EQ(answeredOutOf100(100), 0);
    const int answered = answeredOutOf100(30, 0, 7);
    EXPECT_NEAR(answered, 70, 20);
    EXPECT_EQ(answeredOutOf100(30, 0, 7), answered) << "repeatable by seed";
    int bad = 0;
    EXPECT_EQ(answeredOutOf100(0, 20, 3, &bad) + bad, 100);
    EXPECT_NEAR(bad, 20, 15);
}

} // namespace
