#include "frame_codec.h"

namespace talvik::link {

std::uint16_t FrameCodec::Checksum(std::span<const std::uint8_t> bytes) {
    std::uint16_t sum = 0;
    for (const std::uint8_t b : bytes) {
        sum = static_cast<std::uint16_t>(sum + (b ^ 0xFF));
        sum = static_cast<std::uint16_t>(sum + b * 256);
    }
    return sum;
}

std::optional<QByteArray> FrameCodec::BuildFrame(std::uint8_t kind, std::uint8_t channel,
                                                 std::span<const std::uint8_t> payload) {
    if (payload.size() > kMaxPayload) {
        return std::nullopt;
    }
    QByteArray frame;
    frame.reserve(static_cast<qsizetype>(payload.size()) + static_cast<qsizetype>(kOverhead));
    frame.append(reinterpret_cast<const char*>(kMarker), sizeof kMarker);
    frame.append(static_cast<char>(kind));
    frame.append(static_cast<char>(channel));
    frame.append(static_cast<char>(payload.size()));
    frame.append(reinterpret_cast<const char*>(payload.data()),
                 static_cast<qsizetype>(payload.size()));
    const auto* checked = reinterpret_cast<const std::uint8_t*>(frame.constData()) + 4;
    const std::uint16_t sum = Checksum({checked, payload.size() + 3});
    frame.append(static_cast<char>(sum & 0xFF));
    frame.append(static_cast<char>(sum >> 8));
    return frame;
}

} // namespace talvik::link
