#include "programming.h"

#include "clock.h"
#include "com_port.h"
#include "cp1251.h"
#include "frame_codec.h"
#include "programming_family.h"
#include "upload_image.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace talvik::link {

namespace {
constexpr SendFlag kCommandChannel = SendFlag::WriteAndForget;

// Time-outs, in ticks of the link's 100 ms clock.
constexpr int kLoaderStartTicks = 10;
constexpr int kSynchronisedTicks = 4;
constexpr int kRecordTicks = 20;
constexpr int kBlockTicks = 3;
constexpr int kFinishingTicks = 10;
constexpr int kFrameReplyTicks = 3;
// While the loader is still writing it is given one tick per this many bytes, plus one.
constexpr std::size_t kWrittenBytesPerTick = 3000;
constexpr int kFinishingPauseMs = 3000;
// The controller takes the apply command only once it is done with the last chunk.
constexpr std::uint32_t kApplyDelayMs = 100;

// The bar moves through 0..99 while the controller is being restarted into its loader.
constexpr int kHandshakeBarSteps = 100;
constexpr std::size_t kChunkSize = 64;
constexpr int kChunkAttempts = 5;

const QByteArray kRestart = QByteArrayLiteral(" ReStarT");
// The restart request comes back as an echo of its whole frame.
constexpr std::int64_t kRestartEcho = 8 + 1 + static_cast<std::int64_t>(FrameCodec::kOverhead);
const QByteArray kUpdate("UPdate>\0", 8);
constexpr char kAnnouncementMark = 0x02;

// The loader's answer bytes.
constexpr std::uint8_t kLoaderReady = 'w';
constexpr std::uint8_t kRecordTaken = 0x11;
constexpr std::uint8_t kBlockTaken = 0x01;
constexpr std::uint8_t kWritten = 0x02;
constexpr std::uint8_t kStillWriting = 0x03;

// First bytes of the controller's framed replies and of the program's requests.
constexpr std::uint8_t kAnnouncementReply = 0x03;
constexpr std::uint8_t kOpenReply = 'A';
constexpr std::uint8_t kChunkReply = '7';
constexpr std::uint8_t kChunkErrorReply = 'E';
constexpr std::uint8_t kCloseReply = 'C';
constexpr char kOpenRequest = '@';
constexpr char kChunkCommand = 'D';
constexpr char kExtendedChunkCommand = '6';
constexpr char kLastChunkCommand = '8';
constexpr char kCloseCommand = 'B';
const QByteArray kApplyCommand = QByteArrayLiteral("P");
// The two bytes that follow the remote name of an open request.
const QByteArray kOpenTail("\0\n", 2);
// An extended chunk answer: offset at bytes 2..5, the result at byte 6 (1 = taken).
constexpr std::size_t kOffsetAt = 2;
constexpr std::size_t kExtendedResultAt = 6;
constexpr std::uint8_t kExtendedTaken = 1;

std::span<const std::uint8_t> Span(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

QByteArray LittleEndian32(std::size_t value) {
    char bytes[4];
    qToLittleEndian(static_cast<std::uint32_t>(value), bytes);
    return {bytes, sizeof bytes};
}

QByteArray LittleEndian16(std::size_t value) {
    char bytes[2];
    qToLittleEndian(static_cast<std::uint16_t>(value), bytes);
    return {bytes, sizeof bytes};
}

// The byte at index, 0 when the reply is shorter.
std::uint8_t ByteAt(std::span<const std::uint8_t> payload, std::size_t index) {
    return index < payload.size() ? payload[index] : 0;
}

// The little-endian number of `width` bytes at index; missing bytes count as 0.
std::uint32_t NumberAt(std::span<const std::uint8_t> payload, std::size_t index, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | ByteAt(payload, index + static_cast<std::size_t>(i));
    }
    return value;
}

// The name of the file itself, without its folders.
QString OwnName(const QString& path) {
    return path.mid(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1);
}
} // namespace

Programming::Programming(ComPort& port, support::Clock& clock) : m_port(port), m_clock(clock) {}

void Programming::Start(UploadKind kind, const QString& path) {
    if (Active()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        End(kFileNotFound);
        return;
    }
    const int hardware = m_port.HardwareNumber();
    const UploadImage image = UploadImage::Prepare(kind, hardware, file.readAll());
    m_data = image.data;
    m_block = image.fileType;
    m_extended = UsesExtendedChunks(hardware);
    m_port.ClearQueue();
    m_apply = true;
    m_port.SetProgressMax(static_cast<int>(m_data.size()));
    switch (FamilyForHardware(hardware)) {
    case ProgrammingFamily::Loader:
        StartLoader(kind);
        break;
    case ProgrammingFamily::File:
        StartFile(kind, path);
        break;
    case ProgrammingFamily::Chunk:
        StartChunks();
        break;
    }
}

