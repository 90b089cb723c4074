#include "com_port.h"
#include "port_discovery.h"
#include "simple_log.h"
#include "system_clock.h"
#include "system_port_enumerator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The emulator on a pseudo-terminal and the program's side of the link over the real line, as
// the window runs it: probes once in a while, and reception polled every millisecond.
class LinkEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "e2e_tests";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            static QCoreApplication app(argc, argv);
        }
        static QTemporaryDir dir;
        SimpleLog::setFileName(dir.filePath(u"log.txt"_s));
        static SimpleLog keeper;
        m_logPath = dir.filePath(u"log.txt"_s);
        m_logStart = QFile(m_logPath).size();

        m_emulator.setProgram(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s);
        m_emulator.setArguments({u"--baud"_s, u"115200"_s});
        m_emulator.start();
        ASSERT_TRUE(m_emulator.waitForStarted(5000));
        QDeadlineTimer deadline(5000);
        while (!m_emulator.canReadLine() && !deadline.hasExpired()) {
            m_emulator.waitForReadyRead(100);
        }
        m_slave = QString::fromLocal8Bit(m_emulator.readLine().trimmed());
        ASSERT_FALSE(m_slave.isEmpty());

        const PortFactory factory = [](std::unique_ptr<SerialLine> line, const QString& portName,
                                       const QString& friendlyName) {
            return std::make_unique<ComPort>(std::move(line), portName, friendlyName,
                                             SystemClock::instance());
        };
        RefreshPorts(m_ports, SystemPortEnumerator(), factory,
                     FriendlyName(u"talvik-emu"_s, m_slave));
        ASSERT_EQ(m_ports.size(), 1u);
        m_port = static_cast<ComPort*>(m_ports.begin()->second.get());
    }

    void TearDown() override {
        m_ports.clear();
        m_emulator.terminate();
        m_emulator.waitForFinished(5000);
    }

    // Runs the event loop, with reception polled each millisecond unless the port receives on
    // arrival, until done() or the time is up.
    template <typename Done> bool Receive(int milliseconds, Done done, bool poll = true) {
        QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            if (poll) {
                m_port->CheckReceive();
            }
            if (done()) {
                return true;
            }
            QThread::msleep(1);
        }
        return false;
    }

    [[nodiscard]] QByteArrayList LogLines() const {
        QFile file(m_logPath);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_logStart)) {
            return {};
        }
        return file.readAll().split('\n');
    }

    [[nodiscard]] int LogContaining(const QByteArray& text) const {
        const QByteArrayList lines = LogLines();
        return static_cast<int>(std::count_if(
            lines.begin(), lines.end(), [&](const QByteArray& l) { return l.contains(text); }));
    }

    QString m_logPath;
    qint64 m_logStart = 0;
    QProcess m_emulator;
    QString m_slave;
    PortMap m_ports;
    ComPort* m_port = nullptr;
};

TEST_F(LinkEndToEnd, DeviceAt115200AnswersTheSecondProbe) {
    m_port->SendText({}, 1);
    EXPECT_EQ(m_port->Baud(), 9600u);
    EXPECT_FALSE(Receive(1000, [this] { return m_port->Connected(); }))
        << "a probe at the wrong speed is garbage to the device";

    m_port->SendText({}, 1);
    EXPECT_EQ(m_port->Baud(), 115200u);
    ASSERT_TRUE(Receive(3000, [this] { return m_port->Connected(); }));
    EXPECT_FALSE(m_port->SpeedHunting());
    EXPECT_EQ(LogContaining(":\tConnected with speed:\t115200"), 1);
    EXPECT_EQ(LogContaining(":\tError: "), 0) << "a pseudo-terminal has no DTR or RTS";
}

TEST_F(LinkEndToEnd, VanishedDeviceIsLoggedOnceAndReadingStops) {
    m_port->SendText({}, 1);
    m_port->SendText({}, 1);
    ASSERT_TRUE(Receive(3000, [this] { return m_port->Connected(); }));
    m_emulator.kill();
    m_emulator.waitForFinished(5000);
    Receive(500, [] { return false; });
    EXPECT_EQ(LogContaining(":\tError: ClearCommError - "), 1);
}

TEST_F(LinkEndToEnd, ArrivalsDriveReceptionWithoutPolling) {
    m_port->ReceiveOnArrival();
    m_port->SendText({}, 1);
    m_port->SendText({}, 1);
    ASSERT_TRUE(Receive(
        3000, [this] { return m_port->Connected(); }, false));
    m_emulator.kill();
    m_emulator.waitForFinished(5000);
    Receive(
        500, [] { return false; }, false);
    EXPECT_EQ(LogContaining(":\tError: ClearCommError - "), 1);
}

} // namespace
