#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <termios.h>

namespace talvik::emu {

// The emulator's end of a pseudo-terminal. The program opens the slave side like a serial port;
// the emulator reads and writes the master side. While nobody has the slave open the master
// reports a hang-up, which is the emulator's "cable unplugged"; the terminal's settings and
// anything written to the master meanwhile stay for the next opener.
class PtyLine {
public:
    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    // Opens the terminal in raw mode at the given speed; false with a reason on failure.
    [[nodiscard]] bool open(std::uint32_t baud, QString& error);
    // Keeps a symbolic link to the slave at path (an old link there is replaced) until
    // destruction.
    [[nodiscard]] bool link(const QString& path, QString& error);

    [[nodiscard]] const QString& slavePath() const { return m_slavePath; }
    [[nodiscard]] int masterFd() const { return m_master; }

    // The speed the terminal is set to right now, in baud (0 for a speed this line does not
    // know). Whoever sets the slave's speed (tcsetattr on it, as QSerialPort does) changes the
    // one settings block that the slave and the master share: tcgetattr on the master reports
    // it at once. Checked with QSerialPort on Linux: after setBaudRate(9600) the master shows
    // B9600, after setBaudRate(115200) B115200; a fresh terminal starts at B38400.
    [[nodiscard]] std::uint32_t lineBaud() const;

    // Everything waiting on the master side, without blocking.
    [[nodiscard]] QByteArray readAvailable();
    // Writes without blocking; returns how many bytes went out.
    [[nodiscard]] qsizetype write(const QByteArray& bytes);

    [[nodiscard]] static std::uint32_t baudFromSpeed(speed_t speed);
    [[nodiscard]] static speed_t speedFromBaud(std::uint32_t baud);

private:
    int m_master = -1;
    QString m_slavePath;
    QString m_linkPath;
};

} // namespace talvik::emu
