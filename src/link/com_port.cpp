#include "com_port.h"

#include "cp1251.h"
#include "frame_codec.h"
#include "leading_integer.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace talvik::link {

namespace {
constexpr std::uint32_t kFastBaud = 115200;
constexpr std::uint32_t kSlowBaud = 9600;
constexpr std::uint8_t kTwoStopBits = 2;
constexpr std::uint8_t kAnnouncement = 0x01;
constexpr std::uint8_t kTextReply = ' ';
const QByteArray kKeepAliveMark = QByteArrayLiteral("ka");

// Device texts are C strings inside the payload; a NUL ends the text if the device sends one.
QByteArray TextOf(std::span<const std::uint8_t> bytes) {
    const auto* begin = reinterpret_cast<const char*>(bytes.data());
    const auto* end = std::find(begin, begin + bytes.size(), '\0');
    return QByteArray(begin, end - begin);
}

// The run of digits and points at the first digit at or after at; at moves behind the run.
QString NumberRun(const QString& text, qsizetype& at) {
    while (at < text.size() && !text.at(at).isDigit()) {
        ++at;
    }
    const qsizetype begin = at;
    while (at < text.size() && (text.at(at).isDigit() || text.at(at) == u'.')) {
        ++at;
    }
    return text.mid(begin, at - begin);
}
} // namespace

ComPort::ComPort(std::unique_ptr<SerialLine> line, const QString& portName,
                 const QString& friendlyName, support::Clock& clock, WritePacing& pacing)
    : ComPortBase(std::move(line), portName, friendlyName, kFastBaud, kTwoStopBits), m_clock(clock),
      m_writePacing(pacing) {}

void ComPort::ShowStatus(const QString&) {}
void ComPort::OnReply(const QString&) {}
void ComPort::OnRawFrame(std::span<const std::uint8_t>) {}
void ComPort::OnText(const QString&) {}
void ComPort::OnDeviceRestart() {}
void ComPort::SetProgress(int) {}
void ComPort::SetProgressMax(int) {}
void ComPort::OnProgrammingEnd(const QString&) {}
void ComPort::OnConnected(const QString&) {}
void ComPort::OnDisconnected() {}
void ComPort::Wait(int) {}
void ComPort::OnNoReply() {}
void ComPort::OnCommandSent() {}
void ComPort::OnPollDue() {}
void ComPort::OnQueueEnd() {}
void ComPort::OnVersion(const QString&) {}

void ComPort::OnDataAvailable(std::size_t count) {
    if (m_programming.HoldsReception()) {
        return;
    }
    // Whatever the driver holds beyond the buffer's room is left there for the next call.
    const std::size_t wanted = std::min(count, m_scanner.Room());
    const std::int64_t got = Line().read(m_scanner.Tail(), wanted);
    const std::span<const std::uint8_t> bytes =
        m_scanner.Take(got > 0 ? static_cast<std::size_t>(got) : 0);
    if (m_programming.TakesRawBytes()) {
        m_programming.OnRawBytes(bytes);
        return;
    }
    m_scanner.Scan(bytes.size(), [this](const ReceivedFrame& frame) {
        if (!frame.checksumOk) {
            Log().write(QByteArrayLiteral("BAD CRC !"));
        } else if (frame.channel > 4) {
            HandleFrame(frame.payload, frame.kind);
        }
    });
}

void ComPort::HandleFrame(std::span<const std::uint8_t> payload, std::uint8_t kind) {
    m_keepAliveCountdown = kKeepAliveTicks;
    m_linkAliveCountdown = kLinkAliveTicks;
    if (m_current == kKeepAliveMark) {
        m_current.clear();
    }
    if (payload.empty()) {
        OnRawFrame(payload);
        return;
    }
    const std::uint8_t first = payload.front();
    const QByteArray text = TextOf(payload.subspan(1));
    if (first == kAnnouncement || first == kTextReply) {
        Log().write(" ---> (" + QByteArray::number(kind) + "): " + text);
    }
    if (first == kAnnouncement) {
        if (m_connected) {
            return;
        }
        m_connected = true;
        SetSpeedHunting(false);
        Log().writeValue(QByteArrayLiteral("Connected with speed"), Baud());
        OnConnected(support::Cp1251::toUnicode(text));
        return;
    }
    if (first != kTextReply) {
        if (!m_programming.OnFrame(payload)) {
            OnRawFrame(payload);
        }
        return;
    }
    const QString unicode = support::Cp1251::toUnicode(text);
    if (kind == 1 || (kind == 0 && !text.startsWith('#'))) {
        OnText(unicode);
    }
    if (kind == 2) {
        m_lastCommand = m_current;
        m_current.clear();
    }
    if (unicode.startsWith(u"Версия"_s) || unicode.startsWith(u"ver:"_s)) {
        HandleVersionReply(unicode);
    } else {
        OnReply(unicode);
    }
    Pump();
}

void ComPort::HandleVersionReply(const QString& text) {
    qsizetype at = text.indexOf(u"Конфигурация"_s);
    if (at < 0) {
        return;
    }
    m_versionText = NumberRun(text, at);
    at = text.indexOf(u"HV"_s, at);
    if (at >= 0) {
        m_hardwareNumber = support::LeadingInteger(NumberRun(text, at));
    }
    OnVersion(text);
}

