#include "frame_scanner.h"

#include "frame_codec.h"

#include <cstdint>

namespace talvik::emu {

FrameScanner::Result FrameScanner::feed(const QByteArray& bytes) {
    m_pending.append(bytes);
    Result result;
    const char* data = m_pending.constData();
    const qsizetype size = m_pending.size();
    qsizetype pos = 0;
    while (pos < size) {
        if (data[pos] != '\x02') {
            ++pos;
            continue;
        }
        const qsizetype left = size - pos;
        if (left < FrameCodec::kHeaderSize) {
            break;
        }
        if (data[pos + 1] != 'T' || data[pos + 2] != 'k' || data[pos + 3] != '\x02') {
            ++pos;
            continue;
        }
        const int length = static_cast<std::uint8_t>(data[pos + 6]);
        const qsizetype total = length + FrameCodec::kOverhead;
        if (left < total) {
            break;
        }
        const char* body = data + pos + FrameCodec::kMarkerSize;
        const std::uint16_t stored =
            static_cast<std::uint16_t>(static_cast<std::uint8_t>(body[3 + length]) |
                                       static_cast<std::uint8_t>(body[4 + length]) << 8);
        if (FrameCodec::checksum(body, 3 + length) == stored) {
            result.frames.push_back(Frame{static_cast<std::uint8_t>(body[0]),
                                          static_cast<std::uint8_t>(body[1]),
                                          QByteArray(body + 3, length)});
        } else {
            ++result.badChecksums;
        }
        pos += total;
    }
    m_pending.remove(0, pos);
    return result;
}

} // namespace talvik::emu