void Programming::StartLoader(UploadKind kind) {
    m_countdown = kLoaderStartTicks;
    if (kind == UploadKind::Firmware) {
        m_mode = Mode::Handshake;
        m_expected = kRestartEcho + 1;
        m_port.SendText(kRestart, kCommandChannel);
    } else {
        m_mode = Mode::Announcing;
        m_port.SendText(kAnnouncementMark +
                            m_data.left(static_cast<qsizetype>(LeadingTextLength())),
                        kCommandChannel);
    }
    m_port.ShowStatus(u"Переход в режим программирования"_s);
}

void Programming::StartFile(UploadKind kind, const QString& path) {
    m_countdown = kFrameReplyTicks;
    m_mode = Mode::Opening;
    QByteArray name;
    switch (kind) {
    case UploadKind::Firmware:
        name = QByteArrayLiteral("firmware_.enc");
        break;
    case UploadKind::Profile:
        name = QByteArrayLiteral("profile.evc");
        break;
    case UploadKind::Sounds:
        name = "Sounds\\" + support::Cp1251::fromUnicode(OwnName(path));
        // A new sound set needs no restart of the controller.
        m_apply = false;
        break;
    }
    SendFrame(kOpenRequest + name + kOpenTail);
}

void Programming::StartChunks() {
    m_countdown = kFrameReplyTicks;
    m_mode = Mode::Chunks;
    m_pos = 0;
    m_retries = 0;
    SendChunk();
}

void Programming::Cancel(const QString& text) {
    if (Active()) {
        End(text);
    }
}

void Programming::Tick() {
    --m_countdown;
    const bool due = m_countdown <= 0;
    switch (m_mode) {
    case Mode::Handshake:
        if (due) {
            m_port.SendText(kRestart, kCommandChannel);
            m_countdown = kLoaderStartTicks;
            m_expected += kRestartEcho;
        }
        WriteRaw(kUpdate);
        m_expected += kUpdate.size();
        ++m_pos;
        m_port.SetProgress(static_cast<int>(m_pos % kHandshakeBarSteps));
        break;
    case Mode::Synchronised:
        if (due) {
            m_mode = Mode::Records;
            SendRecord();
        }
        break;
    case Mode::Records:
    case Mode::Announcing:
    case Mode::Blocks:
    case Mode::Finishing:
        if (due) {
            End(kNoAnswer);
        }
        break;
    case Mode::Opening:
        if (due) {
            End(kOpenTimedOut);
        }
        break;
    case Mode::Chunks:
        if (due) {
            SendChunk();
        }
        break;
    case Mode::Idle:
        break;
    }
}

bool Programming::TakesRawBytes() const {
    switch (m_mode) {
    case Mode::Handshake:
    case Mode::Synchronised:
    case Mode::Records:
    case Mode::Blocks:
    case Mode::Finishing:
        return true;
    case Mode::Idle:
    case Mode::Announcing:
    case Mode::Opening:
    case Mode::Chunks:
        break;
    }
    return false;
}

void Programming::OnRawBytes(std::span<const std::uint8_t> bytes) {
    // Every byte written comes back as an echo; the byte that completes the expected count is
    // the loader's answer. The bytes behind it count towards the next answer.
    while (!bytes.empty() && TakesRawBytes() && m_expected > 0) {
        const auto count =
            std::min<std::int64_t>(m_expected, static_cast<std::int64_t>(bytes.size()));
        m_expected -= count;
        const std::uint8_t answer = bytes[static_cast<std::size_t>(count) - 1];
        bytes = bytes.subspan(static_cast<std::size_t>(count));
        if (m_expected > 0) {
            return;
        }
        m_port.Log().write(" ---> " + QByteArray::number(answer, 16).rightJustified(2, '0'));
        switch (m_mode) {
        case Mode::Handshake:
            OnHandshakeAnswer(answer);
            break;
        case Mode::Records:
            OnRecordAnswer(answer);
            break;
        case Mode::Blocks:
            OnBlockAnswer(answer);
            break;
        case Mode::Finishing:
            OnFinishingAnswer(answer);
            break;
        case Mode::Idle:
        case Mode::Synchronised:
        case Mode::Announcing:
        case Mode::Opening:
        case Mode::Chunks:
            break;
        }
    }
}

