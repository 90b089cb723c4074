#pragma once

#include <cstdint>
#include <optional>

namespace talvik::emu {

// Ways to make the emulated controller misbehave; all off by default.
struct FaultKnobs {
    int dropPercent = 0;    // incoming frames ignored as if never received
    int corruptPercent = 0; // outgoing frames sent with a wrong checksum
    std::optional<std::uint32_t>
        silentAfterMs; // no answers at all after this time, like a pulled cable
    std::optional<std::uint32_t>
        silentForMs; // the silence ends after this long, like a cable plugged back in
    std::uint32_t seed = 0;
};

} // namespace talvik::emu
