#include "emu_module.h"
#include "frame_codec.h"
#include "module_registry.h"
#include "version_reply.h"

#include <QSaveFile>
#include <QtEndian>

#include <cstdio>
#include <optional>
#include <random>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

// How long the controller stays deaf while it restarts after an upload.
constexpr std::uint32_t kRestartQuietMs = 3000;
// A loader that has taken records and then hears nothing for this long has the whole firmware.
constexpr std::uint32_t kLoaderIdleMs = 500;
// Block length the loader grants for profiles and sounds.
constexpr std::uint16_t kLoaderBlock = 256;
constexpr std::uint32_t kDefaultCapacity = 1u << 20;

// File types the open answer hands out, by remote file name.
constexpr char kFirmwareType = 1;
constexpr char kProfileType = 2;
constexpr char kSoundsType = 3;
// Error codes of a plain chunk answer.
constexpr char kGapError = 1;
constexpr char kWriteError = 2;

const QByteArray kUpdate("UPdate>\0", 8);
// The start of a link frame, which no record of ours begins with.
const QByteArray kFrameMarker("\x02Tk\x02", 4);
const QByteArray kSoundsMark("psnd\0", 5);

// The loader's answer bytes.
constexpr char kLoaderReady = 'w';
constexpr char kRecordTaken = 0x11;
constexpr char kBlockTaken = 0x01;
constexpr char kBlockRefused = 0x00;
constexpr char kWritten = 0x02;

QByteArray LittleEndian(std::uint32_t value, int width) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    return {bytes, width};
}

std::uint32_t LittleEndianAt(const QByteArray& bytes, qsizetype at, int width) {
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(at + i));
    }
    return value;
}

// Receives firmware, profile and sound uploads the way the controller's hardware number calls
// for: a loader talking raw bytes (up to 99), named files (100 to 299 and 515) or bare chunks
// (300 and up, the extended chunk commands from 401). Checks every checksum and offset, keeps
// the image, can write it to a file, and restarts after a complete upload: it stays deaf for a
// moment and, after new firmware, reports the new version.
class FlashModule final : public EmuModule {
public:
    struct Options {
        int hardware = -1;
        QString hardwareText;
        std::optional<QString> afterFirmwareVersion;
        int badChunkPercent = 0;
        std::uint32_t capacity = kDefaultCapacity;
        QString savePath;
        std::uint32_t seed = 0;
    };

    explicit FlashModule(Options options)
        : m_options(std::move(options)), m_random(m_options.seed) {}

    bool handle(const Request& request, Responder& out) override {
        if (m_newVersion && request.text() == "ver") {
            out.reply(' ' + VersionReply(*m_options.afterFirmwareVersion, m_options.hardwareText));
            return true;
        }
        const QByteArray& payload = request.payload;
        if (payload.isEmpty() || payload.front() == ' ' || payload.front() == '\0') {
            return request.text() == "ReStarT" && loaderFamily() && restartIntoLoader(request, out);
        }
        if (loaderFamily()) {
            return payload.front() == 0x02 && announce(payload, out);
        }
        switch (payload.front()) {
        case '@':
            return fileFamily() && open(payload, out);
        case 'D':
        case '6':
        case '8':
            return chunk(payload, out);
        case 'B':
            out.notify("C\0"_ba);
            complete();
            return true;
        case 'P':
            restart(out);
            return true;
        default:
            return false;
        }
    }

    bool receiveRaw(const QByteArray& bytes, std::uint32_t atMs, Responder& out) override {
        if (m_loader == Loader::Off) {
            return false;
        }
        if (m_loader == Loader::Records && !m_image.isEmpty() && m_pending.isEmpty() &&
            (atMs - m_lastRawAt > kLoaderIdleMs || bytes.startsWith(kFrameMarker))) {
            // The program is done and talks frames again: the firmware is complete.
            complete();
            m_loader = Loader::Finished;
        }
        if (m_loader == Loader::Finished) {
            // Restarting now, not at the last answer: that answer must still reach the program.
            restart(out);
            return true;
        }
        m_lastRawAt = atMs;
        out.raw(bytes); // the loader echoes every byte before it answers
        m_pending += bytes;
        switch (m_loader) {
        case Loader::AwaitUpdate:
            if (m_pending.contains(kUpdate)) {
                m_pending.clear();
                m_loader = Loader::Records;
                out.raw(QByteArray(1, kLoaderReady));
            }
            break;
        case Loader::Records:
            takeRecords(out);
            break;
        case Loader::Blocks:
            takeBlocks(out);
            break;
        case Loader::Off:
        case Loader::Finished:
            break;
        }
        return true;
    }

