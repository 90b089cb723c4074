#include "frame_codec.h"

namespace talvik::emu {

std::uint16_t FrameCodec::checksum(const char* data, qsizetype size) {
    std::uint16_t sum = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<std::uint8_t>(data[i]);
        sum = static_cast<std::uint16_t>(sum + (b ^ 0xFF) + b * 256);
    }
    return sum;
}

std::optional<QByteArray> FrameCodec::encode(const Frame& frame, bool corrupt) {
    if (frame.payload.size() > kMaxPayload) {
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(frame.payload.size() + kOverhead);
    bytes.append("\x02Tk\x02", kMarkerSize);
    bytes.append(static_cast<char>(frame.kind));
    bytes.append(static_cast<char>(frame.channel));
    bytes.append(static_cast<char>(frame.payload.size()));
    bytes.append(frame.payload);
    std::uint16_t sum = checksum(bytes.constData() + kMarkerSize, bytes.size() - kMarkerSize);
    if (corrupt) {
        sum ^= 0x5A5A;
    }
    bytes.append(static_cast<char>(sum & 0xFF));
    bytes.append(static_cast<char>(sum >> 8));
    return bytes;
}

} // namespace talvik::emu
