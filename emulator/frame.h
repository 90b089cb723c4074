#pragma once

#include <QByteArray>

#include <cstdint>

namespace talvik::emu {

// One link frame without its marker and checksum: what the codec encodes and the scanner yields.
struct Frame {
    std::uint8_t kind = 0;
    std::uint8_t channel = 0;
    QByteArray payload;

    friend bool operator==(const Frame&, const Frame&) = default;
};

} // namespace talvik::emu
