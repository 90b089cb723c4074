#include "emulator_core.h"

#include "frame_codec.h"

#include <QString>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace talvik::emu {

EmulatorCore::EmulatorCore(const support::Clock& clock, std::uint32_t baud, const FaultKnobs& knobs,
                           std::vector<std::unique_ptr<EmuModule>> modules)
    : m_clock(clock), m_baud(baud), m_knobs(knobs), m_modules(std::move(modules)),
      m_pacer(clock, baud), m_random(knobs.seed), m_startTick(clock.tickMs()) {}

bool EmulatorCore::silent() const {
    if (m_restartedAt && m_clock.tickMs() - *m_restartedAt < m_restartQuietMs) {
        return true;
    }
    if (!m_knobs.silentAfterMs) {
        return false;
    }
    const std::uint32_t elapsed = m_clock.tickMs() - m_startTick;
    if (elapsed < *m_knobs.silentAfterMs) {
        return false;
    }
    return !m_knobs.silentForMs || elapsed - *m_knobs.silentAfterMs < *m_knobs.silentForMs;
}

bool EmulatorCore::roll(int percent) {
    if (percent <= 0) {
        return false;
    }
    return static_cast<int>(m_random() % 100) < percent;
}

void EmulatorCore::trace(const char* what, const Frame& frame) const {
    if (!m_trace) {
        return;
    }
    QString payload;
    for (const char c : frame.payload) {
        const auto b = static_cast<unsigned>(static_cast<unsigned char>(c));
        payload += b >= 0x20 && b < 0x7F ? QString(QChar(static_cast<char16_t>(b)))
                                         : u"\\x%1"_s.arg(b, 2, 16, QChar(u'0'));
    }
    m_trace(u"%1 kind %2 channel %3: %4"_s.arg(QString::fromLatin1(what))
                .arg(frame.kind)
                .arg(frame.channel)
                .arg(payload));
}

void EmulatorCore::receive(const QByteArray& bytes, std::uint32_t lineBaud) {
    if (lineBaud == m_baud && !silent() && takenRaw(bytes)) {
        feedLine();
        return;
    }
    const FrameScanner::Result scanned = m_scanner.feed(bytes);
    if (m_trace && scanned.badChecksums > 0) {
        m_trace(u"%1 frame(s) with a wrong checksum"_s.arg(scanned.badChecksums));
    }
    if (silent()) {
        return;
    }
    for (const Frame& frame : scanned.frames) {
        if (silent()) {
            break; // restarted by one of these frames: the rest is lost
        }
        // At another speed the bytes would have reached a real controller as noise. A program
        // that sends at another speed is hunting for ours, so it is not connected any more.
        if (lineBaud != m_baud) {
            trace("ignored (sent at another speed)", frame);
            hostLost();
            continue;
        }
        if (roll(m_knobs.dropPercent)) {
            trace("dropped", frame);
            continue;
        }
        trace("in", frame);
        const std::uint32_t now = m_clock.tickMs();
        if (m_lastHeard && now - *m_lastHeard > kHostQuietMs) {
            hostLost();
        }
        m_lastHeard = now;
        handle(frame, now);
    }
    feedLine();
}

void EmulatorCore::hostLost() {
    for (const auto& module : m_modules) {
        module->hostLost();
    }
}

void EmulatorCore::lineDropped() {
    m_scanner.clear();
    m_pacer.clear();
    hostLost();
}

void EmulatorCore::shutDown() {
    for (const auto& module : m_modules) {
        module->shutDown();
    }
}

void EmulatorCore::feedLine() {
    const std::uint32_t now = m_clock.tickMs();
    while (m_pacer.queued() < kFeedBelowBytes) {
        const bool sent = std::any_of(m_modules.begin(), m_modules.end(), [&](const auto& module) {
            return module->sendNext(*this) || module->sendDue(*this, now);
        });
        if (!sent) {
            return;
        }
    }
}

void EmulatorCore::handle(const Frame& frame, std::uint32_t now) {
    const Request request{frame.kind, frame.channel, frame.payload, now};
    m_replyKind = request.awaited() ? 2 : 0;
    for (const auto& module : m_modules) {
        if (module->handle(request, *this)) {
            return;
        }
    }
}

bool EmulatorCore::takenRaw(const QByteArray& bytes) {
    const std::uint32_t now = m_clock.tickMs();
    return std::any_of(m_modules.begin(), m_modules.end(),
                       [&](const auto& module) { return module->receiveRaw(bytes, now, *this); });
}

void EmulatorCore::raw(const QByteArray& bytes) {
    if (m_trace) {
        m_trace(u"out raw: %1"_s.arg(QString::fromLatin1(bytes.toHex(' '))));
    }
    m_pacer.enqueue(bytes);
}

void EmulatorCore::reply(const QByteArray& payload) {
    send(m_replyKind, payload);
}

void EmulatorCore::notify(const QByteArray& payload) {
    send(0, payload);
}

std::optional<QByteArray> EmulatorCore::status(int number) {
    const std::uint32_t now = m_clock.tickMs();
    for (const auto& module : m_modules) {
        if (std::optional<QByteArray> value = module->statusValue(number, now)) {
            return value;
        }
    }
    return std::nullopt;
}

void EmulatorCore::restart(std::uint32_t quietMs) {
    if (m_trace) {
        m_trace(u"restart, quiet for %1 ms"_s.arg(quietMs));
    }
    m_restartedAt = m_clock.tickMs();
    m_restartQuietMs = quietMs;
    m_pacer.clear();
    hostLost();
}

void EmulatorCore::send(std::uint8_t kind, const QByteArray& payload) {
    const bool corrupt = roll(m_knobs.corruptPercent);
    const Frame frame{kind, kDeviceChannel, payload};
    trace(corrupt ? "out (corrupt)" : "out", frame);
    if (const auto bytes = FrameCodec::encode(frame, corrupt)) {
        m_pacer.enqueue(*bytes);
    }
}

QByteArray EmulatorCore::takeOutput() {
    if (silent()) {
        m_pacer.clear();
        return {};
    }
    feedLine();
    QByteArray out = m_pacer.take();
    feedLine(); // a late caller may have emptied the queue: keep output pending for the next
    return out;
}

std::optional<std::uint32_t> EmulatorCore::msUntilOutput() const {
    std::optional<std::uint32_t> next = m_pacer.msUntilNext();
    // What falls due while the line is silent is never sent, and while the line is full it
    // waits for room: neither may wake the loop before the line itself does.
    if (silent() || m_pacer.queued() >= kFeedBelowBytes) {
        return next;
    }
    const std::uint32_t now = m_clock.tickMs();
    for (const auto& module : m_modules) {
        if (const std::optional<std::uint32_t> due = module->msUntilDue(now)) {
            next = next ? std::min(*next, *due) : *due;
        }
    }
    return next;
}

} // namespace talvik::emu
