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

// A channel that hands the events it raises to `record`.
class RecordingPort final : public ComPort {
public:
    using ComPort::ComPort;
    std::function<void(const QString&)> record = [](const QString&) {};
    int commandsSent = 0;

    void ShowStatus(const QString& text) override { record(u"ShowStatus "_s + text); }
    void OnReply(const QString& text) override { record(u"OnReply "_s + text); }
    void OnRawFrame(std::span<const std::uint8_t> p) override { record(u"Raw %1"_s.arg(p.size())); }
    void OnText(const QString& text) override { record(u"OnText "_s + text); }
    void OnConnected(const QString& text) override { record(u"OnConnected "_s + text); }
    void OnDisconnected() override { record(u"OnDisconnected"_s); }
    void OnNoReply() override { record(u"OnNoReply "_s + QString::fromLatin1(Current())); }
    void OnCommandSent() override { ++commandsSent; }
    void OnPollDue() override { record(u"OnPollDue"_s); }
    void OnQueueEnd() override { record(u"OnQueueEnd"_s); }
    void OnVersion(const QString&) override {
        record(u"OnVersion %1 %2"_s.arg(VersionText()).arg(HardwareNumber()));
    }
};

class ComPortTest : public testing::Test {
protected:
    ComPortTest() { Open(); }
    void Open() {
        line->isOpen = true;
        pacing = {};
        port = std::make_unique<RecordingPort>(std::make_unique<FakeSerialLine>(line), u"COM3"_s,
                                               u"USB Serial (COM3)"_s, clock, pacing);
        port->record = [this](const QString& event) { Record(event); };
        m_baud = 115200;
        Take();
    }
    // Hands the bytes over in reads of at most `piece` bytes (0: all at once).
    void Receive(const QByteArray& bytes, qsizetype piece = 0) {
        for (qsizetype at = 0, step = piece > 0 ? piece : bytes.size(); at < bytes.size();
             at += step) {
            line->incoming += bytes.mid(at, step);
            port->CheckReceive();
        }
    }
    // Adds the event to the step's trace after the writes and reopenings that came before it:
    // ">text" per written frame (with "@baud" when the speed changed), "reopen" per reopening.
    void Record(const QString& event) {
        if (std::exchange(m_opens, line->opens) != line->opens && !m_mute) {
            m_step << u"reopen"_s;
        }
        for (m_written = m_mute ? line->writes.size() : m_written; m_written < line->writes.size();
             ++m_written) {
            const auto& write = line->writes[m_written];
            QString text =
                u">"_s +
                QString::fromLatin1(write.bytes.mid(7, static_cast<quint8>(write.bytes.at(6)) - 1));
            if (write.baud != std::exchange(m_baud, write.baud)) {
                text += u"@%1"_s.arg(write.baud);
            }
            m_step << text;
        }
        m_step << event;
        m_step.removeAll(QString());
    }
    QStringList Take() {
        Record({});
        return std::exchange(m_step, {});
    }
    // Runs the ';'-separated steps and returns what each did, steps joined by " / ". Steps: "q2: a"
    // queues " a" with flag 2; "ka" writes a keep-alive; "r2:text" receives a text frame of kind 2;
    // "announce", "empty" (N = 0) and "low" (channel 4), "junk" (noise, broken markers, channels 3
    // and 4, a bad checksum) and "ok" (a reply without its first byte) receive those frames,
    // "junk/7" in 7-byte reads; "gone" makes the device vanish for 1000 reads and shows the line's
    // polls, "back" reopens; "t10" ticks ten times, "T10" too but hides the writes; "+4001" moves
    // the clock on and "=50" sets it, then pump the queue; "s9600" sets the speed; "w14" writes 14
    // bytes paced and shows the wait as "~ms", "W1" on another port (COM9) sharing the pacing.
    std::string Run(const QString& script) {
        const std::map<QString, QByteArray> frames = {
            {u"announce"_s, Bytes(golden::kAnnounceOk)},
            {u"empty"_s, Bytes(golden::kEmptyFrame)},
            {u"low"_s, Text(0, u"low"_s, 4)},
            {u"ok"_s, Bytes(golden::kReplyOk).mid(1)},
            {u"junk"_s, "noise\x02Tz\x02" + Text(2, u"y"_s, 3) + Text(2, u"z"_s, 4) +
                            Text(2, u"x"_s).replace(" x", " w") + "\x02\x02"}};
        QStringList steps;
        for (const QString& step : script.split(u';')) {
            const QString s = step.trimmed();
            const int number = s.mid(1).section(u':', 0, 0).toInt();
            m_mute = s.startsWith(u'T') || s.startsWith(u'w') || s.startsWith(u'W');
            if (s.startsWith(u'q')) {
                port->SendCommand(s.mid(3), static_cast<SendFlag>(number));
            } else if (s == u"ka"_s) {
                port->SendText({}, SendFlag::WriteAndForget);
            } else if (s.startsWith(u'r')) {
                Receive(Text(static_cast<std::uint8_t>(number), s.mid(3)));
            } else if (frames.contains(s.section(u'/', 0, 0))) {
                Receive(frames.at(s.section(u'/', 0, 0)), s.section(u'/', 1).toInt());
            } else if (s == u"gone"_s) {
                line->gone = true;
                line->bytesWaitingCalls = 0;
                for (int i = 0; i < 1000; ++i) {
                    port->CheckReceive();
                }
                line->gone = false;
                Record(u"polls %1"_s.arg(line->bytesWaitingCalls));
            } else if (s == u"back"_s) {
                port->Reopen();
            } else if (s.startsWith(u't') || s.startsWith(u'T')) {
                for (int i = 0; i < number; ++i) {
                    port->Tick();
                }
            } else if (s.startsWith(u'w') || s.startsWith(u'W')) {
                const std::uint32_t before = clock.tickMs();
                (s.startsWith(u'W') ? other : *port)
                    .WritePaced({std::vector<std::uint8_t>(number).data(), std::size_t(number)});
                Record(clock.tickMs() == before ? QString()
                                                : u"~%1"_s.arg(clock.tickMs() - before));
            } else if (s.startsWith(u'+') || s.startsWith(u'=')) {
                s.startsWith(u'+') ? clock.advance(number) : clock.set(number);
                port->Pump();
            } else {
                EXPECT_TRUE(s.startsWith(u's')) << s.toStdString();
                port->SetSpeed(number);
            }
            steps << Take().join(u", "_s);
        }
        return steps.join(u" / "_s).toStdString();
    }

