#include "emulator_core.h"
#include "fake_clock.h"
#include "frame_codec.h"
#include "frame_scanner.h"
#include "golden_frames.h"
#include "module_registry.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kKeepAlive(reinterpret_cast<const char*>(golden::kKeepAlive),
                            sizeof golden::kKeepAlive);

QByteArray command(std::uint8_t channel, const char* text) {
    return *FrameCodec::encode({0, channel, QByteArray(text) + '\0'});
}

// Answers " echo" with its text; stands in for the modules later issues add.
class EchoModule final : public EmuModule {
public:
    bool handle(const Request& request, Responder& out) override {
        if (request.text() != "echo") {
            return false;
        }
        out.reply(QByteArrayLiteral(" echo"));
        return true;
    }
};

std::vector<std::unique_ptr<EmuModule>> shippedModules() {
    QCommandLineParser parser;
    ModuleRegistry::instance().addOptions(parser);
    EXPECT_TRUE(parser.parse({u"talvik-emu"_s}));
    auto modules = ModuleRegistry::instance().createAll(parser);
    modules.push_back(std::make_unique<EchoModule>());
    return modules;
}

// The emulator core on a fake clock, with everything it sends run back through a scanner.
class Core {
public:
    explicit Core(FaultKnobs knobs = {}, std::uint32_t baud = 115200)
        : core(clock, baud, knobs, shippedModules()) {}

    // Sends bytes at the given line speed and collects the answers once the line has
    // delivered them.
    std::vector<Frame> send(const QByteArray& bytes, std::uint32_t lineBaud = 115200) {
        core.receive(bytes, lineBaud);
        clock.advance(1000);
        const auto result = scanner.feed(core.takeOutput());
        badChecksums += result.badChecksums;
        return result.frames;
    }

    FakeClock clock{1000};
    EmulatorCore core;
    FrameScanner scanner;
    int badChecksums = 0;
};

bool isAnnouncement(const std::vector<Frame>& frames) {
    return frames.size() == 1 && frames[0].channel == EmulatorCore::kDeviceChannel &&
           frames[0].kind == 0 && frames[0].payload.startsWith('\x01');
}

bool isAliveAnswer(const std::vector<Frame>& frames) {
    return frames.size() == 1 && frames[0].channel == EmulatorCore::kDeviceChannel &&
           !frames[0].payload.startsWith('\x01');
}

TEST(EmulatorCore, AnnouncesOnceThenKeepsTheLinkAlive) {
    Core c;
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive)));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(isAliveAnswer(c.send(kKeepAlive)));
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
        Core c({}, k.own);
        EXPECT_EQ(c.send(kKeepAlive, k.line).size(), k.answered ? 1u : 0u);
    }
}

TEST(EmulatorCore, NewSessionAfterSpeedHuntingOrLongQuiet) {
    Core c;
    ASSERT_TRUE(isAnnouncement(c.send(kKeepAlive)));
    EXPECT_TRUE(c.send(kKeepAlive, 9600).empty()); // the program is hunting again
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive)));

    c.clock.advance(EmulatorCore::kHostQuietMs - 1000); // send() itself moved 1000 ms
    EXPECT_TRUE(isAliveAnswer(c.send(kKeepAlive)));
    c.clock.advance(EmulatorCore::kHostQuietMs);
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive)));
}

TEST(EmulatorCore, ClosedPortLosesTheSessionAndWhatWasOnTheLine) {
    Core c;
    ASSERT_TRUE(isAnnouncement(c.send(kKeepAlive)));
    c.core.receive(kKeepAlive + kKeepAlive.left(5), 115200); // an answer and half a probe
    c.core.lineDropped();
    c.clock.advance(1000);
    EXPECT_TRUE(c.core.takeOutput().isEmpty());
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive.mid(5) + kKeepAlive)));
}

TEST(EmulatorCore, ReplyKindFollowsTheCommandChannel) {
    Core c;
    for (const std::uint8_t channel : {1, 2, 3}) {
        SCOPED_TRACE(static_cast<int>(channel));
        const auto frames = c.send(command(channel, " echo"));
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0], (Frame{std::uint8_t(channel == 2 ? 2 : 0),
                                    EmulatorCore::kDeviceChannel, QByteArray(" echo")}));
    }
    EXPECT_TRUE(c.send(command(2, " no such command")).empty());

    // Several frames in one read, each answered in turn.
    const auto frames = c.send(kKeepAlive + command(2, " echo") + kKeepAlive);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1].kind, 2);
    EXPECT_TRUE(c.send(QByteArray("garbage\x02Tk")).empty());
}

FaultKnobs faults(int dropPercent, int corruptPercent, std::uint32_t seed = 0) {
    FaultKnobs knobs;
    knobs.dropPercent = dropPercent;
    knobs.corruptPercent = corruptPercent;
    knobs.seed = seed;
    return knobs;
}

int answeredOutOf100(FaultKnobs knobs, int* badChecksums = nullptr) {
    Core c(knobs);
    int answered = 0;
    for (int i = 0; i < 100; ++i) {
        answered += static_cast<int>(c.send(command(2, " echo")).size());
    }
    if (badChecksums != nullptr) {
        *badChecksums = c.badChecksums;
    }
    return answered;
}

TEST(EmulatorCore, DropAndCorruptKnobs) {
    EXPECT_EQ(answeredOutOf100({}), 100);
    EXPECT_EQ(answeredOutOf100(faults(100, 0)), 0);

    const int dropped = 100 - answeredOutOf100(faults(30, 0, 7));
    EXPECT_GT(dropped, 10);
    EXPECT_LT(dropped, 50);
    EXPECT_EQ(answeredOutOf100(faults(30, 0, 7)), 100 - dropped); // repeatable
    EXPECT_NE(answeredOutOf100(faults(30, 0, 8)), 100 - dropped);

    int bad = 0;
    const int good = answeredOutOf100(faults(0, 20, 3), &bad);
    EXPECT_EQ(good + bad, 100);
    EXPECT_GT(bad, 5);
    EXPECT_LT(bad, 40);
    EXPECT_EQ(answeredOutOf100(faults(0, 100), &bad), 0);
    EXPECT_EQ(bad, 100);
}

TEST(EmulatorCore, SilentAfterStopsAnswersAndCutsOutput) {
    FaultKnobs knobs;
    knobs.silentAfterMs = 3500;
    Core c(knobs);
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive)));
    c.core.receive(kKeepAlive, 115200); // 1000 ms in: the answer is queued, not yet taken
    c.clock.advance(2600);
    EXPECT_TRUE(c.core.takeOutput().isEmpty());
    EXPECT_TRUE(c.send(kKeepAlive).empty());
}

TEST(EmulatorCore, SilentForEndsTheSilenceWithANewSession) {
    FaultKnobs knobs;
    knobs.silentAfterMs = 2000;
    knobs.silentForMs = 8000;
    Core c(knobs);
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive))); // sent at 0 ms, delivered by 1000 ms
    for (int i = 1; i < 10; ++i) { // answered at 1000 ms, but silent from 2000 to 10000 ms
        EXPECT_TRUE(c.send(kKeepAlive).empty()) << i;
    }
    EXPECT_TRUE(isAnnouncement(c.send(kKeepAlive))); // at 10000 ms: a fresh session
    EXPECT_TRUE(isAliveAnswer(c.send(kKeepAlive)));
}

} // namespace
