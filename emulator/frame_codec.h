#pragma once

#include "frame.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace talvik::emu {

// Builds the bytes of a link frame: marker 02 'T' 'k' 02, kind, channel, length, payload and
// the little-endian 16-bit checksum over kind..payload.
class FrameCodec {
public:
    static constexpr int kMarkerSize = 4;
    static constexpr int kHeaderSize = 7;   // marker, kind, channel, length
    static constexpr int kOverhead = 9;     // header plus checksum
    static constexpr int kMaxPayload = 255; // the length is one byte

    // Sum over the bytes of (b XOR 0xFF) + 256 * b, modulo 65536.
    [[nodiscard]] static std::uint16_t checksum(const char* data, qsizetype size);

    // The frame's bytes, or nothing when the payload does not fit the length byte. A corrupt
    // frame carries a checksum that is guaranteed to be wrong.
    [[nodiscard]] static std::optional<QByteArray> encode(const Frame& frame, bool corrupt = false);
};

} // namespace talvik::emu
