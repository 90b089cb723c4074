#include "cp1251.h"
#include "emu_harness.h"

using namespace Qt::StringLiterals;
using namespace talvik::emu;
using namespace talvik::support;

namespace {

QList<QByteArray> readings(EmuHarness& emu) {
    const QByteArray reply = emu.ask("#S23?");
    EXPECT_TRUE(reply.startsWith(" #S23:")) << reply.toStdString();
    return reply.mid(6).split(' ');
}

QByteArray serialOf(EmuHarness& emu, int slot) {
    const QByteArray query = "#P" + QByteArray::number(653 + slot);
    const QByteArray reply = emu.ask(query + '?');
    EXPECT_TRUE(reply.startsWith(' ' + query + ':')) << reply.toStdString();
    return reply.mid(query.size() + 2);
}

// The frames that arrive within the given time.
std::vector<Frame> framesWithin(EmuHarness& emu, std::uint32_t ms) {
    std::vector<Frame> frames;
    for (std::uint32_t waited = 0; waited < ms; waited += 100) {
        emu.clock.advance(100);
        const auto more = emu.take();
        frames.insert(frames.end(), more.begin(), more.end());
    }
    return frames;
}

QStringList touchesWithin(EmuHarness& emu, std::uint32_t ms) {
    QStringList lines;
    for (const Frame& frame : framesWithin(emu, ms)) {
        lines.append(Cp1251::toUnicode(frame.payload));
    }
    return lines;
}

TEST(EmuOneWire, ReadingsDriftOverTime) {
    EmuHarness emu({u"--thermometers"_s, u"1"_s});
    QSet<int> seen;
    for (int i = 0; i < 30; ++i, emu.clock.advance(2000)) {
        seen.insert(readings(emu)[0].toInt());
    }
    EXPECT_GT(seen.size(), 5);
}

TEST(EmuOneWire, ClearForgetsTheThermometersUntilTheBusIsScannedAgain) {
    EmuHarness emu;
    EXPECT_EQ(emu.ask("TMCLR"), " TMCLR: OK");
    EXPECT_EQ(readings(emu), QList<QByteArray>(10, "0"));
    EXPECT_EQ(serialOf(emu, 0), QByteArray());
    emu.clock.advance(10000);
    EXPECT_GT(readings(emu)[0].toInt(), 2730);
}

TEST(EmuOneWire, ClearStopsLearning) {
    EmuHarness emu;
    static_cast<void>(emu.ask("TMSET"));
    static_cast<void>(emu.ask("TMCLR"));
    EXPECT_TRUE(touchesWithin(emu, 6000).isEmpty());
}

TEST(EmuOneWire, BadThermometerCountIsRefused) {
    EXPECT_EXIT(EmuHarness({u"--thermometers"_s, u"11"_s}), ::testing::ExitedWithCode(2),
                "thermometers");
}

} // namespace
