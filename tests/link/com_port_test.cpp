#include "com_port.h"
#include "cp1251.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "golden_frames.h"
#include "log_tail.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

template <std::size_t N> QByteArray Bytes(const std::uint8_t (&bytes)[N]) {
    return QByteArray(reinterpret_cast<const char*>(bytes), N);
}

QByteArray Frame(std::uint8_t kind, std::uint8_t channel, const QByteArray& payload) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(payload.constData());
    return FrameCodec::BuildFrame(kind, channel, {data, static_cast<std::size_t>(payload.size())})
        .value();
}

// A device text frame: kind, channel 5, a space and the text in Windows-1251.
QByteArray Text(std::uint8_t kind, const QString& text) {
    return Frame(kind, 5, ' ' + Cp1251::fromUnicode(text));
}

// A channel that writes down the events it raises.
class RecordingPort final : public ComPort {
public:
    using ComPort::ComPort;

    QStringList events;
    int commandsSent = 0;

    void ShowStatus(const QString& text) override { events << u"ShowStatus "_s + text; }
    void OnReply(const QString& text) override { events << u"OnReply "_s + text; }
    void OnRawFrame(std::span<const std::uint8_t> payload) override {
        events << u"OnRawFrame %1"_s.arg(payload.size());
    }
    void OnText(const QString& text) override { events << u"OnText "_s + text; }
    void OnConnected(const QString& text) override { events << u"OnConnected "_s + text; }
    void OnDisconnected() override { events << u"OnDisconnected"_s; }
    void OnNoReply() override { events << u"OnNoReply "_s + QString::fromLatin1(Current()); }
    void OnCommandSent() override { ++commandsSent; }
    void OnPollDue() override { events << u"OnPollDue"_s; }
    void OnQueueEnd() override { events << u"OnQueueEnd"_s; }
    void OnVersion(const QString& text) override { events << u"OnVersion "_s + text; }
};

class ComPortTest : public testing::Test {
protected:
    ComPortTest() { Open(); }

    void Open() {
        line->isOpen = true;
        port = std::make_unique<RecordingPort>(std::make_unique<FakeSerialLine>(line), u"COM3"_s,
                                               u"USB Serial (COM3)"_s, clock, pacing);
    }

    void Receive(const QByteArray& bytes) {
        line->incoming += bytes;
        port->CheckReceive();
    }
    void Connect() {
        Receive(Bytes(golden::kAnnounceOk));
        port->events.clear();
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            port->Tick();
        }
    }
    // The command texts of the written frames (payload without its NUL).
    [[nodiscard]] QByteArrayList Sent() const {
        QByteArrayList texts;
        for (const auto& write : line->writes) {
            texts << write.bytes.mid(7, static_cast<quint8>(write.bytes.at(6)) - 1);
        }
        return texts;
    }

    LogTail log;
    FakeClock clock{100000};
    WritePacing pacing;
    std::shared_ptr<FakeSerialLine::State> line = std::make_shared<FakeSerialLine::State>();
    std::unique_ptr<RecordingPort> port;
};

TEST_F(ComPortTest, ConfiguresTheLineAndLogsItsLife) {
    EXPECT_EQ(line->baud, 115200u);
    EXPECT_EQ(line->stopBits, 2);
    EXPECT_EQ(line->inputQueue, 8192u);
    port->SetSpeed(9600);
    port->Reopen();
    EXPECT_EQ(line->portName, u"COM3"_s);
    EXPECT_EQ(line->baud, 9600u) << "a reopened line keeps the current speed";
    port.reset();
    EXPECT_FALSE(line->isOpen);
    EXPECT_EQ(log.Lines(), QByteArrayList({"COM3:\topened", "COM3:\tSetting speed:\t9600",
                                           "COM3:\treopened", "COM3:\tclosed"}));
}

TEST_F(ComPortTest, LineFailuresAreLoggedAndIgnored) {
    port.reset();
    const LogTail failures;
    line->failSettings = true;
    line->failClose = true;
    line->error = 10;
    Open();
    port->SetSpeed(9600);
    EXPECT_EQ(port->Baud(), 9600u);
    port.reset();
    EXPECT_EQ(failures.Lines(),
              QByteArrayList({"COM3:\tError: SetCommState - 10", "COM3:\topened",
                              "COM3:\tError: SetCommState - 10", "COM3:\tSetting speed:\t9600",
                              "COM3:\tError: CloseHandle handle - 10", "COM3:\tclosed"}));
}

