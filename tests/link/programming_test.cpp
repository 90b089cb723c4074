#include "com_port.h"
#include "cp1251.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "golden_frames.h"
#include "log_tail.h"
#include "test_dir.h"
#include "upload_image.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::link;
using namespace talvik::support;

namespace {

const QString kCancelled = u"Отменено пользователем."_s;

QByteArray Bytes(std::initializer_list<int> bytes) {
    QByteArray result;
    for (const int b : bytes) {
        result.append(static_cast<char>(b));
    }
    return result;
}

QByteArray Le32(std::uint32_t value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    return {bytes, 4};
}

QByteArray Frame(std::uint8_t kind, const QByteArray& payload) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(payload.constData());
    return FrameCodec::BuildFrame(kind, 5, {data, std::size_t(payload.size())}).value();
}

// A chunk frame as "command t<type> @<offset> +<data length>"; other payloads as their text.
QString Describe(const QByteArray& payload) {
    if (payload.size() >= 6 && QByteArrayView("68D").contains(payload.at(0))) {
        const auto offset = qFromLittleEndian<std::uint32_t>(payload.constData() + 2);
        return u"%1 t%2 @%3 +%4"_s.arg(QLatin1Char(payload.at(0)))
            .arg(int(payload.at(1)))
            .arg(offset)
            .arg(payload.size() - 6);
    }
    return QString::fromLatin1(payload.toPercentEncoding("@\\."));
}

// A link that records the programming events it raises.
class UploadPort final : public ComPort {
public:
    using ComPort::ComPort;
    QStringList events;
    int progress = -1;
    int progressMax = -1;
    std::function<void()> duringWait = [] {};

    void ShowStatus(const QString& text) override { events << u"status "_s + text; }
    void SetProgress(int position) override { progress = position; }
    void SetProgressMax(int maximum) override { progressMax = maximum; }
    void OnProgrammingEnd(const QString& text) override { events << u"end "_s + text; }
    void OnDeviceRestart() override { events << u"restart"_s; }
    void Wait(int milliseconds) override {
        events << u"wait %1"_s.arg(milliseconds);
        duringWait();
    }
    void OnPollDue() override { events << u"poll"_s; }
    void OnDisconnected() override { events << u"disconnected"_s; }
};

class ProgrammingTest : public testing::Test {
public:
    // A connected controller that reported the given hardware number.
    void Connect(int hardware) {
        Receive(QByteArray(reinterpret_cast<const char*>(golden::kAnnounceOk),
                           sizeof golden::kAnnounceOk));
        Receive(
            Frame(2, ' ' + Cp1251::fromUnicode(u"ver: Конфигурация 2.33 HV%1"_s.arg(hardware))));
        line->writes.clear();
        port->events.clear();
    }
    void Start(int hardware, UploadKind kind, const QByteArray& contents,
               const QString& name = u"upload.bin"_s) {
        Connect(hardware);
        dir.writeFile(name, contents);
        port->StartUpload(kind, dir.file(name));
    }
    void Receive(const QByteArray& bytes) {
        line->incoming += bytes;
        port->CheckReceive();
    }
    void Reply(const QByteArray& payload) { Receive(Frame(0, payload)); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            port->Tick();
        }
    }
    // Everything written since the last call: frame payloads described, raw writes as hex.
    QStringList Written() {
        QStringList written;
        for (const auto& write : std::exchange(line->writes, {})) {
            const QByteArray& b = write.bytes;
            written << (b.startsWith("\x02Tk\x02") ? Describe(b.mid(7, quint8(b.at(6))))
                                                   : QString::fromLatin1(b.toHex(' ')));
        }
        return written;
    }
    // Echoes what the loader was sent and answers with `answer`.
    void LoaderAnswers(char answer) {
        QByteArray echo;
        for (const auto& write : std::exchange(line->writes, {})) {
            echo += write.bytes;
        }
        Receive(echo + answer);
    }

    // Each brings a run into one mode.
    void EnterHandshake() { Start(50, UploadKind::Firmware, "0003AABBCC"); }
    void EnterSynchronised() {
        EnterHandshake();
        LoaderAnswers('w');
    }
    void EnterRecords() {
        EnterSynchronised();
        Ticks(4);
    }
    // A loader profile: the leading text "P", then three data bytes.
    void EnterAnnouncing() { Start(50, UploadKind::Profile, QByteArray("P\0\x01\x02\x03", 5)); }
    void EnterBlocks(std::uint32_t capacity = 1000) {
        EnterAnnouncing();
        Written();
        Reply(Bytes({0x03, 16, 0}) + Le32(capacity));
    }
    void EnterFinishing() {
        EnterBlocks();
        LoaderAnswers(0x01);
    }
    void EnterOpening() { Start(150, UploadKind::Firmware, QByteArray(100, 'f')); }
    void EnterChunks() { Start(450, UploadKind::Sounds, QByteArray(100, 's')); }

    LogTail log;
    TestDir dir;
    FakeClock clock{100000};
    WritePacing pacing;
    std::shared_ptr<FakeSerialLine::State> line = [] {
        auto state = std::make_shared<FakeSerialLine::State>();
        state->isOpen = true;
        return state;
    }();
    std::unique_ptr<UploadPort> port = std::make_unique<UploadPort>(
        std::make_unique<FakeSerialLine>(line), u"COM3"_s, u"USB Serial (COM3)"_s, clock, pacing);
};

