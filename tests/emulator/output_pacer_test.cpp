#include "fake_clock.h"
#include "output_pacer.h"

#include <gtest/gtest.h>

namespace {

// How many bytes have come out by each of the given milliseconds after enqueueing 12 bytes.
struct PaceCase {
    std::uint32_t baud;
    std::uint32_t atMs;
    qsizetype delivered;
};

TEST(EmuOutputPacer, DeliversAtTenBitsPerByte) {
    const PaceCase cases[] = {
        {115200, 0, 0}, {115200, 1, 11}, {115200, 2, 12}, // 11.52 bytes per ms
        {9600, 1, 0},   {9600, 2, 1},    {9600, 10, 9},   {9600, 12, 11}, {9600, 13, 12},
    };
    for (const PaceCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << " baud at " << c.atMs << " ms");
        FakeClock clock(5000);
        OutputPacer pacer(clock, c.baud);
        pacer.enqueue(QByteArray(12, 'x'));
        clock.advance(c.atMs);
        EXPECT_EQ(pacer.take().size(), c.delivered);
    }
}

TEST(EmuOutputPacer, IdleTimeIsNotBanked) {
    FakeClock clock;
    OutputPacer pacer(clock, 9600);
    EXPECT_FALSE(pacer.msUntilNext().has_value());
    pacer.enqueue(QByteArray("a"));
    EXPECT_EQ(pacer.msUntilNext(), 2u); // one byte needs 1.04 ms
    clock.advance(2);
    EXPECT_EQ(pacer.take(), QByteArray("a"));
    clock.advance(10000);
    pacer.enqueue(QByteArray(20, 'x'));
    EXPECT_TRUE(pacer.take().isEmpty());
    EXPECT_EQ(pacer.msUntilNext(), 2u);
    clock.advance(5);
    EXPECT_EQ(pacer.take().size(), 4);
}

TEST(EmuOutputPacer, BackToBackFramesShareTheLine) {
    FakeClock clock(0xFFFFFFF0u); // also runs over the tick counter's wrap
    OutputPacer pacer(clock, 9600);
    pacer.enqueue(QByteArray(10, 'a'));
    clock.advance(5);
    pacer.enqueue(QByteArray(10, 'b')); // queued while the line is still busy
    clock.advance(15);                  // 20 bytes take 20.8 ms
    EXPECT_EQ(pacer.take(), QByteArray(10, 'a') + QByteArray(9, 'b'));
    clock.advance(1);
    EXPECT_EQ(pacer.take(), QByteArray("b"));
}

} // namespace
