#include "cp1251.h"
#include "emu_harness.h"
#include "test_dir.h"

#include <QtEndian>

using namespace Qt::StringLiterals;
using namespace talvik::emu;
using namespace talvik::support;

namespace {

QByteArray Le32(std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    return {bytes, 4};
}

QByteArray Chunk(char command, char type, std::uint32_t offset, const QByteArray& data) {
    return command + QByteArray(1, type) + Le32(offset) + data;
}

// The controller on a fake line, talking to the test in frames and raw bytes.
class EmuFlash : public testing::Test {
public:
    void Start(const QStringList& arguments) {
        emu = std::make_unique<EmuHarness>(arguments + QStringList{u"--save-upload"_s, saved});
    }
    // A programming frame on channel 1; returns the payloads of the answer frames.
    QByteArrayList Send(const QByteArray& payload) {
        QByteArrayList payloads;
        for (const Frame& frame : emu->feed(*FrameCodec::encode({0, 1, payload}))) {
            payloads << frame.payload;
        }
        return payloads;
    }
    // Raw bytes; returns what the line gives back within a second.
    QByteArray Raw(const QByteArray& bytes) {
        emu->core.receive(bytes, 115200);
        emu->clock.advance(1000);
        return emu->core.takeOutput();
    }

    TestDir dir;
    QString saved = dir.file(u"image.bin"_s);
    std::unique_ptr<EmuHarness> emu;
};

// Whole uploads of every family run end to end through the window; here only the refusals it
// never provokes and the restart that follows an applied image.
TEST_F(EmuFlash, ExtendedChunkBeyondTheHeldDataIsRefusedWithTheHeldOffset) {
    Start({u"--hardware"_s, u"450"_s});
    Send(Chunk('6', 2, 0, QByteArray(64, 'a')));
    EXPECT_EQ(Send(Chunk('6', 2, 192, QByteArray(64, 'a'))),
              QByteArrayList({"E\x02"_ba + Le32(64) + '\0'}));
}

TEST_F(EmuFlash, ApplyRestartsDeafThenWithTheNewVersion) {
    Start({u"--hardware"_s, u"450"_s, u"--after-firmware-version"_s, u"2.40"_s});
    Send(Chunk('8', 2, 0, "\x02\x01\0\0\0x"_ba));
    Send(Chunk('6', 2, 6, {}));
    Send("P");
    EXPECT_EQ(emu->ask("ver"), "<0 frames>");
    emu->clock.advance(3000);
    EXPECT_TRUE(Cp1251::toUnicode(emu->ask("ver")).contains(u"Конфигурация: 2.40 HV: 450"_s));
}

TEST_F(EmuFlash, FileFamilyChunkOfAnotherTypeIsRefused) {
    Start({u"--hardware"_s, u"150"_s});
    Send("@firmware_.enc\0\n"_ba);
    EXPECT_EQ(Send(Chunk('D', 3, 0, "xyz")), QByteArrayList({"7\x01"_ba}));
}

TEST_F(EmuFlash, LoaderBlockWithAWrongChecksumIsRefused) {
    Start({u"--hardware"_s, u"50"_s});
    Send("\x02psnd\0"_ba);
    EXPECT_EQ(Raw("\x01\0\0\0\0"_ba), "\x01\0\0\0\0\0"_ba);
}

} // namespace