TEST_F(ComPortTest, WritesGoldenFramesOfAtMost255PayloadBytes) {
    Connect();
    port->SendText({}, 1);
    port->SendCommand(u" ver"_s, 2);
    Receive(Bytes(golden::kReplyOk));
    port->SendCommand(u" #S63=1"_s, 3);
    // 254 characters and the NUL fill the payload; a longer command cannot be framed.
    port->SendCommand(QString(254, u'a'), 1);
    port->SendCommand(QString(255, u'b'), 1);
    ASSERT_EQ(line->writes.size(), 4);
    EXPECT_EQ(line->writes[0].bytes, Bytes(golden::kKeepAlive));
    EXPECT_EQ(line->writes[1].bytes, Bytes(golden::kVerCommand));
    EXPECT_EQ(line->writes[2].bytes, Bytes(golden::kStatusPollCommand));
    EXPECT_EQ(line->writes[3].bytes.size(), 255 + 9);
    EXPECT_EQ(static_cast<quint8>(line->writes[3].bytes.at(6)), 255);
}

TEST_F(ComPortTest, SpeedHuntingAlternatesUntilTheDeviceAnnouncesItself) {
    for (int i = 0; i < 3; ++i) {
        port->SendText({}, 1);
    }
    Ticks(100);
    EXPECT_EQ(line->writes.size(), 3) << "nothing ticks before the announcement";
    Receive(Bytes(golden::kAnnounceOk));
    EXPECT_EQ(port->events, QStringList({u"OnConnected OK"_s}));
    Receive(Bytes(golden::kAnnounceOk));
    EXPECT_EQ(port->events.size(), 1) << "a second announcement is only logged";
    port->SendText({}, 1);
    ASSERT_EQ(line->writes.size(), 4);
    EXPECT_EQ(line->writes[0].baud, 9600u);
    EXPECT_EQ(line->writes[1].baud, 115200u);
    EXPECT_EQ(line->writes[2].baud, 9600u);
    EXPECT_EQ(line->writes[3].baud, 9600u);
    EXPECT_TRUE(port->Connected());
    EXPECT_FALSE(port->SpeedHunting());
    EXPECT_EQ(log.Count("COM3:\tConnected with speed:\t9600"), 1);
    EXPECT_EQ(log.Count("COM3:\tSetting speed:\t115200"), 1);
    EXPECT_EQ(log.Count("COM3:\t ---> (0): OK"), 2);
}

TEST_F(ComPortTest, GarbageBrokenMarkersLowChannelsAndBadChecksumsAreSkipped) {
    Connect();
    port->SendCommand(u" a"_s, 2);
    QByteArray bad = Text(2, u"x"_s);
    bad[bad.size() - 1] = static_cast<char>(bad.at(bad.size() - 1) ^ 0x40);
    Receive("noise\x02Tz\x02" + Frame(2, 3, " y") + Frame(2, 4, " z") + bad + "\x02\x02");
    EXPECT_TRUE(port->events.isEmpty());
    EXPECT_EQ(port->Current(), " a");
    EXPECT_EQ(log.Count("COM3:\tBAD CRC !"), 1);
    // The trailing 0x02 pair was kept; the second one starts the next frame's marker.
    Receive(Bytes(golden::kReplyOk).mid(1));
    EXPECT_EQ(port->events, QStringList({u"OnReply OK"_s}));
    EXPECT_TRUE(port->Current().isEmpty());
}

TEST_F(ComPortTest, TextRepliesAreRoutedByKind) {
    struct Case {
        std::uint8_t kind;
        QString text;
        QStringList events;
        bool endsWait;
    };
    const QList<Case> cases = {
        {0, u"hello"_s, {u"OnText hello"_s, u"OnReply hello"_s}, false},
        {0, u"#S0:1"_s, {u"OnReply #S0:1"_s}, false},
        {1, u"#S0:1"_s, {u"OnText #S0:1"_s, u"OnReply #S0:1"_s}, false},
        {2, u"#S0:1"_s, {u"OnReply #S0:1"_s}, true},
        {2, u"привет"_s, {u"OnReply привет"_s}, true},
    };
    Connect();
    for (const Case& c : cases) {
        port->SendCommand(u" q"_s, 2);
        port->events.clear();
        Receive(Text(c.kind, c.text));
        EXPECT_EQ(port->events, c.events) << c.text.toStdString();
        EXPECT_EQ(port->Current().isEmpty(), c.endsWait) << c.text.toStdString();
        if (c.endsWait) {
            EXPECT_EQ(port->LastCommand(), " q");
        } else {
            Receive(Text(2, u"ok"_s));
        }
    }
}

