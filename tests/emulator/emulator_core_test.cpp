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

TEST(EmulatorCore, NewSessionAfterSpeedHuntingOrLongQuiet) {
    EmuHarness c;
    ASSERT_TRUE(isAnnouncement(c.feed(kKeepAlive)));
    EXPECT_TRUE(c.feed(kKeepAlive, 9600).empty()); // the program is hunting again
    EXPECT_TRUE(isAnnouncement(c.feed(kKeepAlive)));

    c.clock.advance(EmulatorCore::kHostQuietMs - 1000); // feed() itself moved 1000 ms
    EXPECT_TRUE(isAliveAnswer(c.feed(kKeepAlive)));
    c.clock.advance(EmulatorCore::kHostQuietMs);
    EXPECT_TRUE(isAnnouncement(c.feed(kKeepAlive)));
}

TEST(EmulatorCore, ClosedPortLosesTheSessionAndWhatWasOnTheLine) {
    EmuHarness c;
    ASSERT_TRUE(isAnnouncement(c.feed(kKeepAlive)));
    c.core.receive(kKeepAlive + kKeepAlive.left(5), 115200); // an answer and half a probe
    c.core.lineDropped();
    c.clock.advance(1000);
    EXPECT_TRUE(c.core.takeOutput().isEmpty());
    EXPECT_TRUE(isAnnouncement(c.feed(kKeepAlive.mid(5) + kKeepAlive)));
}

TEST(EmulatorCore, ReplyKindFollowsTheCommandChannel) {
    EmuHarness c;
    for (const std::uint8_t channel : {1, 2, 3}) {
        SCOPED_TRACE(static_cast<int>(channel));
        const auto frames = c.feed(command(channel, " #P5?"));
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0], (Frame{std::uint8_t(channel == 2 ? 2 : 0),
                                    EmulatorCore::kDeviceChannel, QByteArray(" #P5:0")}));
    }
    EXPECT_TRUE(c.feed(command(2, " no such command")).empty());

    // Several frames in one read, each answered in turn.
    const auto frames = c.feed(kKeepAlive + command(2, " #P5?") + kKeepAlive);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].kind, 2);
    EXPECT_TRUE(c.feed(QByteArray("garbage\x02Tk")).empty());
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

TEST(EmulatorCore, SilentForEndsTheSilenceWithANewSession) {
    FaultKnobs knobs;
    knobs.silentAfterMs = 2000;
    knobs.silentForMs = 8000;
    EmuHarness c({}, knobs);
    EXPECT_TRUE(isAnnouncement(c.feed(kKeepAlive))); // sent at 0 ms, delivered by 1000 ms
    for (int i = 1; i < 10; ++i) { // answered at 1000 ms, but silent from 2000 to 10000 ms
        EXPECT_TRUE(c.feed(kKeepAlive).empty()) << i;
    }
    EXPECT_TRUE(isAnnouncement(c.feed(kKeepAlive))); // at 10000 ms: a fresh session
    EXPECT_TRUE(isAliveAnswer(c.feed(kKeepAlive)));
}

} // namespace
