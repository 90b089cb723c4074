#include "com_port.h"
#include "cp1251.h"
#include "fake_clock.h"
#include "fake_serial_line.h"
#include "frame_codec.h"
#include "golden_frames.h"
#include "log_tail.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::link;
using namespace talvik::support;

namespace {

template <std::size_t N> QByteArray Bytes(const std::uint8_t (&bytes)[N]) {
    return QByteArray(reinterpret_cast<const char*>(bytes), N);
}

// A text frame: kind, channel (the device's by default), a space and the text in Windows-1251.
QByteArray Text(std::uint8_t kind, const QString& text, std::uint8_t channel = 5) {
    const QByteArray payload = ' ' + Cp1251::fromUnicode(text);
    const auto* data = reinterpret_cast<const std::uint8_t*>(payload.constData());
    return FrameCodec::BuildFrame(kind, channel, {data, std::size_t(payload.size())}).value();
}

// Noise, broken markers, frames on channels 3 and 4, a frame with a bad checksum, and a
// trailing 0x02 pair whose second byte starts the next frame's marker.
QByteArray Junk() {
    return "noise\x02Tz\x02" + Text(2, u"y"_s, 3) + Text(2, u"z"_s, 4) +
           Text(2, u"x"_s).replace(" x", " w") + "\x02\x02";
}

// Table rows print and are named by their name.
template <typename Row>
requires requires(const Row& row) {
    row.name;
}
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.name;
}
const auto kRowName = [](const auto& info) { return std::string(info.param.name); };

// A channel that notes the events it raises.
class RecordingPort final : public ComPort {
public:
    using ComPort::ComPort;
    QStringList events;
    int commandsSent = 0;

    void ShowStatus(const QString& text) override { events << u"ShowStatus "_s + text; }
    void OnReply(const QString& text) override { events << u"OnReply "_s + text; }
    void OnRawFrame(std::span<const std::uint8_t> p) override {
        events << u"Raw %1"_s.arg(p.size());
    }
    void OnText(const QString& text) override { events << u"OnText "_s + text; }
    void OnConnected(const QString& text) override { events << u"OnConnected "_s + text; }
    void OnDisconnected() override { events << u"OnDisconnected"_s; }
    void OnNoReply() override { events << u"OnNoReply "_s + QString::fromLatin1(Current()); }
    void OnCommandSent() override { ++commandsSent; }
    void OnPollDue() override { events << u"OnPollDue"_s; }
    void OnQueueEnd() override { events << u"OnQueueEnd"_s; }
    void OnVersion(const QString&) override { events << u"OnVersion"_s; }
};

class ComPortTest : public testing::Test {
protected:
    // Hands the bytes over in reads of at most `piece` bytes (0: all at once).
    void Receive(const QByteArray& bytes, qsizetype piece = 0) {
        for (qsizetype at = 0, step = piece > 0 ? piece : bytes.size(); at < bytes.size();
             at += step) {
            line->incoming += bytes.mid(at, step);
            port.CheckReceive();
        }
    }
    void Announce() { Receive(Bytes(golden::kAnnounceOk)); }
    void Queue(const QString& command) { port.SendCommand(command, SendFlag::AwaitReply); }
    void Reply(const QString& text) { Receive(Text(2, text)); }
    void KeepAlive() { port.SendText({}, SendFlag::WriteAndForget); }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            port.Tick();
        }
    }
    // Moves the clock on and lets the queue look at it.
    void Elapse(std::uint32_t ms) {
        clock.advance(ms);
        port.Pump();
    }
    // The events raised since the last call.
    QStringList Events() { return std::exchange(port.events, {}); }
    // The texts of the frames written since the last call.
    QStringList Written() {
        QStringList texts;
        for (; m_written < line->writes.size(); ++m_written) {
            const QByteArray& bytes = line->writes[m_written].bytes;
            texts << QString::fromLatin1(bytes.mid(7, static_cast<quint8>(bytes.at(6)) - 1));
        }
        return texts;
    }
    // The first write and its wait are over, and the line has been quiet since.
    void PastTheFirstWrite() {
        static_cast<void>(Paced(port, 1));
        clock.advance(1000);
    }
    std::uint32_t LastWriteBaud() const { return line->writes.constLast().baud; }
    // How long a paced write of `size` bytes waited.
    std::uint32_t Paced(ComPort& on, int size) {
        const std::uint32_t before = clock.tickMs();
        on.WritePaced({std::vector<std::uint8_t>(size).data(), std::size_t(size)});
        return clock.tickMs() - before;
    }

    LogTail log;
    FakeClock clock{100000};
    WritePacing pacing;
    std::shared_ptr<FakeSerialLine::State> line = std::make_shared<FakeSerialLine::State>();
    RecordingPort port{std::make_unique<FakeSerialLine>(line), u"COM3"_s, u"USB Serial (COM3)"_s,
                       clock, pacing};
    qsizetype m_written = 0;
};

