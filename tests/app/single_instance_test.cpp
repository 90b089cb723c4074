#include "app_environment.h"
#include "single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QString kName = QStringLiteral("Rezazozaduzi Talvik");

QString uniqueName(const char* what) {
    return QStringLiteral("talvik-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(QString::fromLatin1(what));
}

// Leaves a socket file behind with nobody listening on it, as a crashed copy does.
void leaveStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
}

class SingleInstanceTest : public testing::Test {
protected:
    SingleInstanceTest() { AppEnvironment::get(); }
};

TEST_F(SingleInstanceTest, NobodyRunningMeansNoActivation) {
    SingleInstance instance(uniqueName("none"));
    EXPECT_FALSE(instance.activateRunning());
}

TEST_F(SingleInstanceTest, RunningCopyIsAskedToComeForwardAndAnswers) {
    const QString name = uniqueName("running");
    SingleInstance running(name);
    ASSERT_TRUE(running.listen());
    QSignalSpy activations(&running, &SingleInstance::activationRequested);

    QLocalSocket later;
    later.connectToServer(name);
    ASSERT_TRUE(later.waitForConnected(1000));
    QSignalSpy answered(&later, &QLocalSocket::readyRead);
    ASSERT_TRUE(answered.wait(5000));
    EXPECT_EQ(later.readAll(), QByteArrayLiteral("activated\n"));
    EXPECT_EQ(activations.count(), 1);
}

TEST_F(SingleInstanceTest, NameLeftByACrashedCopyIsTakenOver) {
    const QString name = uniqueName("stale");
    leaveStaleSocket(QDir::temp().filePath(name));
    SingleInstance next(name);
    EXPECT_FALSE(next.activateRunning());
    ASSERT_TRUE(next.listen());
    QLocalSocket later;
    later.connectToServer(name);
    EXPECT_TRUE(later.waitForConnected(1000));
}

// Runs the real program in a folder of its own; TMPDIR keeps its instance socket away from
// any other copy on the machine.
class Program : public testing::Test {
protected:
    Program() { AppEnvironment::get(); }

    std::unique_ptr<QProcess> start(const QStringList& arguments = {}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TMPDIR"), m_sockets.path());
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(m_work.path());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(qEnvironmentVariable("TALVIK_BIN_DIR") + QStringLiteral("/talvik"),
                       arguments);
        EXPECT_TRUE(process->waitForStarted(5000)) << process->errorString().toStdString();
        return process;
    }

    [[nodiscard]] QByteArray log() const {
        QFile file(m_work.filePath(QStringLiteral("log.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The window is up (and the instance socket listening) once the log says so.
    [[nodiscard]] bool waitUntilOpened(QProcess& process) const {
        const QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired() && process.state() == QProcess::Running) {
            if (log().contains("Program OPENED")) {
                return true;
            }
            QThread::msleep(20);
        }
        return false;
    }

    QTemporaryDir m_work;
    QTemporaryDir m_sockets;
};

TEST_F(Program, SecondStartBringsTheFirstForwardAndEnds) {
    auto first = start({QStringLiteral("--port"), QStringLiteral("/dev/null")});
    ASSERT_TRUE(waitUntilOpened(*first));
    const QByteArray before = log();

    auto second = start();
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    // The second start never touched the running copy's log.
    EXPECT_TRUE(log().startsWith(before));

    QLocalSocket asking;
    asking.connectToServer(QDir(m_sockets.path()).filePath(kName));
    ASSERT_TRUE(asking.waitForConnected(2000));
    ASSERT_TRUE(asking.waitForReadyRead(5000));
    EXPECT_EQ(asking.readAll(), QByteArrayLiteral("activated\n"));

    first->terminate();
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitCode(), 0);
    const QList<QByteArray> lines = log().trimmed().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(withoutStamp(lines[lines.size() - 3]), "CloseQuery received");
    EXPECT_EQ(withoutStamp(lines[lines.size() - 2]), "Program CLOSED");
    EXPECT_EQ(withoutStamp(lines.last()), "Closing logs");
}

TEST_F(Program, InterruptClosesLikeTheWindow) {
    auto first = start();
    ASSERT_TRUE(waitUntilOpened(*first));
    ::kill(static_cast<pid_t>(first->processId()), SIGINT);
    ASSERT_TRUE(first->waitForFinished(10000));
    EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(log().contains("Program CLOSED"));
}

TEST_F(Program, CrashedCopyDoesNotStopTheNextStart) {
    auto crashed = start();
    ASSERT_TRUE(waitUntilOpened(*crashed));
    crashed->kill();
    ASSERT_TRUE(crashed->waitForFinished(5000));
    ASSERT_TRUE(QFile::exists(QDir(m_sockets.path()).filePath(kName)));
    QFile::remove(m_work.filePath(QStringLiteral("log.txt")));

    auto next = start();
    ASSERT_TRUE(waitUntilOpened(*next));
    EXPECT_EQ(next->state(), QProcess::Running);
    next->terminate();
    EXPECT_TRUE(next->waitForFinished(10000));
}

} // namespace
