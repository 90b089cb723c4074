#include "frame_codec.h"
#include "frame_scanner.h"
#include "golden_frames.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace talvik::emu;

namespace {

// The real program on a pseudo-terminal: it prints the slave's path, reads the speed set on the
// slave and passes frame bytes through raw (no CR/LF or NUL handling).
TEST(EmulatorProcess, AnswersOnItsPseudoTerminalAndRefusesBadOptions) {
    const QString emulatorPath = qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s;
    QProcess emu;
    emu.start(emulatorPath, {u"--baud"_s, u"115200"_s});
    ASSERT_TRUE(emu.waitForReadyRead(5000));
    const QByteArray slavePath = emu.readLine().trimmed();
    const int slave = ::open(slavePath.constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0) << slavePath.toStdString();
    termios settings{};
    ASSERT_EQ(::tcgetattr(slave, &settings), 0);
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B115200);
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &settings), 0);
    const QByteArray probe(reinterpret_cast<const char*>(golden::kKeepAlive),
                           sizeof golden::kKeepAlive);
    ASSERT_EQ(::write(slave, probe.constData(), probe.size()), probe.size());
    FrameScanner scanner;
    std::vector<Frame> frames;
    pollfd p{slave, POLLIN, 0};
    char buffer[512];
    for (ssize_t n = 1; frames.empty() && n > 0 && ::poll(&p, 1, 5000) > 0;) {
        n = ::read(slave, buffer, sizeof buffer);
        frames = scanner.feed(QByteArray(buffer, std::max<ssize_t>(n, 0))).frames;
    }
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload.left(1), QByteArray("\x01", 1)) << "the announcement";
    ::close(slave);
    emu.terminate();
    emu.waitForFinished(5000);

    const QStringList bad[] = {{u"--baud"_s, u"19200"_s},
                               {u"--drop-percent"_s, u"101"_s},
                               {u"--silent-after"_s, u"soon"_s},
                               {u"--silent-for"_s, u"5"_s},
                               {u"--settings"_s, u"/nonexistent.set"_s},
                               {u"--dump-gaps"_s, u"many"_s}};
    for (const QStringList& arguments : bad) {
        QProcess refused;
        refused.start(emulatorPath, arguments);
        ASSERT_TRUE(refused.waitForFinished(5000));
        EXPECT_NE(refused.exitCode(), 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(refused.readAllStandardOutput().isEmpty());
    }
}

} // namespace
