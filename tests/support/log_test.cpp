#include "date_time.h"
#include "simple_log.h"
#include "test_dir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// This process's log lives in a folder of its own; each test reads the lines it added.
QTemporaryDir& logDir() {
    static QTemporaryDir dir;
    return dir;
}
const bool kLogRedirected = [] {
    SimpleLog::setFileName(logDir().filePath(QStringLiteral("log.txt")));
    return true;
}();

qint64 logSize() {
    return QFile(SimpleLog::fileName()).size();
}

QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(lines.last().isEmpty()) << "the last line is not finished";
    lines.removeLast();
    return lines;
}

QList<QByteArray> logLinesSince(qint64 offset) {
    QFile file(SimpleLog::fileName());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    file.seek(offset);
    return linesOf(file.readAll());
}

const QRegularExpression kStamp(QStringLiteral(R"(^\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d\.\d\d\d $)"));

// The text after the time stamp, once the stamp has been checked.
QByteArray text(const QByteArray& line) {
    EXPECT_TRUE(kStamp.match(QString::fromLatin1(line.left(24))).hasMatch()) << line.data();
    return line.mid(24);
}

struct LayoutCase {
    const char* what;
    std::function<void(LogBase&)> write;
    const char16_t* name;
    QByteArray expected;
};

class LogLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(LogLayout, OneLineAfterTheStamp) {
    const LayoutCase& c = GetParam();
    const qint64 start = logSize();
    {
        SimpleLog log(c.name);
        c.write(log);
    }
    const QList<QByteArray> lines = logLinesSince(start);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(text(lines[0]), c.expected);
    EXPECT_EQ(text(lines[1]), "Closing logs");
}

INSTANTIATE_TEST_SUITE_P(
    Writes, LogLayout,
    testing::Values(
        LayoutCase{"unnamed", [](LogBase& l) { l.write(QByteArrayLiteral("Program OPENED")); }, u"",
                   "Program OPENED"},
        LayoutCase{"named", [](LogBase& l) { l.write(QByteArrayLiteral("opened")); }, u"COM3",
                   "COM3:\topened"},
        LayoutCase{"window text in code page 1251", [](LogBase& l) { l.write(u"Ошибка"); }, u"",
                   QByteArray("\xCE\xF8\xE8\xE1\xEA\xE0")},
        LayoutCase{"Cyrillic name", [](LogBase& l) { l.write(QByteArrayLiteral("x")); }, u"Порт",
                   QByteArray("\xCF\xEE\xF0\xF2:\tx")},
        LayoutCase{"value", [](LogBase& l) { l.writeValue(QByteArrayLiteral("Memory load"), 42); },
                   u"", "Memory load:\t42"},
        LayoutCase{"bytes",
                   [](LogBase& l) {
                       const unsigned char bytes[] = {0xC0, 0x0A, 0xFF, 0x00};
                       l.writeBytes(QByteArrayLiteral("Incorrect radio data"), bytes, 3);
                   },
                   u"", "Incorrect radio data:\tC0 A FF "},
        LayoutCase{"no bytes",
                   [](LogBase& l) { l.writeBytes(QByteArrayLiteral("Empty"), nullptr, 0); }, u"",
                   "Empty:\t"},
        LayoutCase{"error with the last error code",
                   [](LogBase& l) {
                       errno = 13;
                       l.writeError(QByteArrayLiteral("CreateFile"));
                   },
                   u"COM7", "COM7:\tError: CreateFile - 13"}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::to_string(info.index); });

TEST(Log, StampIsTheLocalTimeOfTheWrite) {
    const qint64 start = logSize();
    const DateTime::Value before = DateTime::now();
    {
        SimpleLog log;
        log.write(QByteArrayLiteral("now"));
    }
    const DateTime::Value after = DateTime::now();
    const QByteArray stamp = logLinesSince(start).value(0).left(23);
    // The stamp has millisecond resolution, so it lies between the two readings.
    EXPECT_GE(stamp, DateTime::format(before, {}, 4).toLatin1());
    EXPECT_LE(stamp, DateTime::format(after, {}, 4).toLatin1());
}

TEST(Log, OnlyTheLastObjectGoingAwayClosesTheLog) {
    const qint64 start = logSize();
    {
        SimpleLog first(u"COM3");
        {
            SimpleLog second;
            second.write(QByteArrayLiteral("Program OPENED"));
        }
        first.write(QByteArrayLiteral("still open"));
    }
    const QList<QByteArray> lines = logLinesSince(start);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(text(lines[0]), "Program OPENED");
    EXPECT_EQ(text(lines[1]), "COM3:\tstill open");
    EXPECT_EQ(text(lines[2]), "Closing logs");
}

TEST(Log, ConcurrentWritersNeverInterleaveLines) {
    constexpr int kWriters = 8;
    constexpr int kLines = 400;
    const qint64 start = logSize();
    {
        SimpleLog keepOpen;
        std::vector<std::thread> writers;
        for (int w = 0; w < kWriters; ++w) {
            writers.emplace_back([w] {
                SimpleLog log(QStringLiteral("W%1").arg(w));
                const QByteArray padding(60 + w * 7, 'a' + w);
                for (int i = 0; i < kLines; ++i) {
                    log.write(QByteArray::number(i) + ' ' + padding);
                }
            });
        }
        for (std::thread& t : writers) {
            t.join();
        }
    }
    const QList<QByteArray> lines = logLinesSince(start);
    ASSERT_EQ(lines.size(), kWriters * kLines + 1);
    const QRegularExpression whole(
        QStringLiteral(R"(^\d{4}\.\d\d\.\d\d \d\d:\d\d:\d\d\.\d{3} W(\d):\t(\d+) ([a-h]+)$)"));
    std::vector<int> next(kWriters, 0);
    for (int i = 0; i < kWriters * kLines; ++i) {
        const auto match = whole.match(QString::fromLatin1(lines[i]));
        ASSERT_TRUE(match.hasMatch()) << lines[i].data();
        const int w = match.captured(1).toInt();
        // Each writer's lines arrive whole and in its own order.
        EXPECT_EQ(match.captured(2).toInt(), next[w]++);
        EXPECT_EQ(match.captured(3), QString(60 + w * 7, QLatin1Char('a' + w)));
    }
    EXPECT_EQ(text(lines.last()), "Closing logs");
}

// A fresh process, as the program is: the first log object truncates "log.txt".
class LogProcess : public testing::Test {
protected:
    [[nodiscard]] int runProbe() const {
        QProcess probe;
        probe.setWorkingDirectory(m_dir.path());
        probe.start(QStringLiteral(TALVIK_LOG_PROBE));
        probe.waitForFinished(10000);
        return probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
    }

    TestDir m_dir;
};

TEST_F(LogProcess, StartTruncatesTheLogAndTheEndClosesIt) {
    m_dir.writeFile(QStringLiteral("log.txt"), "a line of an earlier run\nand another\n");
    ASSERT_EQ(runProbe(), 0);
    const QList<QByteArray> lines = linesOf(m_dir.readFile(QStringLiteral("log.txt")));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(text(lines[0]), "COM3:\topened");
    EXPECT_EQ(text(lines[1]), "Program OPENED");
    EXPECT_EQ(text(lines[2]), "Closing logs");
}

TEST_F(LogProcess, LogThatCannotBeOpenedIsSkipped) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("log.txt")));
    EXPECT_EQ(runProbe(), 0);
}

} // namespace
