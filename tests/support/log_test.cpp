#include "date_time.h"
#include "simple_log.h"
#include "test_dir.h"

#include <QDir>
#include <QProcess>
#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// This process's log lives in a folder of its own; each test reads the lines it added.
const QTemporaryDir kLogDir;
const bool kLogRedirected =
    (SimpleLog::setFileName(kLogDir.filePath(QStringLiteral("log.txt"))), true);

// The finished lines of a log without their stamps, each of which must lie between the two
// given ones (the local time of the write, then one space).
QList<QByteArray> textsOf(const QByteArray& log, const QByteArray& from, const QByteArray& to) {
    EXPECT_TRUE(log.endsWith('\n')) << "the last line is not finished";
    QList<QByteArray> texts;
    for (const QByteArray& line : log.chopped(1).split('\n')) {
        EXPECT_TRUE(line.left(24) >= from && line.left(24) <= to) << line.data();
        texts.append(line.mid(24));
    }
    return texts;
}

QByteArray stampNow() {
    return DateTime::format(DateTime::now(), {}, 4).toLatin1() + ' ';
}

QList<QByteArray> textsWrittenBy(const std::function<void()>& write) {
    QFile file(SimpleLog::fileName());
    const qint64 start = file.size();
    const QByteArray before = stampNow();
    write();
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.seek(start));
    return textsOf(file.readAll(), before, stampNow());
}

TEST(Log, EachWriteIsOneLineAfterTheStampAndTheName) {
    const unsigned char bytes[] = {0xC0, 0x0A, 0xFF, 0x00};
    EXPECT_EQ(textsWrittenBy([&] {
                  SimpleLog program;
                  program.write(u"Ошибка");
                  program.writeValue(QByteArrayLiteral("Memory load"), 42);
                  program.writeBytes(QByteArrayLiteral("Incorrect radio data"), bytes, 3);
                  SimpleLog port(u"COM7");
                  errno = 13;
                  port.writeError(QByteArrayLiteral("CreateFile"));
                  SimpleLog(u"Порт").write(QByteArrayLiteral("x"));
              }),
              (QList<QByteArray>{"\xCE\xF8\xE8\xE1\xEA\xE0", "Memory load:\t42",
                                 "Incorrect radio data:\tC0 A FF ", "COM7:\tError: CreateFile - 13",
                                 "\xCF\xEE\xF0\xF2:\tx", "Closing logs"}));
}

TEST(Log, ConcurrentWritersNeverInterleaveLines) {
    constexpr int kWriters = 8;
    constexpr int kLines = 400;
    const QList<QByteArray> texts = textsWrittenBy([] {
        SimpleLog keepOpen;
        std::vector<std::jthread> writers;
        for (int w = 0; w < kWriters; ++w) {
            writers.emplace_back([w] {
                SimpleLog log(QStringLiteral("W%1").arg(w));
                for (int i = 0; i < kLines; ++i) {
                    log.write(QByteArray::number(i) + ' ' + QByteArray(60 + w * 7, 'a' + w));
                }
            });
        }
    });
    ASSERT_EQ(texts.size(), kWriters * kLines + 1);
    std::vector<int> next(kWriters, 0);
    for (int i = 0; i < kWriters * kLines; ++i) {
        // Each writer's lines arrive whole and in its own order.
        const int w = texts[i].at(1) - '0';
        ASSERT_TRUE(w >= 0 && w < kWriters) << texts[i].data();
        EXPECT_EQ(texts[i], "W" + QByteArray::number(w) + ":\t" + QByteArray::number(next[w]++) +
                                ' ' + QByteArray(60 + w * 7, 'a' + w));
    }
    EXPECT_EQ(texts.last(), "Closing logs");
}

// A fresh process, as the program is: the first log object truncates "log.txt", the last one
// going away closes it, and a log that cannot be opened is skipped.
TEST(LogProcess, StartTruncatesTheLogAndOnlyTheEndClosesIt) {
    TestDir dir;
    const auto runProbe = [&] {
        QProcess probe;
        probe.setWorkingDirectory(dir.path());
        probe.start(QStringLiteral(TALVIK_LOG_PROBE));
        return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
               probe.exitCode() == 0;
    };
    dir.writeFile(QStringLiteral("log.txt"), "a line of an earlier run\nand another\n");
    const QByteArray before = stampNow();
    ASSERT_TRUE(runProbe());
    EXPECT_EQ(textsOf(dir.readFile(QStringLiteral("log.txt")), before, stampNow()),
              (QList<QByteArray>{"COM3:\topened", "Program OPENED", "Closing logs"}));

    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("log.txt"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log.txt")));
    EXPECT_TRUE(runProbe());
}

} // namespace