    void hostLost() override {
        m_loader = Loader::Off;
        m_pending.clear();
    }

private:
    enum class Loader { Off, AwaitUpdate, Records, Blocks, Finished };

    [[nodiscard]] bool loaderFamily() const { return m_options.hardware <= 99; }
    [[nodiscard]] bool fileFamily() const {
        return !loaderFamily() && (m_options.hardware < 300 || m_options.hardware == 515);
    }
    [[nodiscard]] bool extended() const {
        return m_options.hardware >= 401 && m_options.hardware != 515;
    }

    // " ReStarT": the frame comes back as an echo and the loader waits for "UPdate>".
    bool restartIntoLoader(const Request& request, Responder& out) {
        out.restart(0); // whatever the controller was sending stops short with its restart
        out.raw(FrameCodec::encode({request.kind, request.channel, request.payload}).value());
        m_image.clear();
        m_pending.clear();
        m_firmware = true;
        m_loader = Loader::AwaitUpdate;
        return true;
    }

    // 0x02 and the image's leading text: a profile or sound set follows in blocks.
    bool announce(const QByteArray& payload, Responder& out) {
        // The loader takes over the line: nothing else the controller was sending goes on.
        out.endSessions();
        const QByteArray text = payload.mid(1, payload.indexOf('\0', 1) - 1);
        m_image = text + '\0';
        m_dataStart = m_image.size();
        m_pending.clear();
        m_firmware = false;
        m_loader = Loader::Blocks;
        out.notify(QByteArray(1, 0x03) + LittleEndian(kLoaderBlock, 2) +
                   LittleEndian(m_options.capacity, 4));
        return true;
    }

    // Records: a big-endian length, then that many bytes; each is answered once complete.
    void takeRecords(Responder& out) {
        while (m_pending.size() >= 2) {
            const qsizetype length = 2 + qFromBigEndian<std::uint16_t>(m_pending.constData());
            if (m_pending.size() < length) {
                return;
            }
            m_image += m_pending.left(length);
            m_pending.remove(0, length);
            out.raw(QByteArray(1, kRecordTaken));
        }
    }

    // Blocks: a little-endian length, the data and its checksum; the empty block ends.
    void takeBlocks(Responder& out) {
        while (m_pending.size() >= 2 && m_loader == Loader::Blocks) {
            const qsizetype length = LittleEndianAt(m_pending, 0, 2);
            if (length == 0) {
                m_loader = Loader::Finished;
                out.raw(QByteArray(1, kWritten));
                complete();
                return;
            }
            if (m_pending.size() < length + 4) {
                return;
            }
            const QByteArray data = m_pending.mid(2, length);
            const bool intact = FrameCodec::checksum(data.constData(), length) ==
                                LittleEndianAt(m_pending, 2 + length, 2);
            m_pending.remove(0, length + 4);
            if (!intact || m_image.size() - m_dataStart + length > qsizetype(m_options.capacity)) {
                m_loader = Loader::Off;
                out.raw(QByteArray(1, kBlockRefused));
                return;
            }
            m_image += data;
            out.raw(QByteArray(1, kBlockTaken));
        }
    }

    // '@', the remote name, 0x00 0x0A: the file is created empty.
    bool open(const QByteArray& payload, Responder& out) {
        const QByteArray name = payload.mid(1, payload.indexOf('\0') - 1);
        m_fileType = name == "firmware_.enc"       ? kFirmwareType
                     : name == "profile.evc"       ? kProfileType
                     : name.startsWith("Sounds\\") ? kSoundsType
                                                   : char(0);
        m_image.clear();
        m_firmware = m_fileType == kFirmwareType;
        out.notify(m_fileType == 0 ? "A\x01\0"_ba : "A\0"_ba + m_fileType);
        return true;
    }

