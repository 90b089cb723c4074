#include "frame_codec.h"
#include "frame_scanner.h"
#include "golden_frames.h"

#include <gtest/gtest.h>

#include <span>

using namespace talvik::emu;

namespace {

QByteArray bytesOf(std::span<const std::uint8_t> bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

struct Golden {
    const char* name;
    std::span<const std::uint8_t> bytes;
    Frame frame;
};

const Golden kGolden[] = {
    {"keep-alive", golden::kKeepAlive, {0, 1, QByteArray(1, '\0')}},
    {"ver", golden::kVerCommand, {0, 2, QByteArray(" ver\0", 5)}},
    {"S63", golden::kStatusPollCommand, {0, 3, QByteArray(" #S63=1\0", 8)}},
    {"announce", golden::kAnnounceOk, {0, 5, QByteArray("\x01OK")}},
    {"reply", golden::kReplyOk, {2, 5, QByteArray(" OK")}},
    {"empty", golden::kEmptyFrame, {0, 5, QByteArray()}},
};

TEST(EmuFrameCodec, EncodesAndScansTheGoldenFrames) {
    for (const Golden& g : kGolden) {
        SCOPED_TRACE(g.name);
        EXPECT_EQ(FrameCodec::encode(g.frame), bytesOf(g.bytes));
        FrameScanner scanner;
        const auto result = scanner.feed(bytesOf(g.bytes));
        ASSERT_EQ(result.frames.size(), 1u);
        EXPECT_EQ(result.frames.front(), g.frame);
        EXPECT_EQ(scanner.pendingSize(), 0);
    }
}

TEST(EmuFrameCodec, PayloadLimitAndCorruption) {
    EXPECT_FALSE(FrameCodec::encode({0, 5, QByteArray(256, 'x')}).has_value());
    const auto result = FrameScanner().feed(*FrameCodec::encode({0, 5, QByteArray(" OK")}, true));
    EXPECT_TRUE(result.frames.empty());
    EXPECT_EQ(result.badChecksums, 1);
}

} // namespace
