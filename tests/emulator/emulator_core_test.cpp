#include "emu_harness.h"
#include "golden_frames.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kKeepAlive(reinterpret_cast<const char*>(golden::kKeepAlive),
                            sizeof golden::kKeepAlive);

QByteArray command(std::uint8_t channel, const char* text) {
    return *FrameCodec::encode({0, channel, QByteArray(text) + '\0'});
}

bool isAnnouncement(const std::vector<Frame>& frames) {
    return frames.size() == 1 && frames[0].channel == EmulatorCore::kDeviceChannel &&
           frames[0].kind == 0 && frames[0].payload.startsWith('\x01');
}

bool isAliveAnswer(const std::vector<Frame>& frames) {
    return frames.size() == 1 && frames[0].channel == EmulatorCore::kDeviceChannel &&
           !frames[0].payload.startsWith('\x01');
}

TEST(EmulatorCore, AnnouncesOnceThenKeepsTheLinkAlive) {
    EmuHarness c;
    EXPECT_TRUE(isAnnouncement(c.feed(kKeepAlive)));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(isAliveAnswer(c.feed(kKeepAlive)));
    }
}

TEST(EmulatorCore, AnswersOnlyAtItsOwnSpeed) {
    struct Case {
        std::uint32_t own, line;
        bool answered;
    };
    const Case cases[] = {{115200, 115200, true},
                          {115200, 9600, false},
                          {9600, 9600, true},
                          {9600, 115200, false},
                          {115200, 0, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.own << " listening, line at " << k.line);
        EmuHarness c({}, {}, k.own);
        EXPECT_EQ(c.feed(kKeepAlive, k.line).size(), k.answered ? 1u : 0u);
    }
}

FaultKnobs faults(int dropPercent, int corruptPercent, std::uint32_t seed = 0) {
    FaultKnobs knobs;
    knobs.dropPercent = dropPercent;
    knobs.corruptPercent = corruptPercent;
    knobs.seed = seed;
    return knobs;
}

int answeredOutOf100(FaultKnobs knobs, int* badChecksums = nullptr) {
    EmuHarness c({}, knobs);
    int answered = 0;
    for (int i = 0; i < 100; ++i) {
        answered += static_cast<int>(c.feed(command(2, " #P5?")).size());
    }
    if (badChecksums != nullptr) {
        *badChecksums = c.badChecksums;
    }
    return answered;
}

TEST(EmulatorCore, DropAndCorruptKnobs) {
    EXPECT_EQ(answeredOutOf100({}), 100);
    EXPECT_EQ(answeredOutOf100(faults(100, 0)), 0);
    const int answered = answeredOutOf100(faults(30, 0, 7));
    EXPECT_NEAR(answered, 70, 20);
    EXPECT_EQ(answeredOutOf100(faults(30, 0, 7)), answered) << "the seed makes runs repeatable";

    int bad = 0;
    EXPECT_EQ(answeredOutOf100(faults(0, 20, 3), &bad) + bad, 100);
    EXPECT_NEAR(bad, 20, 15);
}

} // namespace