    // A chunk: command, file type, offset, data. The data lands at its offset when that leaves
    // no gap; an extended answer tells how much the controller now holds.
    bool chunk(const QByteArray& payload, Responder& out) {
        const bool plainCommand = payload.front() == 'D';
        if (payload.size() < 6 || plainCommand == extended() || (fileFamily() && m_fileType == 0)) {
            return false;
        }
        const char type = payload.at(1);
        const std::uint32_t offset = LittleEndianAt(payload, 2, 4);
        const QByteArray data = payload.mid(6);
        const auto held = static_cast<std::uint32_t>(m_image.size());
        if (extended() && payload.front() == '6' && data.isEmpty() && offset == held) {
            complete(); // the empty chunk at the end closes the file
            return true;
        }
        if (!fileFamily() && offset == 0) {
            m_image.clear(); // a bare chunk at 0 starts a new image
            m_firmware = extended() ? data.startsWith('\x02') : !data.startsWith(kSoundsMark);
        }
        char error = 0;
        if (offset > held || (fileFamily() && type != m_fileType)) {
            error = kGapError;
        } else if (m_options.badChunkPercent > 0 &&
                   static_cast<int>(m_random() % 100) < m_options.badChunkPercent) {
            error = kWriteError;
        } else {
            m_image.truncate(offset);
            m_image += data;
        }
        if (extended()) {
            out.notify(QByteArray(1, error == 0 ? '7' : 'E') + type +
                       LittleEndian(static_cast<std::uint32_t>(m_image.size()), 4) +
                       char(error == 0 ? 1 : 0));
        } else {
            out.notify(QByteArray(1, '7') + error);
        }
        return true;
    }

    // A complete image is kept, and written out when asked for.
    void complete() {
        if (m_options.savePath.isEmpty()) {
            return;
        }
        QSaveFile file(m_options.savePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(m_image) != m_image.size() ||
            !file.commit()) {
            std::fprintf(stderr, "talvik-emu: cannot write %s\n",
                         m_options.savePath.toLocal8Bit().constData());
        }
    }

    void restart(Responder& out) {
        m_newVersion = m_newVersion || (m_firmware && m_options.afterFirmwareVersion);
        m_pending.clear();
        out.restart(kRestartQuietMs);
    }

    Options m_options;
    std::mt19937 m_random;
    Loader m_loader = Loader::Off;
    QByteArray m_pending;
    QByteArray m_image;
    char m_fileType = 0;
    bool m_firmware = false;
    bool m_newVersion = false;
    std::uint32_t m_lastRawAt = 0;
    // Where the data of a loader profile or sound set starts, behind its leading text.
    qsizetype m_dataStart = 0;
};

std::unique_ptr<EmuModule> create(const QCommandLineParser& parser) {
    FlashModule::Options options;
    options.hardwareText = parser.value(u"hardware"_s);
    bool ok = false;
    options.hardware = options.hardwareText.toInt(&ok);
    if (!ok) {
        options.hardware = -1;
    }
    if (parser.isSet(u"after-firmware-version"_s)) {
        options.afterFirmwareVersion = parser.value(u"after-firmware-version"_s);
    }
    if (parser.isSet(u"bad-chunk-percent"_s)) {
        options.badChunkPercent = parser.value(u"bad-chunk-percent"_s).toInt(&ok);
        if (!ok || options.badChunkPercent < 0 || options.badChunkPercent > 100) {
            ModuleRegistry::refuse(u"--bad-chunk-percent takes a whole number from 0 to 100"_s);
        }
    }
    if (parser.isSet(u"capacity"_s)) {
        options.capacity = parser.value(u"capacity"_s).toUInt(&ok);
        if (!ok) {
            ModuleRegistry::refuse(u"--capacity takes a number of bytes"_s);
        }
    }
    options.savePath = parser.value(u"save-upload"_s);
    options.seed =
        parser.isSet(u"seed"_s) ? parser.value(u"seed"_s).toUInt() : std::random_device{}();
    return std::make_unique<FlashModule>(std::move(options));
}

// Named so that it sorts before the other modules: after new firmware its version reply is the
// new one, and a loader controller takes " ReStarT" as the start of a firmware upload.
[[maybe_unused]] const bool registered = ModuleRegistry::instance().add(
    {u"flash"_s,
     {{u"after-firmware-version"_s,
       u"Configuration version reported after a firmware upload (default: unchanged)."_s,
       u"text"_s},
      {u"bad-chunk-percent"_s,
       u"Answer <n> % of the upload chunks as not written, with the offset really held."_s, u"n"_s},
      {u"capacity"_s,
       u"Room for a profile or sound set that the loader announces (default 1048576)."_s,
       u"bytes"_s},
      {u"save-upload"_s, u"Write every complete uploaded image to <file>."_s, u"file"_s}},
     create});

} // namespace

} // namespace talvik::emu
