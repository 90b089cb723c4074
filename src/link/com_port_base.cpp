#include "com_port_base.h"

namespace talvik::link {

namespace {
constexpr std::size_t kDriverQueue = 8192;
}

ComPortBase::ComPortBase(std::unique_ptr<SerialLine> line, const QString& portName,
                         const QString& friendlyName, std::uint32_t baud, std::uint8_t stopBits)
    : m_stopBits(stopBits), m_line(std::move(line)), m_portName(portName),
      m_friendlyName(friendlyName), m_baud(baud) {
    if (!m_portName.isEmpty()) {
        m_log.setName(m_portName);
    }
    ConfigureLine();
    m_log.write(QByteArrayLiteral("opened"));
}

ComPortBase::~ComPortBase() {
    if (!m_line->close()) {
        LogError(QByteArrayLiteral("CloseHandle handle"));
    }
    m_log.write(QByteArrayLiteral("closed"));
}

void ComPortBase::SetSpeed(std::uint32_t baud) {
    if (!m_line->setBaudRate(baud)) {
        LogError(QByteArrayLiteral("SetCommState"));
    }
    m_baud = baud;
    m_log.writeValue(QByteArrayLiteral("Setting speed"), baud);
}

void ComPortBase::Reopen() {
    static_cast<void>(m_line->close());
    // Like the first open, the result is not checked here: a port that stays unusable simply
    // stays silent and the link-loss countdown ends the connection.
    static_cast<void>(m_line->open(m_portName));
    m_readFailed = false;
    ConfigureLine();
    m_log.write(QByteArrayLiteral("reopened"));
}

void ComPortBase::CheckReceive() {
    if (m_readFailed) {
        return;
    }
    const std::int64_t waiting = m_line->bytesWaiting();
    if (waiting < 0) {
        m_readFailed = true;
        LogError(QByteArrayLiteral("ClearCommError"));
        return;
    }
    if (waiting > 0) {
        OnDataAvailable(static_cast<std::size_t>(waiting));
    }
}

void ComPortBase::ReceiveOnArrival() {
    m_line->setArrivalHandler([this] { CheckReceive(); });
}

void ComPortBase::LogError(const QByteArray& operation) {
    m_log.write("Error: " + operation + " - " + QByteArray::number(m_line->errorCode()));
}

void ComPortBase::ConfigureLine() {
    if (!m_line->setLineSettings(m_baud, m_stopBits)) {
        LogError(QByteArrayLiteral("SetCommState"));
    }
    if (!m_line->setQueueSizes(kDriverQueue, kDriverQueue)) {
        LogError(QByteArrayLiteral("SetupComm"));
    }
}

} // namespace talvik::link
