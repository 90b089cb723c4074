#include "frame_codec.h"
#include "pty_line.h"
#include "read_frames.h"
#include "test_dir.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The speed the program sets on the slave is what the emulator reads back on its side.
TEST(EmuPtyLine, SeesTheSpeedSetOnTheSlave) {
    PtyLine line;
    QString error;
    ASSERT_TRUE(line.open(115200, error)) << error.toStdString();
    EXPECT_EQ(line.lineBaud(), 115200u);

    const int slave = ::open(line.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    for (const std::uint32_t baud : {9600u, 115200u, 57600u}) {
        termios settings{};
        ASSERT_EQ(::tcgetattr(slave, &settings), 0);
        ::cfsetspeed(&settings, PtyLine::speedFromBaud(baud));
        ASSERT_EQ(::tcsetattr(slave, TCSANOW, &settings), 0);
        EXPECT_EQ(line.lineBaud(), baud);
    }

    // Frames pass through unchanged in both directions (raw mode: no CR/LF or NUL handling).
    const QByteArray frame = *FrameCodec::encode({0, 1, QByteArray("\r\n\x00\x03", 4)});
    ASSERT_EQ(::write(slave, frame.constData(), frame.size()), frame.size());
    const auto received = readFrames(line.masterFd(), 1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].payload, QByteArray("\r\n\x00\x03", 4));

    EXPECT_EQ(line.write(frame), frame.size());
    const auto sent = readFrames(slave, 1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].payload, QByteArray("\r\n\x00\x03", 4));
    ::close(slave);
}

TEST(EmuPtyLine, LinkReplacesAStaleLinkAndGoesAway) {
    TestDir dir;
    const QString path = dir.path() + u"/ttyEMU"_s;
    ASSERT_TRUE(QFile::link(u"/nonexistent"_s, path));
    {
        PtyLine line;
        QString error;
        ASSERT_TRUE(line.open(9600, error));
        ASSERT_TRUE(line.link(path, error)) << error.toStdString();
        EXPECT_EQ(QFileInfo(path).symLinkTarget(), line.slavePath());
    }
    EXPECT_FALSE(QFileInfo(path).isSymLink());
}

} // namespace
