#include "emulator_core.h"
#include "frame_codec.h"
#include "golden_frames.h"
#include "read_frames.h"
#include "test_dir.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <termios.h>

using namespace Qt::StringLiterals;

namespace {

QString emulatorPath() {
    return qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s;
}

// Opens the slave the way the program's serial port does: raw, 8 data bits, two stop bits.
int openSlave(const QString& path, speed_t speed) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return fd;
    }
    termios settings{};
    ::tcgetattr(fd, &settings);
    ::cfmakeraw(&settings);
    settings.c_cflag |= CSTOPB | CLOCAL | CREAD;
    ::cfsetspeed(&settings, speed);
    ::tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

TEST(EmulatorProcess, AnswersTheKeepAliveWithTheAnnouncement) {
    TestDir dir;
    const QString link = dir.path() + u"/ttyTALVIK"_s;
    QProcess emu;
    emu.start(emulatorPath(), {u"--link"_s, link});
    ASSERT_TRUE(emu.waitForStarted());
    ASSERT_TRUE(emu.waitForReadyRead(5000));
    const QString slavePath = QString::fromLocal8Bit(emu.readLine().trimmed());
    EXPECT_TRUE(slavePath.startsWith(u"/dev/pts/"_s));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), slavePath);

    const int fd = openSlave(link, B115200);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, golden::kKeepAlive, sizeof golden::kKeepAlive),
              ssize_t{sizeof golden::kKeepAlive});
    const auto frames = readFrames(fd, 1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].kind, 0);
    EXPECT_EQ(frames[0].channel, EmulatorCore::kDeviceChannel);
    EXPECT_EQ(frames[0].payload.front(), '\x01');
    ::close(fd);

    ::kill(static_cast<pid_t>(emu.processId()), SIGTERM);
    ASSERT_TRUE(emu.waitForFinished(5000));
    EXPECT_EQ(emu.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(emu.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(EmulatorProcess, SavesItsSettingsWhenStopped) {
    TestDir dir;
    dir.writeFile(u"seed.set"_s, R"([{"HW": "412"}, {"Value": 3, "Combo": 1}])");
    QProcess emu;
    emu.start(emulatorPath(),
              {u"--settings"_s, dir.file(u"seed.set"_s), u"--save"_s, dir.file(u"out.set"_s)});
    ASSERT_TRUE(emu.waitForStarted());
    ASSERT_TRUE(emu.waitForReadyRead(5000));
    const QString slavePath = QString::fromLocal8Bit(emu.readLine().trimmed());
    const int fd = openSlave(slavePath, B115200);
    ASSERT_GE(fd, 0);
    const QByteArray write = *FrameCodec::encode({0, 2, QByteArray(" #P3=2\0", 7)});
    ASSERT_EQ(::write(fd, write.constData(), static_cast<size_t>(write.size())), write.size());
    const auto frames = readFrames(fd, 1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, QByteArray(" #P3:2"));
    ::close(fd);

    ::kill(static_cast<pid_t>(emu.processId()), SIGTERM);
    ASSERT_TRUE(emu.waitForFinished(5000));
    EXPECT_EQ(emu.exitCode(), 0);
    EXPECT_TRUE(dir.readFile(u"out.set"_s).contains(R"({"Value": 3, "Combo": 2})"));
}

TEST(EmulatorProcess, HelpListsTheOptionsAndBadValuesAreRefused) {
    QProcess help;
    help.start(emulatorPath(), {u"--help"_s});
    ASSERT_TRUE(help.waitForFinished(5000));
    const QByteArray text = help.readAllStandardOutput();
    for (const char* option :
         {"--baud", "--link", "--drop-percent", "--corrupt-percent", "--silent-after",
          "--silent-for", "--seed", "--verbose", "--version", "--hardware", "--serial",
          "--settings", "--save", "--dump-gaps", "--dump-stall"}) {
        EXPECT_TRUE(text.contains(option)) << option;
    }

    const QStringList bad[] = {{u"--baud"_s, u"19200"_s},
                               {u"--drop-percent"_s, u"101"_s},
                               {u"--silent-after"_s, u"soon"_s},
                               {u"--silent-for"_s, u"5"_s},
                               {u"--settings"_s, u"/nonexistent.set"_s},
                               {u"--dump-gaps"_s, u"many"_s}};
    for (const QStringList& arguments : bad) {
        QProcess emu;
        emu.start(emulatorPath(), arguments);
        ASSERT_TRUE(emu.waitForFinished(5000));
        EXPECT_NE(emu.exitCode(), 0) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(emu.readAllStandardOutput().isEmpty());
    }
}

} // namespace
