#pragma once

#include "clock.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace talvik::emu {

// Releases queued bytes no faster than a serial line at the given speed would deliver them
// (10 bits a byte: start bit, 8 data bits, stop bit), so the program sees real-cable timing,
// including frames that arrive in pieces.
class OutputPacer {
public:
    OutputPacer(const support::Clock& clock, std::uint32_t baud);

    void enqueue(const QByteArray& bytes);
    // The bytes whose last bit has gone over the line by now.
    [[nodiscard]] QByteArray take();
    // Milliseconds until take() has something to give, or nothing when the queue is empty.
    [[nodiscard]] std::optional<std::uint32_t> msUntilNext() const;
    void clear() { m_queue.clear(); }
    [[nodiscard]] bool empty() const { return m_queue.isEmpty(); }
    [[nodiscard]] qsizetype queued() const { return m_queue.size(); }

private:
    [[nodiscard]] std::uint64_t bytesOnLineBy(std::uint32_t now) const;

    const support::Clock& m_clock;
    std::uint32_t m_baud;
    QByteArray m_queue;
    std::uint32_t m_lineStart = 0; // when the line started its current busy stretch
    std::uint64_t m_sentInStretch = 0;
};

} // namespace talvik::emu
