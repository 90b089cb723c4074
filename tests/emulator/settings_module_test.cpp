#include "cp1251.h"
#include "emu_harness.h"
#include "test_dir.h"

#include <set>

using namespace Qt::StringLiterals;

namespace {

const QByteArray kSeed = R"([
 {"HW": "406"},
 {"Value": 0, "Edit": "Иван Петров"},
 {"Value": 3, "Combo": 2},
 {"Value": 7, "Check": 1},
 {"Value": 20, "None": "text"},
 {"Value": 41, "Edit": 125}
])";

QStringList seeded(const TestDir& dir, QStringList more = {}) {
    dir.writeFile(u"seed.set"_s, kSeed);
    return QStringList{u"--settings"_s, dir.file(u"seed.set"_s)} + more;
}

TEST(EmuSettings, QueriesAndWrites) {
    TestDir dir;
    EmuHarness emu(seeded(dir));
    struct Case {
        const char* command;
        QByteArray reply;
    };
    const Case cases[] = {
        {"#P3?", " #P3:2"},
        {"#P0?", " #P0:" + Cp1251::fromUnicode(u"Иван Петров"_s)},
        {"#P999?", " #P999:"}, // a number the controller does not use reads as empty
        {"#P20=5", " #P20:5"},
        {"#P20?", " #P20:5"},
        {"#P21=(a b) #P21?", " #P21:a b"}, // write and read-back in one text: one answer
        {"#P21?", " #P21:a b"},
        {"#P22=(x)", " #P22:x"},
        {"#P23=a b", " #P23:a b"},
        {"#P24=", " #P24:"},
        {"#P25=(", " #P25:("},
        {"#P26=7 #P27?", " #P26:7 #P27?"}, // a query for another number is part of the text
        {"#S15=1", " #S15:1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const auto frames = emu.send(c.command);
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].kind, 2);
        EXPECT_EQ(frames[0].payload, c.reply);
    }
    for (const char* ignored : {"#P?", "#P-1?", "#Pa=1", "#P=1", "#P3"}) {
        EXPECT_TRUE(emu.send(ignored).empty()) << ignored;
    }
}

// The dump as the program sees it: the numbers and values of the "#P" lines, in order.
struct Dump {
    std::vector<std::pair<int, QByteArray>> lines;
    int terminator = -1;
    int otherFrames = 0;
};

Dump dumpOf(const std::vector<Frame>& frames) {
    Dump dump;
    for (const Frame& f : frames) {
        const qsizetype colon = f.payload.indexOf(':');
        if (f.kind != 0 || !f.payload.startsWith(" #P") || colon < 0) {
            ++dump.otherFrames;
            continue;
        }
        EXPECT_EQ(dump.terminator, -1) << "a line after the terminator";
        const int number = f.payload.mid(3, colon - 3).toInt();
        const QByteArray value = f.payload.mid(colon + 1);
        EXPECT_FALSE(value.contains("#P")) << "one line per frame";
        if (value == "!") {
            dump.terminator = number;
        } else {
            dump.lines.emplace_back(number, value);
        }
    }
    return dump;
}

TEST(EmuSettings, DumpListsEverySettingInOrderThenTheTerminator) {
    TestDir dir;
    EmuHarness emu(seeded(dir));
    emu.ask("#P50=late"); // a setting written by the program is listed too
    const Dump dump = dumpOf(emu.send("#S15=2"));
    const std::vector<std::pair<int, QByteArray>> expected = {
        {0, Cp1251::fromUnicode(u"Иван Петров"_s)},
        {3, "2"},
        {7, "1"},
        {20, "text"},
        {41, "125"},
        {50, "late"}};
    EXPECT_EQ(dump.lines, expected);
    EXPECT_EQ(dump.terminator, 51);
    EXPECT_EQ(dump.otherFrames, 0);

    EmuHarness blank; // without a file: settings 0 to 99
    const Dump blankDump = dumpOf(blank.send("#S15=2"));
    ASSERT_EQ(blankDump.lines.size(), 100u);
    EXPECT_EQ(blankDump.lines.back(), (std::pair<int, QByteArray>{99, "0"}));
    EXPECT_EQ(blankDump.terminator, 100);
}

// The numbers the program asks for again after a dump: those missing between -1 and the
// terminator.
std::set<int> gapsSeenBy(const Dump& dump) {
    std::set<int> gaps;
    int last = -1;
    for (const auto& line : dump.lines) {
        for (int k = last + 1; k < line.first; ++k) {
            gaps.insert(k);
        }
        last = line.first;
    }
    for (int k = last + 1; k < dump.terminator; ++k) {
        gaps.insert(k);
    }
    return gaps;
}

