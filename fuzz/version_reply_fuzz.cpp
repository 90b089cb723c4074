// Feeds arbitrary version replies to the command channel and takes what it read from them as the
// window does: nothing may crash, a version is announced only for a reply that names the
// configuration, the version holds only digits and points, and the hardware number chooses a
// known device type or none.
#include "com_port.h"
#include "compare_versions.h"
#include "cp1251.h"
#include "device_type_for_hardware.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "quiet_log.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace talvik::link;
using namespace talvik::support;

namespace {

constexpr std::uint8_t kAnnouncement[] = {0x02, 0x54, 0x6B, 0x02, 0x00, 0x05,
                                          0x03, 0x01, 0x4F, 0x4B, 0x57, 0xA8};
// Room for the reply text in one frame, behind the reply mark and before the NUL.
constexpr std::size_t kTextRoom = 240;

class VersionPort final : public ComPort {
public:
    using ComPort::ComPort;
    int versions = 0;
    void OnVersion(const QString&) override { ++versions; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte chooses which of the two reply openings the text gets.
    const QByteArray opening =
        Cp1251::fromUnicode((data[0] & 1) != 0 ? QStringLiteral("Версия") : QStringLiteral("ver:"));
    const std::size_t textSize =
        std::min(size - 1, kTextRoom - static_cast<std::size_t>(opening.size()));
    QByteArray text = opening;
    text.append(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(textSize));

    auto line = std::make_shared<FakeSerialLine::State>();
    line->isOpen = true;
    FakeClock clock(1000);
    WritePacing pacing;
    VersionPort port(std::make_unique<FakeSerialLine>(line), QStringLiteral("COM1"), {}, clock,
                     pacing);
    line->incoming = QByteArray(reinterpret_cast<const char*>(kAnnouncement), sizeof kAnnouncement);
    port.CheckReceive();

    std::vector<std::uint8_t> payload{' '};
    payload.insert(payload.end(), text.begin(), text.end());
    payload.push_back(0);
    line->incoming = FrameCodec::BuildFrame(2, 5, payload).value_or(QByteArray());
    port.CheckReceive();

    // The reply as the channel decodes it: up to the first NUL.
    const qsizetype end = text.indexOf('\0');
    const QString reply = Cp1251::toUnicode(end < 0 ? text : text.first(end));
    const bool named = reply.contains(QStringLiteral("Конфигурация"));
    if (port.versions != (named ? 1 : 0)) {
        std::abort();
    }
    for (const QChar c : port.VersionText()) {
        if (!c.isDigit() && c != u'.') {
            std::abort();
        }
    }
    if (port.HardwareNumber() < -1) {
        std::abort();
    }
    const int type = DeviceTypeForHardware(QString::number(port.HardwareNumber()));
    if (type < 0 || type > 5) {
        std::abort();
    }
    static_cast<void>(CompareVersions(port.VersionText(), u"1.45"));
    return 0;
}