    LogTail log;
    FakeClock clock{100000};
    WritePacing pacing;
    std::shared_ptr<FakeSerialLine::State> line = std::make_shared<FakeSerialLine::State>();
    std::unique_ptr<RecordingPort> port;
    RecordingPort other{std::make_unique<FakeSerialLine>(line), u"COM9"_s, {}, clock, pacing};
    QStringList m_step;
    qsizetype m_written = 0;
    int m_opens = 0;
    bool m_mute = false;
    std::uint32_t m_baud = 115200;
};

TEST_F(ComPortTest, CommandChannelScenarios) {
    const struct {
        QString script;
        std::string trace;
        QByteArrayList logged;
    } cases[] = {
        // Speed hunting alternates until the device announces itself; nothing ticks before,
        // and a second announcement is only logged.
        {u"ka; ka; ka; t100; announce; announce; ka"_s,
         ">@9600 / >@115200 / >@9600 /  / OnConnected OK /  / >",
         {"COM3:\tConnected with speed:\t9600", "COM3:\t ---> (0): OK"}},
        // Flag 2 goes one at a time; kinds 0 and 1 are texts that leave the command waiting.
        {u"announce; q2: a; q2: b; r0:hello; r0:#S0:1; r1:#S0:1; r2:привет"_s,
         "OnConnected OK / > a /  / OnText hello, OnReply hello / OnReply #S0:1 / "
         "OnText #S0:1, OnReply #S0:1 / OnReply привет, > b",
         {}},
        // Three attempts 4 s apart, then OnNoReply; a wrapped tick counter restarts the wait.
        {u"announce; q2: a; q2: b; +4000; =50; +4001; +4001; +4001"_s,
         "OnConnected OK / > a /  /  /  / > a / > a / OnNoReply  a, > b",
         {}},
        // Keep-alive after ten quiet ticks, reopen at the same speed when it goes unanswered;
        // any device frame, even an empty one, answers it.
        {u"announce; s9600; t9; t1; t10; empty; t9; t1"_s,
         "OnConnected OK /  /  / OnPollDue, >@9600 / OnPollDue, reopen, > / Raw 0 /  / "
         "OnPollDue, >",
         {"COM3:\tSend KA", "COM3:\treopened"}},
        // The link is lost after sixty ticks without a frame on a device channel (5 and up).
        {u"announce; T59; empty; T30; low; T29; T1; t100"_s,
         "OnConnected OK / OnPollDue, OnPollDue, OnPollDue, OnPollDue, OnPollDue / Raw 0 / "
         "OnPollDue, OnPollDue, OnPollDue /  / OnPollDue, OnPollDue, OnPollDue / OnDisconnected / ",
         {}},
        // The poll is due every ten ticks while the queue is empty.
        {u"announce; T10; q2: a; q2: b; T10"_s, "OnConnected OK / OnPollDue /  /  / ", {}},
        // Version replies give the configuration number and the hardware number after "HV".
        {u"r2:ver: Конфигурация 1.45; r2:ver: Конфигурация 2.19 HV 412 SN 7; "
         u"r2:Версия ПО 5.0, Конфигурация v1.67.3, HV515; r2:ver: 3.1 HV 406"_s,
         "OnVersion 1.45 -1 / OnVersion 2.19 412 / OnVersion 1.67.3 515 / ",
         {}},
        // The gap before a write is the last write's time at ten bits a byte plus 10 ms (15
        // at first), for all ports and across a tick counter wrap; 1 ms is not logged.
        {u"w1; w10; w1; w264; w1; w100; =20; w1; s9600; w14; w1; w264; w1; s0; w10; w1; +11; W1; +9; W1"_s,
         "~15 /  / ~10 /  / ~32 /  /  / ~18 /  /  / ~24 /  / ~285 /  /  / ~11 /  /  /  / ~1",
         {"COM3:\tSleep before send:\t15", "COM3:\tSleep before send:\t285",
          "COM3:\tSleep before send:\t18", "!COM9:\tSleep before send:\t1"}},
        // Junk, however it is cut, is skipped; the trailing 0x02 pair is kept and the second
        // one starts the next frame's marker. A vanished device is polled once until reopened.
        {u"announce; q2: a; junk/1; ok/1; q2: a; junk/7; ok/7; q2: a; junk; ok; gone; back; r1:b"_s,
         "OnConnected OK / > a /  / OnReply OK / > a /  / OnReply OK / > a /  / OnReply OK / "
         "polls 1 / reopen / OnText b, OnReply b",
         {"COM3:\tBAD CRC !"}},
        // "end" and "end clr" come after everything ahead of them and are never written.
        {u"announce; q2: a; q2: b; q1:end; q1:end clr; r2:A; +4001; r2:B"_s,
         "OnConnected OK / > a /  /  /  / OnReply A, > b / > b / "
         "OnReply B, OnQueueEnd, ShowStatus Инициализация прошла успешно",
         {}},
    };
    for (const auto& c : cases) {
        Open();
        const LogTail tail;
        EXPECT_EQ(Run(c.script), c.trace) << c.script.toStdString();
        for (const QByteArray& logLine : c.logged) { // "!": never logged
            const bool absent = logLine.startsWith('!');
            EXPECT_NE(tail.Lines().contains(logLine.mid(absent)), absent) << logLine.toStdString();
        }
    }
    EXPECT_EQ(port->commandsSent, 5) << "every entry taken from the queue counts, retries too";
}

