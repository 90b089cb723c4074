#pragma once

#include "serial_line.h"

#include <QSerialPort>

namespace talvik::link {

// The real serial line, a QSerialPort driven by the event loop of the window thread.
class QtSerialLine final : public SerialLine {
public:
    QtSerialLine();
    ~QtSerialLine() override;
    QtSerialLine(const QtSerialLine&) = delete;
    QtSerialLine& operator=(const QtSerialLine&) = delete;

    [[nodiscard]] bool open(const QString& portName) override;
    [[nodiscard]] bool close() override;
    [[nodiscard]] bool setLineSettings(std::uint32_t baud, std::uint8_t stopBits) override;
    [[nodiscard]] bool setBaudRate(std::uint32_t baud) override;
    [[nodiscard]] bool setQueueSizes(std::size_t input, std::size_t output) override;
    [[nodiscard]] std::int64_t bytesWaiting() override;
    std::int64_t read(std::uint8_t* data, std::size_t size) override;
    std::int64_t write(const std::uint8_t* data, std::size_t size) override;
    [[nodiscard]] int errorCode() const override;
    [[nodiscard]] bool accessDenied() const override;
    void setArrivalHandler(std::function<void()> handler) override;

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    std::function<void()> m_arrival;
    // A vanished device makes the port repeat its read error endlessly; once failed, the port is
    // closed until the next open.
    bool m_failed = false;
    int m_failure = 0;
};

} // namespace talvik::link
