#include "pty_line.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

constexpr std::array<std::pair<speed_t, std::uint32_t>, 8> kSpeeds{{{B1200, 1200},
                                                                    {B2400, 2400},
                                                                    {B4800, 4800},
                                                                    {B9600, 9600},
                                                                    {B19200, 19200},
                                                                    {B38400, 38400},
                                                                    {B57600, 57600},
                                                                    {B115200, 115200}}};

QString systemError(const QString& what) {
    return what + u": "_s + QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

std::uint32_t PtyLine::baudFromSpeed(speed_t speed) {
    for (const auto& [code, baud] : kSpeeds) {
        if (code == speed) {
            return baud;
        }
    }
    return 0;
}

speed_t PtyLine::speedFromBaud(std::uint32_t baud) {
    for (const auto& [code, value] : kSpeeds) {
        if (value == baud) {
            return code;
        }
    }
    return B0;
}

PtyLine::~PtyLine() {
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_slavePath) {
        QFile::remove(m_linkPath);
    }
    if (m_master >= 0) {
        ::close(m_master);
    }
}

bool PtyLine::open(std::uint32_t baud, QString& error) {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        error = systemError(u"posix_openpt"_s);
        return false;
    }
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        error = systemError(u"grantpt/unlockpt"_s);
        return false;
    }
    const char* name = ::ptsname(m_master);
    if (name == nullptr) {
        error = systemError(u"ptsname"_s);
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    // Raw mode from the start, so that nothing the program sends is echoed or edited even
    // before it configures the port itself; the settings outlive this descriptor.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0) {
        error = systemError(u"open "_s + m_slavePath);
        return false;
    }
    termios settings{};
    bool configured = ::tcgetattr(slave, &settings) == 0;
    if (configured) {
        ::cfmakeraw(&settings);
        ::cfsetspeed(&settings, speedFromBaud(baud));
        configured = ::tcsetattr(slave, TCSANOW, &settings) == 0;
    }
    if (!configured) {
        error = systemError(u"terminal settings"_s);
    }
    ::close(slave);
    return configured;
}

bool PtyLine::link(const QString& path, QString& error) {
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        QFile::remove(path);
    }
    if (!QFile::link(m_slavePath, path)) {
        error = u"cannot create the link "_s + path;
        return false;
    }
    m_linkPath = path;
    return true;
}

std::uint32_t PtyLine::lineBaud() const {
    termios settings{};
    if (::tcgetattr(m_master, &settings) != 0) {
        return 0;
    }
    return baudFromSpeed(::cfgetospeed(&settings));
}

QByteArray PtyLine::readAvailable() {
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        bytes.append(buffer, n);
    }
    return bytes;
}

qsizetype PtyLine::write(const QByteArray& bytes) {
    const ssize_t n = ::write(m_master, bytes.constData(), static_cast<size_t>(bytes.size()));
    return n < 0 ? 0 : n;
}

} // namespace talvik::emu