TEST_F(ComPortTest, LineSetupGoldenFramesOfAtMost255PayloadBytesAndLineFailures) {
    EXPECT_EQ(std::tuple(line->baud, line->stopBits, line->inputQueue),
              std::tuple(115200u, 2, 8192u));
    Receive(Bytes(golden::kAnnounceOk));
    port->SendText({}, SendFlag::WriteAndForget);
    port->SendCommand(u" ver"_s, SendFlag::AwaitReply);
    Receive(Bytes(golden::kReplyOk));
    port->SendCommand(u" #S63=1"_s, SendFlag::ForgetOnChannel3);
    // 254 characters and the NUL fill the payload; a longer command cannot be framed.
    port->SendCommand(QString(254, u'a'), SendFlag::WriteAndForget);
    port->SendCommand(QString(255, u'b'), SendFlag::WriteAndForget);
    ASSERT_EQ(line->writes.size(), 4);
    EXPECT_EQ(line->writes[0].bytes + line->writes[1].bytes + line->writes[2].bytes,
              Bytes(golden::kKeepAlive) + Bytes(golden::kVerCommand) +
                  Bytes(golden::kStatusPollCommand));
    EXPECT_EQ(line->writes[3].bytes.size(), 255 + 9);

    port.reset();
    const LogTail tail;
    line->failSettings = line->failClose = true;
    line->error = 10;
    Open();
    port->SetSpeed(9600);
    EXPECT_EQ(port->Baud(), 9600u);
    port.reset();
    EXPECT_FALSE(line->isOpen);
    EXPECT_EQ(tail.Lines(),
              QByteArrayList({"COM3:\tError: SetCommState - 10", "COM3:\topened",
                              "COM3:\tError: SetCommState - 10", "COM3:\tSetting speed:\t9600",
                              "COM3:\tError: CloseHandle handle - 10", "COM3:\tclosed"}));
}

} // namespace
