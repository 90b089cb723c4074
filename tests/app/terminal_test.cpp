#include "terminal.h"
#include "terminal_file.h"

#include "recording_link.h"
#include "test_dir.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using namespace talvik::support;

namespace {

QStringList commands(int first, int last) {
    QStringList list;
    for (int i = last; i >= first; --i) {
        list.append(u"cmd"_s + QString::number(i));
    }
    return list;
}

TEST(TerminalHistory, RepeatedCommandLeavesOneEntryAtTheTop) {
    TerminalHistory history;
    for (const QString& command : {u"ver"_s, u"#S0?"_s, u"ver"_s}) {
        history.add(command);
    }
    EXPECT_EQ(history.entries(), (QStringList{u"ver"_s, u"#S0?"_s}));
}

TEST(TerminalHistory, EleventhCommandPushesTheOldestOut) {
    TerminalHistory history;
    for (int i = 1; i <= 11; ++i) {
        history.add(u"cmd"_s + QString::number(i));
    }
    EXPECT_EQ(history.entries(), commands(2, 11));
}

TEST(TerminalHistory, KeptEntriesLoseBlanksAndRepeatsAndStopAtTen) {
    TerminalHistory history;
    history.setEntries(QStringList{u"a"_s, QString(), u"b"_s, u"a"_s} + commands(1, 12));
    EXPECT_EQ(history.entries(), QStringList({u"a"_s, u"b"_s}) + commands(5, 12));
}

class HistoryWalk : public ::testing::Test {
protected:
    void SetUp() override { history.setEntries({u"new"_s, u"mid"_s, u"old"_s}); }
    TerminalHistory history;
};

TEST_F(HistoryWalk, UpGoesBackToTheOldestAndStops) {
    EXPECT_EQ(history.older(u"typed"_s), u"new"_s);
    EXPECT_EQ(history.older(u"new"_s), u"mid"_s);
    EXPECT_EQ(history.older(u"mid"_s), u"old"_s);
    EXPECT_EQ(history.older(u"old"_s), std::nullopt);
}

TEST_F(HistoryWalk, AnEditStartsTheWalkOver) {
    static_cast<void>(history.older(u"typed"_s));
    static_cast<void>(history.older(u"new"_s));
    history.restart();
    EXPECT_EQ(history.older(u"edited"_s), u"new"_s);
}

class Completion : public ::testing::Test {
protected:
    void SetUp() override { history.setEntries({u"#S23?"_s, u"ver"_s, u"#S0?"_s, u"#S"_s}); }
    TerminalHistory history;
};

TEST_F(Completion, SecondTabCyclesThroughTheMatches) {
    const auto first = history.complete(u"#S"_s);
    const auto second = history.complete(*first);
    EXPECT_EQ(second, u"#S0?"_s);
    EXPECT_EQ(history.complete(*second), u"#S23?"_s);
}

TEST_F(Completion, EditedTextStartsANewCompletion) {
    static_cast<void>(history.complete(u"#S"_s));
    EXPECT_EQ(history.complete(u"v"_s), u"ver"_s);
}

TEST_F(Completion, NothingToCompleteLeavesTabAlone) {
    EXPECT_EQ(history.complete(QString()), std::nullopt);
    EXPECT_EQ(history.complete(u"x"_s), std::nullopt);
    EXPECT_EQ(history.complete(u"ver"_s), std::nullopt);
}

TEST_F(Completion, WalkingAndCompletingKeepTheHistory) {
    const QStringList before = history.entries();
    static_cast<void>(history.complete(u"#"_s));
    static_cast<void>(history.older(u"#"_s));
    EXPECT_EQ(history.entries(), before);
}

class TerminalTest : public ::testing::Test {
protected:
    TerminalTest() {
        QObject::connect(&terminal, &Terminal::printed,
                         [this](const QString& line) { lines.append(line); });
    }
    static DateTime::Value noon() { return DateTime::fromFields(2026, 12, 6, 9, 5, 7, 250); }

    RecordingLink link;
    Terminal terminal{[this] { return link.current(); }, &TerminalTest::noon};
    QStringList lines;
};

TEST_F(TerminalTest, SendPrintsQueuesWithoutWaitingAndRemembers) {
    EXPECT_TRUE(terminal.Send(u"Версия?"_s));
    EXPECT_EQ(lines, QStringList{u"09:05:07 <<< Версия?"_s});
    EXPECT_EQ(link.sent, (QList<RecordingLink::Sent>{{u" Версия?"_s, 1}}));
    EXPECT_EQ(terminal.history().entries(), QStringList{u"Версия?"_s});
}

TEST_F(TerminalTest, EmptyCommandLineSendsNothing) {
    EXPECT_FALSE(terminal.Send(QString()));
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST(TerminalFile, LayoutIsFourNamesThenTheHistoryInWindows1251WithLf) {
    TerminalFile file;
    file.dialogFiles = {u"a"_s, QString(), u"c"_s, QString()};
    file.history = {u"ш"_s, u"ver"_s};
    EXPECT_EQ(file.Encode(), "a\n\nc\n\n\xF8\nver"_ba);
}

struct Decoded {
    const char* name;
    QByteArray bytes;
    QString third;
    QStringList history;
};

class TerminalFileDecode : public ::testing::TestWithParam<Decoded> {};

TEST_P(TerminalFileDecode, ThirdNameAndHistory) {
    const TerminalFile file = TerminalFile::Decode(GetParam().bytes);
    EXPECT_EQ(file.dialogFiles[2], GetParam().third);
    EXPECT_EQ(file.history, GetParam().history);
}

INSTANTIATE_TEST_SUITE_P(
    Files, TerminalFileDecode,
    ::testing::Values(Decoded{"NoHistory", "a\nb\nc\nd", u"c"_s, {}},
                      Decoded{"TrailingLf", "a\nb\nc\nd\nx\ny\n", u"c"_s, {u"x"_s, u"y"_s}},
                      Decoded{"CrLf", "a\r\nb\r\nc\r\nd\r\nx\r\n", u"c"_s, {u"x"_s}},
                      Decoded{"BlankHistoryLines", "\n\n\n\n\nx\n\ny", {}, {u"x"_s, u"y"_s}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TerminalFile, MissingOrUnreadableFileReadsAsNothing) {
    const TestDir dir;
    EXPECT_EQ(TerminalFile::Read(dir.file(u"terminal.txt"_s)), std::nullopt);
    EXPECT_EQ(TerminalFile::Read(dir.path()), std::nullopt);
}

TEST(TerminalFile, UnwritableFolderIsReportedNotThrown) {
    const TestDir dir;
    TerminalFile file;
    EXPECT_FALSE(file.Write(dir.file(u"missing/terminal.txt"_s)));
}

} // namespace