TEST(EmuSettings, DumpGapsAreLeftOutButStillAnswered) {
    const QStringList arguments{u"--dump-gaps"_s, u"7"_s, u"--seed"_s, u"11"_s};
    EmuHarness full;
    EmuHarness gappy(arguments);
    const std::set<int> gaps = gapsSeenBy(dumpOf(gappy.send("#S15=2")));
    EXPECT_TRUE(gapsSeenBy(dumpOf(full.send("#S15=2"))).empty());
    EXPECT_EQ(gaps.size(), 7u);
    for (const int gap : gaps) {
        EXPECT_EQ(gappy.ask("#P" + QByteArray::number(gap) + '?'),
                  " #P" + QByteArray::number(gap) + ":0");
    }
    EXPECT_EQ(gapsSeenBy(dumpOf(gappy.send("#S15=2"))), gaps); // the same every time

    // When the highest settings are left out, the terminator still lets the program ask.
    TestDir dir;
    dir.writeFile(u"two.set"_s,
                  R"([{"HW": "0"}, {"Value": 1, "None": "a"}, {"Value": 2, "None": "b"}])");
    EmuHarness allGone({u"--settings"_s, dir.file(u"two.set"_s), u"--dump-gaps"_s, u"2"_s});
    const Dump empty = dumpOf(allGone.send("#S15=2"));
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.terminator, 3);
}

TEST(EmuSettings, LongDumpRunsAtLineRateAndLetsAnswersIn) {
    TestDir dir;
    QByteArray file = R"([{"HW": "415"})";
    for (int n = 0; n < 700; ++n) {
        file += ",{\"Value\": " + QByteArray::number(n) + ", \"Edit\": \"value of " +
                QByteArray::number(n) + "\"}";
    }
    dir.writeFile(u"big.set"_s, file + ']');
    EmuHarness emu({u"--settings"_s, dir.file(u"big.set"_s)});

    const std::uint32_t start = emu.clock.tickMs();
    emu.core.receive(*FrameCodec::encode({0, 2, QByteArray(" #S15=2\0", 8)}), 115200);
    emu.clock.advance(50); // some way into the listing the program asks something else
    emu.core.receive(*FrameCodec::encode({0, 2, QByteArray(" #P3?\0", 6)}), 115200);
    std::vector<Frame> frames;
    qsizetype bytes = 0;
    std::uint32_t lastByteAt = start;
    for (int ms = 0; ms < 5000; ++ms) {
        emu.clock.advance(1);
        const QByteArray out = emu.core.takeOutput();
        if (!out.isEmpty()) {
            bytes += out.size();
            lastByteAt = emu.clock.tickMs();
        }
        const auto result = emu.scanner.feed(out);
        frames.insert(frames.end(), result.frames.begin(), result.frames.end());
    }
    const Dump dump = dumpOf(frames);
    EXPECT_EQ(dump.lines.size(), 700u);
    EXPECT_EQ(dump.terminator, 700);

    // The query's answer (kind 2) came well before the end of the listing.
    const auto answer =
        std::find_if(frames.begin(), frames.end(), [](const Frame& f) { return f.kind == 2; });
    ASSERT_NE(answer, frames.end());
    EXPECT_EQ(answer->payload, " #P3:value of 3");
    EXPECT_LT(answer - frames.begin(), 100);

    // 10 bits a byte at 115200 baud, with no idle stretches in between.
    const double lineMs = static_cast<double>(bytes) * 10 * 1000 / 115200;
    EXPECT_NEAR(lastByteAt - start, lineMs, lineMs * 0.02 + 2);
}

TEST(EmuSettings, DumpKeepsOutputPendingWhenTheLineIsReadLate) {
    EmuHarness emu;
    emu.core.receive(*FrameCodec::encode({0, 2, QByteArray(" #S15=2\0", 8)}), 115200);
    int terminators = 0;
    for (int wake = 0; wake < 100 && terminators == 0; ++wake) {
        ASSERT_TRUE(emu.core.msUntilOutput().has_value()) << wake;
        emu.clock.advance(40); // far more than one frame's time
        for (const Frame& f : emu.scanner.feed(emu.core.takeOutput()).frames) {
            terminators += f.payload == " #P100:!" ? 1 : 0;
        }
    }
    EXPECT_EQ(terminators, 1);
    EXPECT_FALSE(emu.core.msUntilOutput().has_value());
}

} // namespace
