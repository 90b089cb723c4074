#include "output_pacer.h"

namespace talvik::emu {

namespace {
constexpr std::uint64_t kBitsPerByte = 10;
}

OutputPacer::OutputPacer(const support::Clock& clock, std::uint32_t baud)
    : m_clock(clock), m_baud(baud) {}

std::uint64_t OutputPacer::bytesOnLineBy(std::uint32_t now) const {
    const std::uint32_t elapsed = now - m_lineStart;
    return std::uint64_t{elapsed} * m_baud / (kBitsPerByte * 1000);
}

void OutputPacer::enqueue(const QByteArray& bytes) {
    const std::uint32_t now = m_clock.tickMs();
    // An idle line starts a new stretch; it must not bank the time it stood idle.
    if (m_queue.isEmpty() && bytesOnLineBy(now) >= m_sentInStretch) {
        m_lineStart = now;
        m_sentInStretch = 0;
    }
    m_queue.append(bytes);
}

QByteArray OutputPacer::take() {
    const std::uint64_t due = bytesOnLineBy(m_clock.tickMs());
    if (due <= m_sentInStretch || m_queue.isEmpty()) {
        return {};
    }
    const auto count = static_cast<qsizetype>(
        std::min<std::uint64_t>(due - m_sentInStretch, static_cast<std::uint64_t>(m_queue.size())));
    QByteArray out = m_queue.left(count);
    m_queue.remove(0, count);
    m_sentInStretch += static_cast<std::uint64_t>(count);
    return out;
}

std::optional<std::uint32_t> OutputPacer::msUntilNext() const {
    if (m_queue.isEmpty()) {
        return std::nullopt;
    }
    // The first millisecond at which one more byte has fully arrived, rounded up.
    const std::uint64_t bitTimes = (m_sentInStretch + 1) * kBitsPerByte * 1000;
    const std::uint64_t readyAt = (bitTimes + m_baud - 1) / m_baud;
    const std::uint32_t elapsed = m_clock.tickMs() - m_lineStart;
    return readyAt > elapsed ? static_cast<std::uint32_t>(readyAt - elapsed) : 0;
}

} // namespace talvik::emu