TEST_F(ComPortTest, VersionRepliesSetVersionAndHardwareNumber) {
    struct Case {
        QString text;
        QString version;
        int hardware;
        bool raised;
    };
    const QList<Case> cases = {
        {u"ver: Конфигурация 2.19 HV 412 SN 7"_s, u"2.19"_s, 412, true},
        {u"Версия ПО 5.0, Конфигурация v1.67.3, HV515"_s, u"1.67.3"_s, 515, true},
        {u"ver: Конфигурация 1.45"_s, u"1.45"_s, -1, true},
        {u"ver: 3.1 HV 406"_s, QString(), -1, false},
    };
    for (const Case& c : cases) {
        auto state = std::make_shared<FakeSerialLine::State>();
        RecordingPort device(std::make_unique<FakeSerialLine>(state), u"COM5"_s, {}, clock, pacing);
        state->incoming = Text(2, c.text);
        device.CheckReceive();
        EXPECT_EQ(device.VersionText(), c.version) << c.text.toStdString();
        EXPECT_EQ(device.HardwareNumber(), c.hardware) << c.text.toStdString();
        EXPECT_EQ(device.events, c.raised ? QStringList{u"OnVersion "_s + c.text} : QStringList{})
            << c.text.toStdString();
    }
}

TEST_F(ComPortTest, UnansweredCommandIsWrittenThreeTimesThenGivenUp) {
    Connect();
    port->SendCommand(u" a"_s, 2);
    port->SendCommand(u" b"_s, 2);
    clock.advance(4000);
    port->Pump();
    EXPECT_EQ(Sent(), QByteArrayList({" a"})) << "4000 ms is not yet a time-out";
    clock.set(50); // the tick counter wrapped: the send time is pulled down to now
    port->Pump();
    EXPECT_EQ(Sent().size(), 1);
    for (int attempt = 2; attempt <= 3; ++attempt) {
        clock.advance(4001);
        port->Pump();
        EXPECT_EQ(Sent().size(), attempt);
    }
    EXPECT_TRUE(port->events.isEmpty());
    clock.advance(4001);
    port->Pump();
    EXPECT_EQ(port->events, QStringList({u"OnNoReply  a"_s}));
    EXPECT_EQ(Sent(), QByteArrayList({" a", " a", " a", " b"}));
    EXPECT_EQ(port->Current(), " b");
}

TEST_F(ComPortTest, QueueEndComesAfterEverythingAheadOfIt) {
    Connect();
    port->SendCommand(u" a"_s, 2);
    port->SendCommand(u" b"_s, 2);
    port->SendCommand(u"end"_s, 1);
    port->SendCommand(u"end clr"_s, 1);
    EXPECT_EQ(Sent(), QByteArrayList({" a"})) << "the queue waits for the reply";
    Receive(Text(2, u"A"_s));
    clock.advance(4001);
    port->Pump();
    EXPECT_FALSE(port->events.contains(u"OnQueueEnd"_s));
    Receive(Text(2, u"B"_s));
    EXPECT_EQ(port->events, QStringList({u"OnReply A"_s, u"OnReply B"_s, u"OnQueueEnd"_s,
                                         u"ShowStatus Инициализация прошла успешно"_s}));
    EXPECT_EQ(Sent(), QByteArrayList({" a", " b", " b"}));
    EXPECT_EQ(port->commandsSent, 5) << "every entry taken from the queue counts, retries too";
    EXPECT_EQ(port->QueueSize(), 0u);
}

TEST_F(ComPortTest, KeepAliveAfterTenQuietTicksAndReopenWhenUnanswered) {
    Connect();
    Ticks(9);
    EXPECT_TRUE(line->writes.isEmpty());
    Ticks(1);
    ASSERT_EQ(line->writes.size(), 1);
    EXPECT_EQ(line->writes[0].bytes, Bytes(golden::kKeepAlive));
    EXPECT_EQ(port->Current(), "ka");
    EXPECT_EQ(line->opens, 0);
    Ticks(10);
    EXPECT_EQ(line->opens, 1);
    EXPECT_EQ(line->writes.size(), 2);
    EXPECT_EQ(log.Count("COM3:\treopened"), 1);
    EXPECT_EQ(log.Count("COM3:\tSend KA"), 2);
    // Any frame on a device channel answers the keep-alive, even an empty one (9 bytes).
    Receive(Bytes(golden::kEmptyFrame));
    EXPECT_TRUE(port->Current().isEmpty());
    EXPECT_EQ(port->events.last(), u"OnRawFrame 0"_s);
    EXPECT_EQ(port->KeepAliveCountdown(), 10);
    Ticks(9);
    EXPECT_EQ(line->writes.size(), 2);
}

