#include "qt_serial_line.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace talvik::link {

QtSerialLine::QtSerialLine() {
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] {
        if (m_arrival) {
            m_arrival();
        }
    });
}

QtSerialLine::~QtSerialLine() {
    m_port.disconnect();
}

bool QtSerialLine::open(const QString& portName) {
    if (m_port.isOpen()) {
        m_port.close();
    }
    m_failed = false;
    m_port.setPortName(portName);
    return m_port.open(QIODevice::ReadWrite);
}

bool QtSerialLine::close() {
    if (!m_port.isOpen()) {
        // A port closed by its own failure counts as closed; one that never opened does not.
        return m_failed;
    }
    m_port.close();
    return true;
}

bool QtSerialLine::setLineSettings(std::uint32_t baud, std::uint8_t stopBits) {
    QSerialPort::StopBits stop = QSerialPort::TwoStop;
    if (stopBits == 0) {
        stop = QSerialPort::OneStop;
    } else if (stopBits == 1) {
        stop = QSerialPort::OneAndHalfStop;
    }
    bool ok = m_port.setBaudRate(static_cast<qint32>(baud));
    ok = m_port.setDataBits(QSerialPort::Data8) && ok;
    ok = m_port.setParity(QSerialPort::NoParity) && ok;
    ok = m_port.setStopBits(stop) && ok;
    // A pseudo-terminal has no DTR or RTS to raise: that fails, is logged by the caller like any
    // other line-setting failure, and changes nothing else.
    ok = m_port.setDataTerminalReady(true) && ok;
    ok = m_port.setRequestToSend(true) && ok;
    return ok;
}

bool QtSerialLine::setBaudRate(std::uint32_t baud) {
    return m_port.setBaudRate(static_cast<qint32>(baud));
}

bool QtSerialLine::setQueueSizes(std::size_t input, std::size_t output) {
    // The output side has no bound of its own in QSerialPort: writes are handed to the driver.
    static_cast<void>(output);
    m_port.setReadBufferSize(static_cast<qint64>(input));
    return m_port.isOpen();
}

std::int64_t QtSerialLine::bytesWaiting() {
    if (m_failed) {
        return -1;
    }
    return m_port.bytesAvailable();
}

std::int64_t QtSerialLine::read(std::uint8_t* data, std::size_t size) {
    return m_port.read(reinterpret_cast<char*>(data), static_cast<qint64>(size));
}

std::int64_t QtSerialLine::write(const std::uint8_t* data, std::size_t size) {
    const qint64 written =
        m_port.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    m_port.flush();
    return written;
}

int QtSerialLine::errorCode() const {
    return m_failed ? m_failure : static_cast<int>(m_port.error());
}

bool QtSerialLine::accessDenied() const {
    if (m_port.error() != QSerialPort::PermissionError) {
        return false;
    }
    // A port that another program holds fails the same way; only the device file's rights tell
    // the two apart. The port name is a path, or a name under /dev ("ttyUSB0", "pts/3"); a
    // Windows port has no device file, so it never counts as denied.
    const QString name = m_port.portName();
    const QFileInfo device(name.startsWith(u'/') ? name : u"/dev/"_s + name);
    return device.exists() && !(device.isReadable() && device.isWritable());
}

void QtSerialLine::setArrivalHandler(std::function<void()> handler) {
    m_arrival = std::move(handler);
}

void QtSerialLine::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError) {
        return;
    }
    if (!m_failed) {
        m_failed = true;
        m_failure = static_cast<int>(error);
    }
    if (m_port.isOpen()) {
        m_port.close();
    }
    // The failure is news for a reader that waits for arrivals rather than polling.
    if (m_arrival) {
        m_arrival();
    }
}

} // namespace talvik::link
