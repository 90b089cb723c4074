#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace talvik::link {

// The link frame: 02 'T' 'k' 02, kind, channel, payload length, payload, 16-bit checksum (low
// byte first) over kind, channel, length and payload.
class FrameCodec {
public:
    static constexpr std::size_t kHeaderSize = 7;
    static constexpr std::size_t kOverhead = 9;
    static constexpr std::size_t kMaxPayload = 255;
    static constexpr std::uint8_t kMarker[4] = {0x02, 'T', 'k', 0x02};

    // For each byte b: s += b ^ 0xFF, then s += b * 256, modulo 0x10000.
    [[nodiscard]] static std::uint16_t Checksum(std::span<const std::uint8_t> bytes);
    // Empty when the payload is longer than a frame can carry.
    [[nodiscard]] static std::optional<QByteArray>
    BuildFrame(std::uint8_t kind, std::uint8_t channel, std::span<const std::uint8_t> payload);
};

} // namespace talvik::link