void ComPort::SendCommand(const QString& command, SendFlag flag) {
    m_queue.push_back({support::Cp1251::fromUnicode(command), flag, 0});
    Pump();
}

void ComPort::SendText(const QByteArray& text, SendFlag channel) {
    // The NUL behind the text travels with it.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.constData());
    SendRaw({bytes, static_cast<std::size_t>(text.size()) + 1}, channel);
}

void ComPort::SendRaw(std::span<const std::uint8_t> bytes, SendFlag channel) {
    if (SpeedHunting()) {
        SetSpeed(Baud() == kFastBaud ? kSlowBaud : kFastBaud);
    }
    if (bytes.size() == 1 && bytes.front() == 0) {
        m_keepAliveCountdown = kKeepAliveTicks;
    }
    if (!bytes.empty() && bytes.front() == ' ') {
        Log().write(" <--- (" + QByteArray::number(static_cast<int>(channel)) + "):" + TextOf(bytes));
    }
    const std::optional<QByteArray> frame =
        FrameCodec::BuildFrame(0, static_cast<std::uint8_t>(channel), bytes);
    if (frame) {
        WritePaced({reinterpret_cast<const std::uint8_t*>(frame->constData()),
                    static_cast<std::size_t>(frame->size())});
    }
}

void ComPort::WritePaced(std::span<const std::uint8_t> bytes) {
    const std::uint32_t now = m_clock.tickMs();
    if (m_writePacing.lastWriteTime == 0) {
        m_writePacing.lastWriteTime = now;
    }
    const std::uint32_t since = SinceTick(m_writePacing.lastWriteTime);
    if (m_pacing && since < m_writePacing.gap) {
        const std::uint32_t wait = m_writePacing.gap - since;
        if (wait > 1) {
            Log().writeValue(QByteArrayLiteral("Sleep before send"), wait);
        }
        m_clock.sleepMs(wait);
    }
    m_writePacing.lastWriteTime = now;
    // 10 bits a byte on the line, plus a margin for the controller.
    const std::uint32_t lineTime =
        Baud() == 0 ? 1 : static_cast<std::uint32_t>(bytes.size() * 10000 / Baud());
    m_writePacing.gap = lineTime + 10;
    static_cast<void>(Line().write(bytes.data(), bytes.size()));
}

std::uint32_t ComPort::SinceTick(std::uint32_t& stored) const {
    const std::uint32_t now = m_clock.tickMs();
    if (now < stored) {
        stored = now;
    }
    return now - stored;
}

void ComPort::Pump() {
    if (m_programming.Active()) {
        return;
    }
    const bool keepAliveOutstanding = m_current == kKeepAliveMark;
    if (!m_current.isEmpty() && !keepAliveOutstanding &&
        SinceTick(m_lastSendTime) > kReplyTimeoutMs) {
        ++m_attempts;
        if (m_attempts == kAttempts) {
            OnNoReply();
        } else {
            m_queue.push_front({m_current, SendFlag::AwaitReply, m_attempts});
        }
        m_current.clear();
    }
    const bool commandOutstanding = !m_current.isEmpty() && m_current != kKeepAliveMark;
    if (!commandOutstanding && m_keepAliveCountdown <= 0) {
        if (keepAliveOutstanding) {
            Reopen();
        }
        Log().write(QByteArrayLiteral("Send KA"));
        SendText({}, SendFlag::WriteAndForget);
        m_current = kKeepAliveMark;
    }
    while (m_current.isEmpty() && !m_queue.empty()) {
        // The entry leaves the queue before any event runs, so a handler that queues more
        // commands (and pumps again) never sees it twice.
        const QueuedCommand head = m_queue.front();
        m_queue.pop_front();
        m_attempts = head.attempts;
        if (head.flag == SendFlag::AwaitReply) {
            m_current = head.text;
        }
        if (head.text == "end") {
            OnQueueEnd();
        } else if (head.text == "end clr") {
            ShowStatus(u"Инициализация прошла успешно"_s);
        } else {
            SendText(head.text, head.flag);
        }
        m_lastSendTime = m_clock.tickMs();
        OnCommandSent();
    }
}

void ComPort::Tick() {
    if (!m_connected) {
        return;
    }
    if (m_programming.Active()) {
        m_programming.Tick();
        return;
    }
    if (--m_pollCountdown == 0) {
        m_pollCountdown = kPollTicks;
        if (m_queue.empty()) {
            OnPollDue();
        }
    }
    --m_keepAliveCountdown;
    Pump();
    if (--m_linkAliveCountdown == 0) {
        m_connected = false;
        // Hunting resumes before the event: the owner may destroy this port in its handler.
        SetSpeedHunting(true);
        OnDisconnected();
    }
}

void ComPort::ResumeAfterProgramming() {
    m_keepAliveCountdown = kKeepAliveTicks;
    m_linkAliveCountdown = kFreshLinkAliveTicks;
}

} // namespace talvik::link
