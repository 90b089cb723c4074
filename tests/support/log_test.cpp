#include "date_time.h"
#include "simple_log.h"
#include "test_dir.h"

#include <QDir>
#include <QProcess>
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace talvik::support;

namespace {

// This process's log, in a folder of its own.
const QTemporaryDir kLogDir;
const bool kLogSet = (SimpleLog::setFileName(kLogDir.filePath(QStringLiteral("log.txt"))), true);

// The texts of the lines `write` adds to the log at `path`, each stamped with its time.
QList<QByteArray> linesAfter(const auto& write, const QString& path = SimpleLog::fileName()) {
    QFile file(path);
    const qint64 start = file.size();
    const QByteArray from = DateTime::format(DateTime::now(), {}, 4).toLatin1() + ' ';
    write();
    const QByteArray to = DateTime::format(DateTime::now(), {}, 4).toLatin1() + ' ';
    const QByteArray log =
        file.open(QIODevice::ReadOnly) && file.seek(start) ? file.readAll() : QByteArray();
    QList<QByteArray> texts;
    for (const QByteArray& line : log.left(log.size() - 1).split('\n')) {
        EXPECT_TRUE(line.left(24) >= from && line.left(24) <= to) << line.data();
        texts.append(line.mid(24));
    }
    return texts;
}

TEST(Log, EachWriteIsOneLineAfterTheStampAndTheName) {
    const unsigned char bytes[] = {0xC0, 0x0A, 0xFF, 0x00};
    EXPECT_EQ(linesAfter([&] {
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
    const auto text = [](int w, int i) { return QByteArray::number(i).leftJustified(60 + 7 * w); };
    const QList<QByteArray> texts = linesAfter([&] {
        SimpleLog keepOpen;
        std::vector<std::jthread> writers;
        for (int w = 0; w < 8; ++w) {
            writers.emplace_back([w, &text] {
                SimpleLog log(QStringLiteral("W%1").arg(w));
                for (int i = 0; i < 400; ++i) {
                    log.write(text(w, i));
                }
            });
        }
    });
    // Each writer's lines arrive whole and in its own order, and the log is closed once.
    std::vector<int> next(8, 0);
    for (const QByteArray& line : texts.first(texts.size() - 1)) {
        const int w = line.mid(1, 1).toInt() % 8;
        EXPECT_EQ(line, "W" + QByteArray::number(w) + ":\t" + text(w, next[w]++));
    }
    EXPECT_EQ(next, std::vector<int>(8, 400));
    EXPECT_EQ(texts.last(), "Closing logs");
}

// A fresh process: the first log truncates "log.txt", the last closes it; no log, no failure.
TEST(LogProcess, StartTruncatesTheLogAndOnlyTheEndClosesIt) {
    TestDir dir; // the probe's current folder too
    const auto runProbe = [&] {
        dir.writeFile(QStringLiteral("log.txt"), "a line of an earlier run\nand another\n");
        QProcess probe;
        probe.start(QStringLiteral(TALVIK_LOG_PROBE));
        EXPECT_TRUE(probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
                    probe.exitCode() == 0);
    };
    EXPECT_EQ(linesAfter(runProbe, dir.file(QStringLiteral("log.txt"))),
              (QList<QByteArray>{"COM3:\topened", "Program OPENED", "Closing logs"}));
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("log.txt"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("log.txt")));
    runProbe();
}

} // namespace
