// Runs an upload against arbitrary controller bytes: the first bytes choose the controller and
// the file, the rest arrives in pieces with clock ticks between them. Nothing may crash, and a
// cancel always brings the link back to normal operation.
#include "com_port.h"
#include "cp1251.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "quiet_log.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using namespace talvik::link;
using namespace talvik::support;

namespace {
constexpr int kHardware[] = {50, 100, 150, 350, 450, 515};
constexpr std::uint8_t kAnnouncement[] = {0x02, 0x54, 0x6B, 0x02, 0x00, 0x05,
                                          0x03, 0x01, 0x4F, 0x4B, 0x57, 0xA8};
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QuietLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("upload"));
    const std::size_t fileSize = std::min<std::size_t>(data[2], size - 3);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return 0;
    }
    file.write(reinterpret_cast<const char*>(data + 3), static_cast<qint64>(fileSize));
    file.close();

    auto line = std::make_shared<FakeSerialLine::State>();
    line->isOpen = true;
    FakeClock clock(1000);
    WritePacing pacing;
    ComPort port(std::make_unique<FakeSerialLine>(line), QStringLiteral("COM1"), {}, clock, pacing);
    line->incoming = QByteArray(reinterpret_cast<const char*>(kAnnouncement), sizeof kAnnouncement);
    port.CheckReceive();
    const int hardware = kHardware[data[0] % std::size(kHardware)];
    const QByteArray version =
        Cp1251::fromUnicode(QStringLiteral(" ver: Конфигурация 1.0 HV%1").arg(hardware));
    std::vector<std::uint8_t> payload(version.begin(), version.end());
    payload.push_back(0);
    line->incoming = FrameCodec::BuildFrame(2, 5, payload).value_or(QByteArray());
    port.CheckReceive();

    port.StartUpload(static_cast<UploadKind>(data[1] % 3), path);
    std::span<const std::uint8_t> rest(data + 3 + fileSize, size - 3 - fileSize);
    while (!rest.empty()) {
        const std::size_t piece = std::min<std::size_t>(1 + rest.front() % 64, rest.size());
        line->incoming.append(reinterpret_cast<const char*>(rest.data()),
                              static_cast<qsizetype>(piece));
        port.CheckReceive();
        port.Tick();
        rest = rest.subspan(piece);
    }
    port.CancelUpload(QStringLiteral("cancel"));
    if (port.Mode() != 0) {
        std::abort();
    }
    return 0;
}
