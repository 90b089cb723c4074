// The promises every SerialLine keeps, held against the in-memory fake that the other tests
// use and against the real QtSerialLine on a pseudo-terminal: whatever the fake lets a test
// assume, the real line does as well.
#include "fake_serial_line.h"
#include "pty_line.h"
#include "qt_serial_line.h"
#include "test_app.h"
#include "wait_for.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>

using namespace Qt::StringLiterals;
using talvik::link::QtSerialLine;
using talvik::link::SerialLine;

namespace {

constexpr int kWaitMs = 3000;

// The in-memory line; its far end is the shared state.
class FakeEnd {
public:
    FakeEnd() : m_line(std::make_unique<FakeSerialLine>(m_state)) {}

    SerialLine& line() { return *m_line; }
    QString name() { return u"COM3"_s; }
    QString missingName() {
        m_state->refusedNames.append(u"COM9"_s);
        return u"COM9"_s;
    }
    // The port as another program holds it open.
    QString heldName() {
        m_state->refusedNames.append(u"COM4"_s);
        return u"COM4"_s;
    }
    void send(const QByteArray& bytes) { m_state->incoming += bytes; }
    bool arrived(qsizetype size) { return m_line->bytesWaiting() >= size; }
    QByteArray received() {
        QByteArray bytes;
        for (const FakeSerialLine::Write& write : m_state->writes) {
            bytes += write.bytes;
        }
        return bytes;
    }
    std::uint32_t speed() { return m_state->baud; }
    void unplug() { m_state->gone = true; }
    bool noticedUnplug() { return true; }

private:
    std::shared_ptr<FakeSerialLine::State> m_state = std::make_shared<FakeSerialLine::State>();
    std::unique_ptr<FakeSerialLine> m_line;
};

// QtSerialLine on the slave side of a pseudo-terminal whose master is the far end.
class PtyEnd {
public:
    PtyEnd() {
        static_cast<void>(TestApp());
        QString error;
        m_opened = m_pty->open(9600, error);
    }

    SerialLine& line() { return m_line; }
    QString name() { return m_opened ? m_pty->slavePath() : QString(); }
    QString missingName() { return u"/dev/talvik-no-such-port"_s; }
    QString heldName() {
        static_cast<void>(m_holder.open(name()));
        return name();
    }
    void send(const QByteArray& bytes) { static_cast<void>(m_pty->write(bytes)); }
    bool arrived(qsizetype size) {
        return WaitFor(kWaitMs, [&] { return m_line.bytesWaiting() >= size; });
    }
    QByteArray received() {
        QByteArray bytes;
        static_cast<void>(WaitFor(kWaitMs, [&] {
            bytes += m_pty->readAvailable();
            return !bytes.isEmpty();
        }));
        return bytes;
    }
    std::uint32_t speed() { return m_pty->lineBaud(); }
    // The cable is pulled: the terminal's master side goes away.
    void unplug() { m_pty.reset(); }
    bool noticedUnplug() {
        return WaitFor(kWaitMs, [&] { return m_line.bytesWaiting() < 0; });
    }

private:
    std::unique_ptr<talvik::emu::PtyLine> m_pty = std::make_unique<talvik::emu::PtyLine>();
    bool m_opened = false;
    QtSerialLine m_line;
    QtSerialLine m_holder;
};

template <typename End> struct SerialLineContract : testing::Test {
    End end;
    SerialLine& line = end.line();

    bool open() { return line.open(end.name()); }
    std::int64_t write(const QByteArray& bytes) {
        return line.write(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()));
    }
    QByteArray read(std::size_t size) {
        QByteArray bytes(static_cast<qsizetype>(size), '\0');
        const std::int64_t count = line.read(reinterpret_cast<std::uint8_t*>(bytes.data()), size);
        bytes.truncate(count < 0 ? 0 : static_cast<qsizetype>(count));
        return bytes;
    }
};

class EndNames {
public:
    template <typename End> static std::string GetName(int) {
        return std::is_same_v<End, FakeEnd> ? "Fake" : "QtOnPseudoTerminal";
    }
};

