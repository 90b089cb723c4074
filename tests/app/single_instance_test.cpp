// Starts of the real program racing for the one running copy.
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCopies = 6;
constexpr int kRounds = 4;

using Copies = std::array<std::unique_ptr<QProcess>, kCopies>;

qsizetype running(const Copies& copies) {
    return std::count_if(copies.begin(), copies.end(),
                         [](const auto& copy) { return copy->state() != QProcess::NotRunning; });
}

// Every round starts six copies at once in one folder, with one TMPDIR (where the copies meet);
// all but one must hand over and end, and the one left is closed before the next round.
TEST(Program, SimultaneousStartsLeaveExactlyOneRunning) {
    QTemporaryDir work;
    QTemporaryDir meeting;
    for (int round = 0; round < kRounds; ++round) {
        Copies copies;
        for (auto& copy : copies) {
            copy = std::make_unique<QProcess>();
            copy->setEnvironment(QProcess::systemEnvironment() << u"TMPDIR="_s + meeting.path());
            copy->setWorkingDirectory(work.path());
            copy->start(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik"_s,
                        {u"--port"_s, u"/dev/null"_s});
        }
        const QDeadlineTimer deadline(30000);
        while (running(copies) > 1 && !deadline.hasExpired()) {
            QThread::msleep(20);
            for (auto& copy : copies) {
                copy->waitForFinished(0);
            }
        }
        EXPECT_EQ(running(copies), 1) << "round " << round;
        for (auto& copy : copies) {
            if (copy->state() != QProcess::NotRunning) {
                copy->terminate();
                EXPECT_TRUE(copy->waitForFinished(10000));
            }
            EXPECT_EQ(copy->exitCode(), 0) << "round " << round;
        }
    }
}

} // namespace