// Finding the controller: keep-alive probes hunt for its speed until it announces itself.

TEST_F(ComPortTest, KeepAlivesAlternateTheSpeed) {
    QList<std::uint32_t> bauds;
    for (int i = 0; i < 3; ++i) {
        KeepAlive();
        bauds << LastWriteBaud();
    }
    EXPECT_EQ(bauds, (QList<std::uint32_t>{9600, 115200, 9600}));
}

TEST_F(ComPortTest, NothingTicksBeforeTheAnnouncement) {
    Ticks(100);
    EXPECT_EQ(Events(), QStringList());
}

TEST_F(ComPortTest, TheAnnouncementConnects) {
    Announce();
    EXPECT_EQ(Events(), QStringList{u"OnConnected OK"_s});
}

TEST_F(ComPortTest, ASecondAnnouncementIsOnlyLogged) {
    Announce();
    Events();
    const LogTail tail;
    Announce();
    EXPECT_EQ(Events(), QStringList());
    EXPECT_TRUE(tail.Lines().contains("COM3:\t ---> (0): OK"));
}

TEST_F(ComPortTest, TheSpeedStaysOnceConnected) {
    KeepAlive();
    Announce();
    KeepAlive();
    EXPECT_EQ(LastWriteBaud(), 9600U);
}

// The command queue.

struct Frame {
    const char* name;
    std::uint8_t kind;
    QString text;
    QStringList events;
};
struct FrameKinds : ComPortTest, testing::WithParamInterface<Frame> {};