const QByteArray kGoodExtended = Bytes({'7', 2, 0, 0, 0, 0, 1});

TEST_F(ProgrammingTest, CloseReplyAppliesAndRestarts) {
    Start(350, UploadKind::Profile, QByteArray(10, 'p'));
    Reply("7\0"_ba);
    Written();
    Reply("C\x05"_ba);
    EXPECT_EQ(Written(), QStringList({u"P"_s}));
    EXPECT_EQ(port->events, QStringList({u"end Прошивка завершена успешно"_s, u"restart"_s}));
    EXPECT_TRUE(log.Lines().contains("COM3:\tClose file reply:\t5"));
}

TEST_F(ProgrammingTest, ExtendedBadAnswerResumesAtTheControllersOffset) {
    Start(450, UploadKind::Sounds, QByteArray(200, 's'));
    Reply(kGoodExtended);
    Reply(Bytes({'E', 3, 32, 0, 0, 0, 9}));
    EXPECT_EQ(Written().last(), u"6 t3 @32 +64"_s);
    EXPECT_EQ(port->progress, 32);
    EXPECT_TRUE(log.Lines().contains("COM3:\tRecieved response E with error code 9"));
}

TEST_F(ProgrammingTest, FifthUnansweredChunkEndsWithWriteError) {
    EnterChunks();
    Ticks(14);
    EXPECT_EQ(Written().size(), 5);
    EXPECT_TRUE(port->events.isEmpty());
    Ticks(1);
    EXPECT_EQ(port->events, QStringList({u"end Ошибка записи файла"_s}));
}

struct OpenRow {
    const char* name;
    UploadKind kind;
    QString request;
};

class OpenRequestTest : public ProgrammingTest, public testing::WithParamInterface<OpenRow> {};

