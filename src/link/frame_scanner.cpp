#include "frame_scanner.h"

#include "frame_codec.h"

#include <algorithm>
#include <cstring>

namespace talvik::link {

std::span<const std::uint8_t> FrameScanner::Take(std::size_t count) {
    const std::size_t size = m_pending + std::min(count, Room());
    m_pending = 0;
    return {m_buffer.data(), size};
}

bool FrameScanner::Next(std::size_t& pos, std::size_t size, ReceivedFrame& frame) {
    while (pos < size) {
        const std::uint8_t* at = m_buffer.data() + pos;
        const std::size_t left = size - pos;
        if (at[0] != 0x02) {
            ++pos;
            continue;
        }
        if (left < FrameCodec::kHeaderSize) {
            break;
        }
        if (at[1] != 'T' || at[2] != 'k' || at[3] != 0x02) {
            ++pos;
            continue;
        }
        const std::size_t length = at[6];
        const std::size_t whole = length + FrameCodec::kOverhead;
        if (left < whole) {
            break;
        }
        const std::uint16_t stored =
            static_cast<std::uint16_t>(at[7 + length] | (at[8 + length] << 8));
        frame.kind = at[4];
        frame.channel = at[5];
        frame.payload = {at + FrameCodec::kHeaderSize, length};
        frame.checksumOk = FrameCodec::Checksum({at + 4, length + 3}) == stored;
        pos += whole;
        return true;
    }
    if (pos < size) {
        m_pending = size - pos;
        std::memmove(m_buffer.data(), m_buffer.data() + pos, m_pending);
    }
    return false;
}

} // namespace talvik::link
