#pragma once

#include <cstdint>

namespace talvik::link {

// When the last frame went out and how long the line needs for it. One state serves every port
// of the process, so frames written to different ports are spaced as well.
struct WritePacing {
    std::uint32_t lastWriteTime = 0;
    std::uint32_t gap = 15;

    [[nodiscard]] static WritePacing& ProcessWide();
};

} // namespace talvik::link
