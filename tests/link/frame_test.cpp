#include "frame_scanner.h"
#include "golden_frames.h"

#include <QByteArray>
#include <QList>
#include <gtest/gtest.h>

namespace {

template <std::size_t N> QByteArray Bytes(const std::uint8_t (&bytes)[N]) {
    return QByteArray(reinterpret_cast<const char*>(bytes), N);
}

std::span<const std::uint8_t> Span(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

struct Found {
    int kind;
    int channel;
    QByteArray payload;
    bool ok;
    bool operator==(const Found&) const = default;
};

QList<Found> ScanInPieces(const QByteArray& stream, qsizetype piece) {
    FrameScanner scanner;
    QList<Found> found;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        scanner.Feed(Span(stream.mid(at, piece)), [&found](const ReceivedFrame& f) {
            found.append({f.kind, f.channel,
                          QByteArray(reinterpret_cast<const char*>(f.payload.data()),
                                     static_cast<qsizetype>(f.payload.size())),
                          f.checksumOk});
        });
    }
    return found;
}

TEST(FrameScanner, FindsTheSameFramesHoweverTheStreamIsCut) {
    QByteArray corrupt = Bytes(golden::kReplyOk);
    corrupt[8] = 'X';
    const QByteArray stream = "junk\x02\x02T" + Bytes(golden::kAnnounceOk) + "\x02Tq\x02" +
                              corrupt + Bytes(golden::kEmptyFrame) + "\x02" +
                              Bytes(golden::kReplyOk) + "\x02Tk\x02";
    const QList<Found> expected = {
        {0, 5, "\x01OK", true}, {2, 5, " XK", false}, {0, 5, {}, true}, {2, 5, " OK", true}};
    for (const qsizetype piece : {stream.size(), qsizetype(1), qsizetype(2), qsizetype(7)}) {
        EXPECT_EQ(ScanInPieces(stream, piece), expected) << piece;
    }
}

TEST(FrameScanner, MemoryStaysBoundedOnEndlessGarbageAndHugeFrames) {
    FrameScanner scanner;
    int frames = 0;
    // A marker announcing 255 bytes followed by more markers: never more than one frame pending.
    QByteArray stream;
    for (int i = 0; i < 2000; ++i) {
        stream += QByteArray("\x02Tk\x02\x00\x05\xFF", 7);
    }
    scanner.Feed(Span(stream), [&frames](const ReceivedFrame&) { ++frames; });
    EXPECT_LE(scanner.Pending(), 263u);
    EXPECT_GT(frames, 0);
}

} // namespace
