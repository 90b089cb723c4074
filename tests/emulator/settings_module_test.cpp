#include "cp1251.h"
#include "emu_harness.h"
#include "test_dir.h"

#include <set>

using namespace Qt::StringLiterals;
using namespace talvik::emu;
using namespace talvik::support;

namespace {

const QByteArray kSeed = R"([{"HW": "406"}, {"Value": 0, "Edit": "Иван Петров"},
 {"Value": 3, "Combo": 2}, {"Value": 7, "Check": 1}, {"Value": 20, "None": "text"},
 {"Value": 41, "Edit": 125}])";

// The dump as the program sees it: "number:value" per "#P" line (kind 0), the
// terminator as "number:!", and any other frame as "?" and its payload.
QByteArrayList dumpOf(const std::vector<Frame>& frames) {
    QByteArrayList lines;
    for (const Frame& f : frames) {
        const bool line = f.kind == 0 && f.payload.startsWith(" #P");
        lines << (line ? f.payload.mid(3) : '?' + f.payload);
    }
    return lines;
}

// Queries and writes; then the dump lists every setting, written ones too, in order, and the
// terminator.
TEST(EmuSettings, QueriesWritesAndTheDump) {
    TestDir dir;
    dir.writeFile(u"seed.set"_s, kSeed);
    EmuHarness emu({u"--settings"_s, dir.file(u"seed.set"_s)});
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
        {"#P?", "<0 frames>"}, // malformed: left unanswered
        {"#P-1?", "<0 frames>"},
        {"#Pa=1", "<0 frames>"},
        {"#P=1", "<0 frames>"},
        {"#P3", "<0 frames>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(emu.ask(c.command), c.reply) << c.command;
    }
    EXPECT_EQ(Cp1251::toUnicode(dumpOf(emu.send("#S15=2")).join('|')).toStdString(),
              "0:Иван Петров|3:2|7:1|20:5|21:a b|22:x|23:a b|24:|25:(|26:7 #P27?|41:125|42:!");
    const QByteArrayList blank = dumpOf(EmuHarness().send("#S15=2")); // settings 0 to 99
    ASSERT_EQ(blank.size(), 101);
    EXPECT_EQ(blank.mid(99), QByteArrayList({"99:0", "100:!"}));
}

// The numbers the program asks for again after a dump: those below the terminator not listed.
std::set<int> gapsSeenBy(const QByteArrayList& dump) {
    std::set<int> gaps;
    for (int k = 0; k < dump.back().split(':')[0].toInt(); ++k) {
        gaps.insert(k);
    }
    for (const QByteArray& line : dump) {
        gaps.erase(line.split(':')[0].toInt());
    }
    return gaps;
}

TEST(EmuSettings, DumpGapsAreLeftOutButStillAnswered) {
    EmuHarness gappy({u"--dump-gaps"_s, u"7"_s, u"--seed"_s, u"11"_s});
    const std::set<int> gaps = gapsSeenBy(dumpOf(gappy.send("#S15=2")));
    EXPECT_TRUE(gapsSeenBy(dumpOf(EmuHarness().send("#S15=2"))).empty());
    EXPECT_EQ(gaps.size(), 7u);
    for (const int gap : gaps) {
        const QByteArray query = "#P" + QByteArray::number(gap);
        EXPECT_EQ(gappy.ask(query + '?'), ' ' + query + ":0");
    }
    EXPECT_EQ(gapsSeenBy(dumpOf(gappy.send("#S15=2"))), gaps); // the same every time

    // When the highest settings are left out, the terminator still lets the program ask.
    TestDir dir;
    dir.writeFile(u"two.set"_s,
                  R"([{"HW": "0"}, {"Value": 1, "None": "a"}, {"Value": 2, "None": "b"}])");
    EmuHarness allGone({u"--settings"_s, dir.file(u"two.set"_s), u"--dump-gaps"_s, u"2"_s});
    EXPECT_EQ(dumpOf(allGone.send("#S15=2")), QByteArrayList{"3:!"});
}

TEST(EmuSettings, LongDumpRunsAtLineRateAndLetsAnswersIn) {
    TestDir dir;
    QByteArray file = R"([{"HW": "415"})";
    for (int n = 0; n < 700; ++n) {
        file += u",{\"Value\": %1, \"Edit\": \"value of %1\"}"_s.arg(n).toUtf8();
    }
    dir.writeFile(u"big.set"_s, file + ']');
    EmuHarness emu({u"--settings"_s, dir.file(u"big.set"_s)});
    const std::uint32_t start = emu.clock.tickMs();
    emu.core.receive(*FrameCodec::encode({0, 2, QByteArray(" #S15=2\0", 8)}), 115200);
    emu.clock.advance(50); // some way into the listing the program asks something else
    const QByteArrayList dump = dumpOf(emu.send("#P3?"));
    EXPECT_EQ(dump.size(), 702);
    EXPECT_EQ(dump.back(), "700:!");
    // The query's answer came well before the end of the listing.
    const qsizetype answer = dump.indexOf("? #P3:value of 3");
    EXPECT_TRUE(answer >= 0 && answer < 100) << answer;
    // 10 bits a byte at 115200 baud, with no idle stretches in between.
    const double lineMs = static_cast<double>(emu.outputBytes) * 10 * 1000 / 115200;
    EXPECT_NEAR(emu.lastOutputAt - start, lineMs, lineMs * 0.02 + 2);
}

// Regression: a dump read far less often than a frame's time stalled with output pending.
TEST(EmuSettings, DumpKeepsOutputPendingWhenTheLineIsReadLate) {
    EmuHarness emu;
    emu.core.receive(*FrameCodec::encode({0, 2, QByteArray(" #S15=2\0", 8)}), 115200);
    int terminators = 0;
    for (int wake = 0; wake < 100 && terminators == 0; ++wake) {
        ASSERT_TRUE(emu.core.msUntilOutput().has_value()) << wake;
        emu.clock.advance(40);
        terminators = int(std::ranges::count(emu.take(), " #P100:!", &Frame::payload));
    }
    EXPECT_EQ(terminators, 1);
    EXPECT_FALSE(emu.core.msUntilOutput().has_value());
}

} // namespace