TEST_P(FrameKinds, RaiseTheirEvents) {
    Announce();
    Events();
    Receive(Text(GetParam().kind, GetParam().text));
    EXPECT_EQ(Events(), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    ComPortTest, FrameKinds,
    testing::Values(Frame{"TextOfKind0", 0, u"hello"_s, {u"OnText hello"_s, u"OnReply hello"_s}},
                    Frame{"StatusOfKind0", 0, u"#S0:1"_s, {u"OnReply #S0:1"_s}},
                    Frame{"StatusOfKind1", 1, u"#S0:1"_s, {u"OnText #S0:1"_s, u"OnReply #S0:1"_s}},
                    Frame{"ReplyInCyrillic", 2, u"привет"_s, {u"OnReply привет"_s}}),
    kRowName);

// Two awaited commands queued: one goes at a time, and an unanswered one is sent three times,
// four seconds apart.
struct TwoQueued : ComPortTest {
    TwoQueued() {
        Announce();
        Queue(u" a"_s);
        Queue(u" b"_s);
        firstWrites = Written();
        Events();
    }
    QStringList firstWrites;
};
using Unanswered = TwoQueued;

TEST_F(TwoQueued, OnlyTheFirstIsWritten) {
    EXPECT_EQ(firstWrites, QStringList{u" a"_s});
}

TEST_F(TwoQueued, AReplyLetsTheNextCommandGo) {
    Reply(u"A"_s);
    EXPECT_EQ(Written(), QStringList{u" b"_s});
}

TEST_F(TwoQueued, ATextFrameLeavesTheCommandWaiting) {
    Receive(Text(0, u"hello"_s));
    EXPECT_EQ(Written(), QStringList());
}

TEST_F(TwoQueued, NoPollIsDueWhileTheyWait) {
    Ticks(10);
    EXPECT_EQ(Events(), QStringList());
}

TEST_F(Unanswered, IsNotSentAgainWithinFourSeconds) {
    Elapse(4000);
    EXPECT_EQ(Written(), QStringList());
}

TEST_F(Unanswered, IsSentAgainAfterFourSeconds) {
    Elapse(4001);
    EXPECT_EQ(Written(), QStringList{u" a"_s});
}

TEST_F(Unanswered, WaitsAgainWhenTheClockWrapped) {
    clock.set(50);
    port.Pump();
    Elapse(4001);
    EXPECT_EQ(Written(), QStringList{u" a"_s});
}

TEST_F(Unanswered, IsGivenUpAfterTheThirdTimeOut) {
    for (int i = 0; i < 3; ++i) {
        Elapse(4001);
    }
    EXPECT_EQ(Events(), QStringList{u"OnNoReply  a"_s});
}

TEST_F(Unanswered, CountsEveryAttemptAsSent) {
    Elapse(4001);
    Elapse(4001);
    EXPECT_EQ(port.commandsSent, 3);
}

// "end" and "end clr" close a batch once everything ahead of them is answered.
struct QueueEnd : ComPortTest {
    QueueEnd() {
        Announce();
        Queue(u" a"_s);
        port.SendCommand(u"end"_s, SendFlag::WriteAndForget);
        port.SendCommand(u"end clr"_s, SendFlag::WriteAndForget);
        Events();
    }
};

TEST_F(QueueEnd, IsRaisedOnceTheyAreAnswered) {
    Reply(u"A"_s);
    EXPECT_EQ(Events(), (QStringList{u"OnReply A"_s, u"OnQueueEnd"_s,
                                     u"ShowStatus Инициализация прошла успешно"_s}));
}

TEST_F(QueueEnd, IsNeverWritten) {
    Reply(u"A"_s);
    EXPECT_EQ(Written(), QStringList{u" a"_s});
}

// The link's clock: polls, keep-alives and the loss of the link.

TEST_F(ComPortTest, ThePollIsDueEveryTenTicks) {
    Announce();
    Events();
    Ticks(10);
    EXPECT_EQ(Events(), QStringList{u"OnPollDue"_s});
}

TEST_F(ComPortTest, TenQuietTicksSendAKeepAlive) {
    Announce();
    Ticks(10);
    EXPECT_EQ(Written(), QStringList{QString()});
}

TEST_F(ComPortTest, AnUnansweredKeepAliveReopensTheLine) {
    Announce();
    Ticks(20);
    EXPECT_EQ(line->opens, 1);
}

TEST_F(ComPortTest, AnyDeviceFrameAnswersTheKeepAlive) {
    Announce();
    Ticks(10);
    Receive(Bytes(golden::kEmptyFrame));
    Ticks(10);
    EXPECT_EQ(line->opens, 0);
}

TEST_F(ComPortTest, SixtyTicksWithoutADeviceFrameLoseTheLink) {
    Announce();
    Events();
    Ticks(60);
    EXPECT_TRUE(Events().contains(u"OnDisconnected"_s));
}

TEST_F(ComPortTest, ADeviceFrameKeepsTheLink) {
    Announce();
    Ticks(59);
    Receive(Bytes(golden::kEmptyFrame));
    Events();
    Ticks(59);
    EXPECT_FALSE(Events().contains(u"OnDisconnected"_s));
}

TEST_F(ComPortTest, AFrameOnAChannelBelowTheDevicesDoesNotKeepTheLink) {
    Announce();
    Ticks(30);
    Receive(Text(0, u"low"_s, 4));
    Events();
    Ticks(30);
    EXPECT_TRUE(Events().contains(u"OnDisconnected"_s));
}

// The version reply gives the configuration number and the hardware number after "HV".
struct Version {
    const char* name;
    QString reply;
    QString version;
    int hardware;
};
struct VersionReply : ComPortTest, testing::WithParamInterface<Version> {};

TEST_P(VersionReply, GivesTheConfigurationNumber) {
    Reply(GetParam().reply);
    EXPECT_EQ(port.VersionText(), GetParam().version);
}

TEST_P(VersionReply, GivesTheHardwareNumber) {
    Reply(GetParam().reply);
    EXPECT_EQ(port.HardwareNumber(), GetParam().hardware);
}

INSTANTIATE_TEST_SUITE_P(
    ComPortTest, VersionReply,
    testing::Values(Version{"WithoutHardware", u"ver: Конфигурация 1.45"_s, u"1.45"_s, -1},
                    Version{"WithHardware", u"ver: Конфигурация 2.19 HV 412 SN 7"_s, u"2.19"_s,
                            412},
                    Version{"SoftwareVersionFirst", u"Версия ПО 5.0, Конфигурация v1.67.3, HV515"_s,
                            u"1.67.3"_s, 515}),
    kRowName);

TEST_F(ComPortTest, AReplyWithoutConfigurationIsNoVersion) {
    Reply(u"ver: 3.1 HV 406"_s);
    EXPECT_FALSE(Events().contains(u"OnVersion"_s));
}

// Writes are paced: the gap before a write is the previous write's time on the line at ten
// bits a byte plus 10 ms, 15 ms before the first.

TEST_F(ComPortTest, TheFirstWriteWaits15ms) {
    EXPECT_EQ(Paced(port, 1), 15U);
}

struct Gap {
    const char* name;
    std::uint32_t baud;
    int previous; // bytes of the write before
    std::uint32_t wait;
};
struct Pacing : ComPortTest, testing::WithParamInterface<Gap> {};

TEST_P(Pacing, WaitsForThePreviousWrite) {
    port.SetSpeed(GetParam().baud);
    PastTheFirstWrite();
    static_cast<void>(Paced(port, GetParam().previous));
    EXPECT_EQ(Paced(port, 1), GetParam().wait);
}

INSTANTIATE_TEST_SUITE_P(ComPortTest, Pacing,
                         testing::Values(Gap{"OneByte", 115200, 1, 10},
                                         Gap{"LongFrame", 115200, 264, 32},
                                         Gap{"LongFrameAt9600", 9600, 264, 285},
                                         Gap{"SpeedNotKnown", 0, 10, 11}),
                         kRowName);

TEST_F(ComPortTest, TimeSinceThePreviousWriteCountsTowardsTheGap) {
    PastTheFirstWrite();
    static_cast<void>(Paced(port, 264));
    clock.advance(20);
    EXPECT_EQ(Paced(port, 1), 12U);
}

TEST_F(ComPortTest, AClockThatWrappedWaitsTheWholeGap) {
    static_cast<void>(Paced(port, 100));
    clock.set(20);
    EXPECT_EQ(Paced(port, 1), 18U);
}

TEST_F(ComPortTest, PortsShareThePacing) {
    RecordingPort other{std::make_unique<FakeSerialLine>(line), u"COM9"_s, {}, clock, pacing};
    PastTheFirstWrite();
    static_cast<void>(Paced(port, 1));
    clock.advance(9);
    EXPECT_EQ(Paced(other, 1), 1U);
}

TEST_F(ComPortTest, AWaitOf1msIsNotLogged) {
    PastTheFirstWrite();
    static_cast<void>(Paced(port, 1));
    clock.advance(9);
    const LogTail tail;
    static_cast<void>(Paced(port, 1));
    EXPECT_EQ(tail.Lines(), QByteArrayList());
}

// Receiving: junk is skipped however it is cut.
struct Cut {
    const char* name;
    qsizetype piece;
};
struct JunkBeforeAReply : ComPortTest, testing::WithParamInterface<Cut> {};

TEST_P(JunkBeforeAReply, IsSkipped) {
    Announce();
    Queue(u" a"_s);
    Events();
    Receive(Junk(), GetParam().piece);
    // The reply comes without its first byte: the junk's last 0x02 begins it.
    Receive(Bytes(golden::kReplyOk).mid(1), GetParam().piece);
    EXPECT_EQ(Events(), QStringList{u"OnReply OK"_s});
}

INSTANTIATE_TEST_SUITE_P(ComPortTest, JunkBeforeAReply,
                         testing::Values(Cut{"AtOnce", 0}, Cut{"ByteByByte", 1},
                                         Cut{"InSevens", 7}),
                         kRowName);

TEST_F(ComPortTest, ABadChecksumIsLogged) {
    const LogTail tail;
    Receive(Junk());
    EXPECT_TRUE(tail.Lines().contains("COM3:\tBAD CRC !"));
}

TEST_F(ComPortTest, AVanishedDeviceIsAskedOnceUntilReopened) {
    Announce();
    line->gone = true;
    line->bytesWaitingCalls = 0;
    for (int i = 0; i < 1000; ++i) {
        port.CheckReceive();
    }
    EXPECT_EQ(line->bytesWaitingCalls, 1);
}

TEST_F(ComPortTest, AReopenedPortReceivesAgain) {
    Announce();
    line->gone = true;
    port.CheckReceive();
    line->gone = false;
    port.Reopen();
    Events();
    Receive(Text(1, u"b"_s));
    EXPECT_EQ(Events(), (QStringList{u"OnText b"_s, u"OnReply b"_s}));
}

// The line as the port sets it up, and the bytes of its frames.

TEST_F(ComPortTest, OpensAt115200) {
    EXPECT_EQ(line->baud, 115200U);
}

TEST_F(ComPortTest, OpensWithTwoStopBits) {
    EXPECT_EQ(line->stopBits, 2);
}

TEST_F(ComPortTest, TheKeepAliveIsTheGoldenFrame) {
    KeepAlive();
    EXPECT_EQ(line->writes.constLast().bytes, Bytes(golden::kKeepAlive));
}

TEST_F(ComPortTest, AnAwaitedCommandIsTheGoldenFrame) {
    Announce();
    Queue(u" ver"_s);
    EXPECT_EQ(line->writes.constLast().bytes, Bytes(golden::kVerCommand));
}

TEST_F(ComPortTest, ACommandOnChannel3IsTheGoldenFrame) {
    Announce();
    port.SendCommand(u" #S63=1"_s, SendFlag::ForgetOnChannel3);
    EXPECT_EQ(line->writes.constLast().bytes, Bytes(golden::kStatusPollCommand));
}

TEST_F(ComPortTest, A254CharacterCommandFillsTheFrame) {
    Announce();
    port.SendCommand(QString(254, u'a'), SendFlag::WriteAndForget);
    EXPECT_EQ(line->writes.constLast().bytes.size(), 255 + 9);
}

TEST_F(ComPortTest, ALongerCommandCannotBeFramed) {
    Announce();
    port.SendCommand(QString(255, u'b'), SendFlag::WriteAndForget);
    EXPECT_TRUE(line->writes.isEmpty());
}

// A line that refuses its settings and its closing.
struct FailingLine : testing::Test {
    LogTail log;
    FakeClock clock;
    WritePacing pacing;
    std::shared_ptr<FakeSerialLine::State> line = [] {
        auto state = std::make_shared<FakeSerialLine::State>();
        state->failSettings = state->failClose = true;
        state->error = 10;
        return state;
    }();
    const LogTail tail{};
    std::unique_ptr<RecordingPort> port = std::make_unique<RecordingPort>(
        std::make_unique<FakeSerialLine>(line), u"COM3"_s, QString(), clock, pacing);
};

TEST_F(FailingLine, LogsTheRefusedSettings) {
    EXPECT_EQ(tail.Lines().value(0), "COM3:\tError: SetCommState - 10");
}

TEST_F(FailingLine, LogsTheRefusedClose) {
    port.reset();
    EXPECT_TRUE(tail.Lines().contains("COM3:\tError: CloseHandle handle - 10"));
}

} // namespace