using Ends = testing::Types<FakeEnd, PtyEnd>;
TYPED_TEST_SUITE(SerialLineContract, Ends, EndNames);

TYPED_TEST(SerialLineContract, OpensAPortThatIsThere) {
    EXPECT_TRUE(this->open());
}

TYPED_TEST(SerialLineContract, DoesNotOpenAPortThatIsNotThere) {
    EXPECT_FALSE(this->line.open(this->end.missingName()));
}

// Whoever holds the port, the user has the right to it: nothing to tell about the dialout group.
TYPED_TEST(SerialLineContract, APortHeldElsewhereFailsToOpenWithoutDenyingAccess) {
    ASSERT_FALSE(this->line.open(this->end.heldName()));
    EXPECT_FALSE(this->line.accessDenied());
}

TYPED_TEST(SerialLineContract, AReopenedLineStillCarriesBytes) {
    ASSERT_TRUE(this->open());
    ASSERT_TRUE(this->open());
    ASSERT_EQ(this->write("again"), 5);
    EXPECT_EQ(this->end.received(), "again");
}

TYPED_TEST(SerialLineContract, WritesReachTheFarEnd) {
    ASSERT_TRUE(this->open());
    EXPECT_EQ(this->write("\x02 ver\x03"), 6);
    EXPECT_EQ(this->end.received(), "\x02 ver\x03");
}

TYPED_TEST(SerialLineContract, BytesFromTheFarEndWaitToBeRead) {
    ASSERT_TRUE(this->open());
    this->end.send("reply");
    ASSERT_TRUE(this->end.arrived(5));
    EXPECT_EQ(this->line.bytesWaiting(), 5);
}

TYPED_TEST(SerialLineContract, AReadTakesAtMostWhatWasAskedFor) {
    ASSERT_TRUE(this->open());
    this->end.send("reply");
    ASSERT_TRUE(this->end.arrived(5));
    EXPECT_EQ(this->read(3), "rep");
}

TYPED_TEST(SerialLineContract, AReadLeavesTheRestWaiting) {
    ASSERT_TRUE(this->open());
    this->end.send("reply");
    ASSERT_TRUE(this->end.arrived(5));
    static_cast<void>(this->read(3));
    EXPECT_EQ(this->line.bytesWaiting(), 2);
}

TYPED_TEST(SerialLineContract, TheLineSettingsSetTheSpeed) {
    ASSERT_TRUE(this->open());
    // A pseudo-terminal has no DTR and RTS, so the settings as a whole may report failure.
    static_cast<void>(this->line.setLineSettings(19200, 0));
    EXPECT_EQ(this->end.speed(), 19200U);
}

TYPED_TEST(SerialLineContract, ASpeedChangeReachesTheLine) {
    ASSERT_TRUE(this->open());
    static_cast<void>(this->line.setLineSettings(19200, 0));
    EXPECT_TRUE(this->line.setBaudRate(115200));
    EXPECT_EQ(this->end.speed(), 115200U);
}

TYPED_TEST(SerialLineContract, AVanishedDeviceFailsTheBytesWaiting) {
    ASSERT_TRUE(this->open());
    this->end.unplug();
    ASSERT_TRUE(this->end.noticedUnplug());
    EXPECT_EQ(this->line.bytesWaiting(), -1);
}

TYPED_TEST(SerialLineContract, ALineClosesAfterItsDeviceVanished) {
    ASSERT_TRUE(this->open());
    this->end.unplug();
    ASSERT_TRUE(this->end.noticedUnplug());
    EXPECT_TRUE(this->line.close());
}

TYPED_TEST(SerialLineContract, ALineThatNeverOpenedDoesNotClose) {
    EXPECT_FALSE(this->line.close());
}

TYPED_TEST(SerialLineContract, AnOpenLineCloses) {
    ASSERT_TRUE(this->open());
    EXPECT_TRUE(this->line.close());
}

} // namespace
