#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace talvik::link {

// One serial line as the link sees it: open by name, line settings, bytes waiting, read, write,
// close. Every operation reports failure by its result; errorCode() tells why.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    [[nodiscard]] virtual bool open(const QString& portName) = 0;
    [[nodiscard]] virtual bool close() = 0;
    // 8 data bits, no parity, the given stop bits (0 one, 1 one and a half, 2 two), DTR and RTS
    // on. Every setting is tried even when an earlier one fails.
    [[nodiscard]] virtual bool setLineSettings(std::uint32_t baud, std::uint8_t stopBits) = 0;
    [[nodiscard]] virtual bool setBaudRate(std::uint32_t baud) = 0;
    [[nodiscard]] virtual bool setQueueSizes(std::size_t input, std::size_t output) = 0;
    // Bytes received and not yet read, or -1 once the line has failed (device gone).
    [[nodiscard]] virtual std::int64_t bytesWaiting() = 0;
    // Reads at most size bytes; returns how many were read, or -1 on failure.
    virtual std::int64_t read(std::uint8_t* data, std::size_t size) = 0;
    virtual std::int64_t write(const std::uint8_t* data, std::size_t size) = 0;
    [[nodiscard]] virtual int errorCode() const = 0;
    // After a failed open: the port is there, but this user has no right to open it (rather
    // than another program holding it, or the port being gone).
    [[nodiscard]] virtual bool accessDenied() const = 0;
    // Called from the event loop when bytes arrive or the line fails; empty to stop.
    virtual void setArrivalHandler(std::function<void()> handler) = 0;
};

} // namespace talvik::link