void Programming::OnHandshakeAnswer(std::uint8_t answer) {
    if (answer != kLoaderReady) {
        m_expected = 1;
        return;
    }
    m_countdown = kSynchronisedTicks;
    m_mode = Mode::Synchronised;
    m_pos = 0;
    m_port.SetProgressMax(static_cast<int>(m_data.size()));
    m_port.ShowStatus(u"Заливка данных"_s);
}

void Programming::OnRecordAnswer(std::uint8_t answer) {
    if (answer == kRecordTaken) {
        m_pos += m_lastLength;
        m_port.SetProgress(static_cast<int>(m_pos));
        if (Remaining() == 0) {
            End(kLoaderDone);
            return;
        }
    }
    // A record the loader did not take goes again.
    SendRecord();
}

void Programming::OnBlockAnswer(std::uint8_t answer) {
    if (answer != kBlockTaken) {
        End(kNotFinished);
        return;
    }
    m_pos += m_lastLength;
    m_port.SetProgress(static_cast<int>(m_pos));
    if (Remaining() > 0) {
        SendBlock();
        return;
    }
    m_mode = Mode::Finishing;
    // An empty block tells the loader that the data is complete.
    WriteRaw(QByteArray(2, '\0'));
    m_expected = 3;
    m_countdown = kFinishingTicks;
}

void Programming::OnFinishingAnswer(std::uint8_t answer) {
    // The loader gets time to write; its further bytes wait in the line meanwhile.
    m_pausing = true;
    m_port.Wait(kFinishingPauseMs);
    m_pausing = false;
    if (m_mode != Mode::Finishing) {
        return; // cancelled during the pause
    }
    if (answer == kWritten) {
        End(kLoaderDone);
    } else if (answer == kStillWriting) {
        m_expected = 1;
        m_countdown =
            static_cast<int>(static_cast<std::size_t>(m_data.size()) / kWrittenBytesPerTick) + 1;
    } else {
        End(kNotFinished);
    }
}

bool Programming::OnFrame(std::span<const std::uint8_t> payload) {
    if (payload.empty()) {
        return false;
    }
    const std::uint8_t first = payload.front();
    if (m_mode == Mode::Announcing && first == kAnnouncementReply) {
        OnAnnouncementAnswer(payload);
    } else if (m_mode == Mode::Opening && first == kOpenReply) {
        OnOpenAnswer(payload);
    } else if (m_mode == Mode::Chunks && (first == kChunkReply || first == kChunkErrorReply)) {
        OnChunkAnswer(payload);
    } else if (m_mode == Mode::Chunks && first == kCloseReply) {
        OnCloseAnswer(payload);
    } else {
        return false;
    }
    return true;
}

void Programming::OnAnnouncementAnswer(std::span<const std::uint8_t> payload) {
    m_block = static_cast<int>(NumberAt(payload, 1, 2));
    const std::uint32_t capacity = NumberAt(payload, 3, 4);
    const std::size_t dataStart =
        std::min(LeadingTextLength() + 1, static_cast<std::size_t>(m_data.size()));
    if (static_cast<std::size_t>(m_data.size()) - dataStart > capacity) {
        End(kTooLarge);
        return;
    }
    m_port.ShowStatus(u"Заливка данных"_s);
    m_mode = Mode::Blocks;
    m_pos = dataStart;
    m_port.SetProgressMax(static_cast<int>(m_data.size()));
    m_port.SetProgress(static_cast<int>(m_pos));
    SendBlock();
}

void Programming::OnOpenAnswer(std::span<const std::uint8_t> payload) {
    if (ByteAt(payload, 1) != 0) {
        End(kOpenRefused);
        return;
    }
    m_pos = 0;
    m_retries = 0;
    m_block = ByteAt(payload, 2);
    m_mode = Mode::Chunks;
    SendChunk();
}

void Programming::OnChunkAnswer(std::span<const std::uint8_t> payload) {
    const std::size_t resultAt = m_extended ? kExtendedResultAt : 1;
    const std::uint8_t taken = m_extended ? kExtendedTaken : 0;
    if (resultAt < payload.size() && payload[resultAt] == taken) {
        m_pos += kChunkSize;
        m_port.SetProgress(static_cast<int>(m_pos));
        if (m_pos >= static_cast<std::size_t>(m_data.size())) {
            FinishChunks();
            return;
        }
        m_retries = 0;
        SendChunk();
        return;
    }
    if (m_extended) {
        // The controller says where its copy ends; the upload goes on from there.
        m_pos = std::min<std::size_t>(NumberAt(payload, kOffsetAt, 4), m_data.size());
        m_port.SetProgress(static_cast<int>(m_pos));
    }
    m_port.Log().write("Recieved response " + QByteArray(1, static_cast<char>(payload.front())) +
                       " with error code " + QByteArray::number(ByteAt(payload, resultAt)));
    SendChunk();
}