TEST_P(OpenRequestTest, NamesTheRemoteFile) {
    Start(150, GetParam().kind, "data", u"звук 1.psnd"_s);
    EXPECT_EQ(Written(), QStringList({GetParam().request}));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, OpenRequestTest,
    testing::Values(OpenRow{"firmware", UploadKind::Firmware, u"@firmware_.enc%00%0A"_s},
                    OpenRow{"profile", UploadKind::Profile, u"@profile.evc%00%0A"_s},
                    OpenRow{"sounds", UploadKind::Sounds,
                            u"@Sounds\\%E7%E2%F3%EA%201.psnd%00%0A"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgrammingTest, OpenAnswerGivesTheFileTypeOfTheChunks) {
    EnterOpening();
    Written();
    Reply("A\0\x07"_ba);
    EXPECT_EQ(Written(), QStringList({u"D t7 @0 +64"_s}));
}

TEST_F(ProgrammingTest, LoaderRecordNotTakenGoesAgain) {
    EnterRecords();
    LoaderAnswers(0x00);
    EXPECT_EQ(Written(), QStringList({u"00 03 aa bb cc"_s}));
}

TEST_F(ProgrammingTest, SilentLoaderGetsRestartEverySecondAndUpdateEveryTick) {
    EnterHandshake();
    EXPECT_EQ(Written(), QStringList({u"%20ReStarT%00"_s}));
    Ticks(10);
    const QStringList written = Written();
    EXPECT_EQ(written.count(u"%20ReStarT%00"_s), 1);
    EXPECT_EQ(written.count(u"55 50 64 61 74 65 3e 00"_s), 10);
    EXPECT_EQ(port->progress, 10);
}

TEST_F(ProgrammingTest, HandshakeAnswerOtherThanReadyLooksAtTheNextByte) {
    EnterHandshake();
    LoaderAnswers('?');
    Receive("w");
    EXPECT_EQ(port->events.last(), u"status Заливка данных"_s);
}

struct ChecksumRow {
    const char* name;
    char byte;
    QString block;
};

class BlockChecksumTest : public ProgrammingTest,
                          public testing::WithParamInterface<ChecksumRow> {};

TEST_P(BlockChecksumTest, TrailsTheBlock) {
    Start(50, UploadKind::Sounds, QByteArray(1, GetParam().byte));
    Written();
    Reply(Bytes({0x03, 16, 0}) + Le32(1000));
    EXPECT_EQ(Written(), QStringList({GetParam().block}));
}

INSTANTIATE_TEST_SUITE_P(Bytes, BlockChecksumTest,
                         testing::Values(ChecksumRow{"zero", 0x00, u"01 00 00 ff 00"_s},
                                         ChecksumRow{"one", 0x01, u"01 00 01 fe 01"_s}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgrammingTest, StillWritingThenWrittenEndsWithSuccess) {
    EnterFinishing();
    LoaderAnswers(0x03);
    Receive("\x02");
    EXPECT_EQ(port->events.mid(2), QStringList({u"wait 3000"_s, u"wait 3000"_s,
                                                u"end Программирование завершено успешно."_s}));
}

TEST_F(ProgrammingTest, BytesArrivingDuringTheFinishingPauseWaitForIt) {
    EnterFinishing();
    qsizetype unread = 0;
    bool first = true;
    port->duringWait = [&] {
        if (std::exchange(first, false)) {
            Receive("\x02");
            unread = line->incoming.size();
        }
    };
    LoaderAnswers(0x03);
    EXPECT_EQ(unread, 1);
    EXPECT_EQ(port->events.count(u"end Программирование завершено успешно."_s), 0);
    port->CheckReceive();
    EXPECT_EQ(port->events.last(), u"end Программирование завершено успешно."_s);
}

TEST_F(ProgrammingTest, CancelDuringTheFinishingPauseEndsOnce) {
    EnterFinishing();
    port->duringWait = [&] { port->CancelUpload(kCancelled); };
    LoaderAnswers(0x02);
    EXPECT_EQ(port->events.filter(u"end "_s), QStringList({u"end "_s + kCancelled}));
}

struct EndRow {
    const char* name;
    std::function<void(ProgrammingTest&)> run;
    QString text;
};

class ResultTextTest : public ProgrammingTest, public testing::WithParamInterface<EndRow> {};

TEST_P(ResultTextTest, EndsTheRun) {
    GetParam().run(*this);
    EXPECT_EQ(port->events.filter(u"end "_s), QStringList({u"end "_s + GetParam().text}));
    EXPECT_EQ(port->Mode(), 0);
}

using T = ProgrammingTest;
INSTANTIATE_TEST_SUITE_P(
    Endings, ResultTextTest,
    testing::Values(
        EndRow{"records_silent_2s", [](T& t) { t.EnterRecords(), t.Ticks(20); },
               u"ОШИБКА. Нет ответа."_s},
        EndRow{"announcement_silent_1s", [](T& t) { t.EnterAnnouncing(), t.Ticks(10); },
               u"ОШИБКА. Нет ответа."_s},
        EndRow{"blocks_silent_300ms", [](T& t) { t.EnterBlocks(), t.Ticks(3); },
               u"ОШИБКА. Нет ответа."_s},
        EndRow{"finishing_silent_1s", [](T& t) { t.EnterFinishing(), t.Ticks(10); },
               u"ОШИБКА. Нет ответа."_s},
        EndRow{"open_silent_300ms", [](T& t) { t.EnterOpening(), t.Ticks(3); },
               u"ОШИБКА открытия файла"_s},
        EndRow{"open_refused", [](T& t) { t.EnterOpening(), t.Reply("A\x01"_ba); },
               u"Ошибка открытия файла"_s},
        EndRow{"capacity_too_small", [](T& t) { t.EnterBlocks(2); }, u"Файл слишком большой"_s},
        EndRow{"block_refused", [](T& t) { t.EnterBlocks(), t.LoaderAnswers(0x00); },
               u"ОШИБКА. Не завершено."_s},
        EndRow{"finishing_refused", [](T& t) { t.EnterFinishing(), t.LoaderAnswers(0x07); },
               u"ОШИБКА. Не завершено."_s},
        EndRow{"file_missing",
               [](T& t) { t.port->StartUpload(UploadKind::Firmware, u"missing.enc"_s); },
               u"Файл не найден."_s}),
    [](const auto& info) { return std::string(info.param.name); });

struct ModeRow {
    const char* name;
    std::function<void(ProgrammingTest&)> enter;
    int mode;
};

class CancelModeTest : public ProgrammingTest, public testing::WithParamInterface<ModeRow> {};

TEST_P(CancelModeTest, EndsWithTheGivenText) {
    GetParam().enter(*this);
    ASSERT_EQ(port->Mode(), GetParam().mode);
    port->events.clear();
    port->CancelUpload(kCancelled);
    EXPECT_EQ(port->events, QStringList({u"end "_s + kCancelled}));
    EXPECT_EQ(port->Mode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, CancelModeTest,
                         testing::Values(ModeRow{"handshake", [](T& t) { t.EnterHandshake(); }, 1},
                                         ModeRow{"chunks", [](T& t) { t.EnterChunks(); }, 11}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgrammingTest, CancelWithoutARunChangesNothing) {
    Connect(450);
    port->CancelUpload(kCancelled);
    EXPECT_TRUE(port->events.isEmpty());
}

TEST_F(ProgrammingTest, RunSuspendsPollingKeepAliveAndQueue) {
    EnterHandshake();
    port->SendCommand(u" ver"_s, SendFlag::AwaitReply);
    Ticks(70);
    const QStringList written = Written();
    EXPECT_EQ(written.filter(u"ver"_s).size(), 0);
    EXPECT_EQ(written.count(u"%00"_s), 0); // keep-alive
    EXPECT_EQ(port->events.filter(u"poll"_s).size(), 0);
    EXPECT_EQ(port->events.filter(u"disconnected"_s).size(), 0);
}

TEST_F(ProgrammingTest, QueueClearedAtStart) {
    Connect(450);
    port->SendCommand(u" ver"_s, SendFlag::AwaitReply);
    port->SendCommand(u" #S0?"_s, SendFlag::AwaitReply);
    dir.writeFile(u"f.psnd"_s, "abc");
    port->StartUpload(UploadKind::Sounds, dir.file(u"f.psnd"_s));
    EXPECT_EQ(port->QueueSize(), 0u);
}

TEST_F(ProgrammingTest, AfterTheRunPollingAndKeepAliveResume) {
    EnterChunks();
    port->CancelUpload(kCancelled);
    Written();
    Ticks(10);
    EXPECT_EQ(port->events.count(u"poll"_s), 1);
    EXPECT_EQ(Written().count(u"%00"_s), 1);
}

TEST_F(ProgrammingTest, AfterTheRunASilentLinkIsLostWithin12Ticks) {
    EnterChunks();
    port->CancelUpload(kCancelled);
    Ticks(11);
    EXPECT_EQ(port->events.count(u"disconnected"_s), 0);
    Ticks(1);
    EXPECT_EQ(port->events.count(u"disconnected"_s), 1);
}

TEST_F(ProgrammingTest, ReplyOfTheProgrammingKindOutsideARunIsARawFrame) {
    Connect(350);
    Reply("C\0"_ba);
    EXPECT_TRUE(Written().isEmpty());
    EXPECT_TRUE(port->events.isEmpty());
}

struct ImageRow {
    const char* name;
    int hardware;
    UploadKind kind;
    QByteArray file;
    QByteArray image;
    int fileType;
};

class UploadImageTest : public testing::TestWithParam<ImageRow> {};

TEST_P(UploadImageTest, PreparesTheBytesOfTheRun) {
    const UploadImage image =
        UploadImage::Prepare(GetParam().kind, GetParam().hardware, GetParam().file);
    EXPECT_EQ(image.data.toHex(' '), GetParam().image.toHex(' '));
    EXPECT_EQ(image.fileType, GetParam().fileType);
}

INSTANTIATE_TEST_SUITE_P(
    Families, UploadImageTest,
    testing::Values(
        ImageRow{"loader_firmware_lowercase_odd", 50, UploadKind::Firmware, "0a0bc",
                 Bytes({0x0A, 0x0B}), 0},
        ImageRow{"loader_firmware_spaces_skipped", 50, UploadKind::Firmware, " A0B\n",
                 Bytes({0xA0, 0x0B}), 0},
        ImageRow{"hardware_100_as_file", 100, UploadKind::Firmware, "0A0B", "0A0B", 0},
        ImageRow{"file_firmware_unchanged", 299, UploadKind::Firmware, "0A0B", "0A0B", 0},
        ImageRow{"chunk_300_firmware_hex", 300, UploadKind::Firmware, "0A0B", Bytes({0x0A, 0x0B}),
                 0},
        ImageRow{"chunk_400_sounds_mark", 400, UploadKind::Sounds, "", QByteArray("psnd\0", 5), 0},
        ImageRow{"extended_sounds", 401, UploadKind::Sounds, "12345", "12345", 3},
        ImageRow{"extended_firmware_typed", 450, UploadKind::Firmware, "AB",
                 Bytes({2, 2, 0, 0, 0, 'A', 'B'}), 2},
        ImageRow{"extended_profile_typed", 450, UploadKind::Profile, "AB",
                 Bytes({1, 2, 0, 0, 0, 'A', 'B'}), 2},
        ImageRow{"file_515_unchanged", 515, UploadKind::Firmware, "0A0B", "0A0B", 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
