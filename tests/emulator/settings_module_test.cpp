#include "cp1251.h"
#include "emu_harness.h"
#include "test_dir.h"

#include <ostream>
#include <set>
#include <string>

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

// A controller holding the settings of kSeed.
class EmuSeeded : public testing::Test {
protected:
    TestDir dir;
    const QString seed = [this] {
        dir.writeFile(u"seed.set"_s, kSeed);
        return dir.file(u"seed.set"_s);
    }();
    EmuHarness emu{{u"--settings"_s, seed}};
};

// A command and the controller's answer.
struct AnswerRow {
    const char* name;
    const char* command;
    QByteArray reply;
};

void PrintTo(const AnswerRow& row, std::ostream* out) {
    *out << row.name;
}

class EmuSeededAnswer : public EmuSeeded, public testing::WithParamInterface<AnswerRow> {};

TEST_P(EmuSeededAnswer, Is) {
    EXPECT_EQ(emu.ask(GetParam().command), GetParam().reply);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EmuSeededAnswer,
    testing::Values(AnswerRow{"QueryOfAList", "#P3?", " #P3:2"},
                    AnswerRow{"QueryOfAText", "#P0?",
                              " #P0:" + Cp1251::fromUnicode(u"Иван Петров"_s)},
                    AnswerRow{"UnusedNumberReadsEmpty", "#P999?", " #P999:"},
                    AnswerRow{"Write", "#P20=5", " #P20:5"},
                    AnswerRow{"WriteAndQueryInOneText", "#P21=(a b) #P21?", " #P21:a b"},
                    AnswerRow{"WriteInParentheses", "#P22=(x)", " #P22:x"},
                    AnswerRow{"WriteWithASpace", "#P23=a b", " #P23:a b"},
                    AnswerRow{"WriteOfNothing", "#P24=", " #P24:"},
                    AnswerRow{"WriteOfAnOpenParenthesis", "#P25=(", " #P25:("},
                    AnswerRow{"QueryOfAnotherNumberIsText", "#P26=7 #P27?", " #P26:7 #P27?"},
                    AnswerRow{"WritingDone", "#S15=1", " #S15:1"},
                    AnswerRow{"NoNumberLeftUnanswered", "#P?", "<0 frames>"},
                    AnswerRow{"WriteWithoutNumberLeftUnanswered", "#P=1", "<0 frames>"},
                    AnswerRow{"NeitherQueryNorWriteLeftUnanswered", "#P3", "<0 frames>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EmuSeeded, AWrittenValueIsReadBack) {
    (void)emu.ask("#P20=5");
    EXPECT_EQ(emu.ask("#P20?"), " #P20:5");
}

// The dump lists every setting, written ones too, in order, and the terminator.
TEST_F(EmuSeeded, TheDumpListsEverySettingWithTheWrittenOnes) {
    (void)emu.ask("#P20=5");
    (void)emu.ask("#P21=(a b)");
    EXPECT_EQ(Cp1251::toUnicode(dumpOf(emu.send("#S15=2")).join('|')).toStdString(),
              "0:Иван Петров|3:2|7:1|20:5|21:a b|41:125|42:!");
}

TEST(EmuSettingsBlank, HoldsSettingsZeroToNinetyNine) {
    const QByteArrayList blank = dumpOf(EmuHarness().send("#S15=2"));
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

// A controller whose listing leaves out seven settings, the same ones every time.
class EmuGappy : public testing::Test {
protected:
    EmuHarness emu{{u"--dump-gaps"_s, u"7"_s, u"--seed"_s, u"11"_s}};
    const std::set<int> gaps = gapsSeenBy(dumpOf(emu.send("#S15=2")));
};

TEST(EmuSettings, AListingWithoutGapsLeavesNothingOut) {
    EXPECT_TRUE(gapsSeenBy(dumpOf(EmuHarness().send("#S15=2"))).empty());
}

TEST_F(EmuGappy, LeavesOutAsManyAsAsked) {
    EXPECT_EQ(gaps.size(), 7u);
}

TEST_F(EmuGappy, AnswersTheLeftOutSettingsWhenAsked) {
    for (const int gap : gaps) {
        const QByteArray query = "#P" + QByteArray::number(gap);
        EXPECT_EQ(emu.ask(query + '?'), ' ' + query + ":0");
    }
}

TEST_F(EmuGappy, LeavesOutTheSameSettingsEveryTime) {
    EXPECT_EQ(gapsSeenBy(dumpOf(emu.send("#S15=2"))), gaps);
}

// When the highest settings are left out, the terminator still lets the program ask.
TEST(EmuSettings, TheTerminatorFollowsHighestSettingsLeftOut) {
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