void Programming::FinishChunks() {
    if (!m_extended) {
        SendFrame(kCloseCommand + QByteArray(1, static_cast<char>(m_block)));
        return; // the close reply ends the run
    }
    m_clock.sleepMs(kApplyDelayMs);
    SendFrame(kApplyCommand);
    End(kFileDone);
    m_port.OnDeviceRestart();
}

void Programming::OnCloseAnswer(std::span<const std::uint8_t> payload) {
    m_port.Log().writeValue(QByteArrayLiteral("Close file reply"), ByteAt(payload, 1));
    const bool apply = m_apply;
    End(kFileDone);
    if (apply) {
        SendFrame(kApplyCommand);
        m_port.OnDeviceRestart();
    }
}

void Programming::SendRecord() {
    // A record starts with its own length, big-endian, not counting those two bytes; a record
    // that claims more than the image holds is cut at its end.
    const auto* record = reinterpret_cast<const std::uint8_t*>(m_data.constData()) + m_pos;
    const std::size_t claimed =
        Remaining() >= 2 ? 2 + qFromBigEndian<std::uint16_t>(record) : Remaining();
    m_lastLength = std::min(claimed, Remaining());
    WriteRaw(m_data.mid(static_cast<qsizetype>(m_pos), static_cast<qsizetype>(m_lastLength)));
    m_expected = static_cast<std::int64_t>(m_lastLength) + 1;
    m_countdown = kRecordTicks;
}

void Programming::SendBlock() {
    const std::size_t count = std::min(static_cast<std::size_t>(m_block), Remaining());
    const QByteArray data =
        m_data.mid(static_cast<qsizetype>(m_pos), static_cast<qsizetype>(count));
    WriteRaw(LittleEndian16(count) + data + LittleEndian16(FrameCodec::Checksum(Span(data))));
    m_lastLength = count;
    // The echo of length, data and checksum, then the answer.
    m_expected = static_cast<std::int64_t>(count) + 5;
    m_countdown = kBlockTicks;
}

void Programming::SendChunk() {
    if (m_retries == kChunkAttempts) {
        End(kWriteFailed);
        return;
    }
    if (++m_retries > 1) {
        m_port.Log().write(QByteArrayLiteral("Repeat sending"));
    }
    const std::size_t size = static_cast<std::size_t>(m_data.size());
    const bool last = m_pos + kChunkSize >= size;
    const char command = !m_extended ? kChunkCommand
                         : last      ? kLastChunkCommand
                                     : kExtendedChunkCommand;
    const QByteArray type(1, static_cast<char>(m_block));
    SendFrame(command + type + LittleEndian32(m_pos) +
              m_data.mid(static_cast<qsizetype>(m_pos),
                         static_cast<qsizetype>(std::min(kChunkSize, Remaining()))));
    if (m_extended && last) {
        // An empty chunk at the end offset closes the file.
        SendFrame(kExtendedChunkCommand + type + LittleEndian32(size));
    }
    m_countdown = kFrameReplyTicks;
}

void Programming::SendFrame(const QByteArray& payload) {
    m_port.SendRaw(Span(payload), kCommandChannel);
}

void Programming::WriteRaw(const QByteArray& bytes) {
    m_port.WritePaced(Span(bytes));
}

void Programming::End(const QString& text) {
    if (Active()) {
        m_mode = Mode::Idle;
        m_data.clear();
        m_pos = 0;
        m_expected = 0;
        m_lastLength = 0;
        m_retries = 0;
        m_port.ResumeAfterProgramming();
    }
    m_port.OnProgrammingEnd(text);
}

std::size_t Programming::Remaining() const {
    const auto size = static_cast<std::size_t>(m_data.size());
    return m_pos < size ? size - m_pos : 0;
}

std::size_t Programming::LeadingTextLength() const {
    const qsizetype end = m_data.indexOf('\0');
    return static_cast<std::size_t>(end < 0 ? m_data.size() : end);
}

} // namespace talvik::link