TEST_F(ComPortTest, LinkIsLostAfterSixtyTicksWithoutADeviceFrame) {
    Connect();
    Ticks(59);
    Receive(Bytes(golden::kEmptyFrame));
    Ticks(30);
    Receive(Frame(0, 4, " low channel"));
    Ticks(29);
    EXPECT_TRUE(port->events.filter(u"OnDisconnected"_s).isEmpty());
    Ticks(1);
    EXPECT_TRUE(port->events.contains(u"OnDisconnected"_s));
    EXPECT_FALSE(port->Connected());
    EXPECT_TRUE(port->SpeedHunting());
    const qsizetype writes = line->writes.size();
    Ticks(100);
    EXPECT_EQ(line->writes.size(), writes) << "a lost port does not tick";
}

TEST_F(ComPortTest, PollIsDueEveryTenTicksWhileTheQueueIsEmpty) {
    Connect();
    Ticks(10);
    EXPECT_EQ(port->events.count(u"OnPollDue"_s), 1);
    port->SendCommand(u" a"_s, 2);
    port->SendCommand(u" b"_s, 2);
    Ticks(10);
    EXPECT_EQ(port->events.count(u"OnPollDue"_s), 1);
}

class PacingTest : public ComPortTest {};

TEST_F(PacingTest, GapIsLineTimeAtTenBitsAByteAndTenMilliseconds) {
    struct Case {
        std::uint32_t baud;
        std::size_t length;
        std::uint32_t gap;
    };
    const QList<Case> cases = {
        {115200, 10, 10}, {115200, 264, 32}, {9600, 14, 24}, {9600, 264, 285}, {0, 10, 11}};
    Connect();
    const std::uint8_t bytes[264] = {};
    port->WritePaced({bytes, 1});
    for (const Case& c : cases) {
        clock.advance(1000);
        port->SetSpeed(c.baud);
        port->WritePaced({bytes, c.length});
        const std::uint32_t before = clock.tickMs();
        port->WritePaced({bytes, 1});
        EXPECT_EQ(clock.tickMs() - before, c.gap) << c.baud << " " << c.length;
        EXPECT_EQ(log.Count("COM3:\tSleep before send:\t" + QByteArray::number(c.gap)), 1);
    }
}

TEST_F(PacingTest, FirstWriteWaits15AndTheGapIsSharedByAllPortsAcrossATickWrap) {
    auto state = std::make_shared<FakeSerialLine::State>();
    RecordingPort other(std::make_unique<FakeSerialLine>(state), u"COM9"_s, {}, clock, pacing);
    const std::uint8_t bytes[100] = {};
    port->WritePaced({bytes, 1});
    EXPECT_EQ(log.Count("COM3:\tSleep before send:\t15"), 1);
    clock.advance(11);
    const std::uint32_t before = clock.tickMs();
    other.WritePaced({bytes, 1});
    EXPECT_EQ(clock.tickMs(), before) << "the 10 ms gap has passed";
    clock.advance(9);
    other.WritePaced({bytes, 100});
    EXPECT_EQ(clock.tickMs(), before + 10) << "1 ms more, too short to be logged";
    clock.set(20);
    port->WritePaced({bytes, 1});
    EXPECT_EQ(clock.tickMs(), 38u) << "100 bytes at 115200 need 8 + 10 ms";
    QByteArrayList sleeps;
    for (const QByteArray& logLine : log.Lines()) {
        if (logLine.contains("Sleep")) {
            sleeps << logLine;
        }
    }
    EXPECT_EQ(sleeps,
              QByteArrayList({"COM3:\tSleep before send:\t15", "COM3:\tSleep before send:\t18"}));
}

TEST_F(ComPortTest, VanishedPortLogsOnceAndIsNotReadUntilReopened) {
    Connect();
    line->gone = true;
    line->error = 9;
    line->bytesWaitingCalls = 0;
    for (int i = 0; i < 1000; ++i) {
        port->CheckReceive();
    }
    EXPECT_EQ(log.Count("COM3:\tError: ClearCommError - 9"), 1);
    EXPECT_EQ(line->bytesWaitingCalls, 1);
    line->gone = false;
    port->Reopen();
    Receive(Text(1, u"back"_s));
    EXPECT_EQ(port->events, QStringList({u"OnText back"_s, u"OnReply back"_s}));
}

} // namespace
