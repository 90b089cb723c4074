#pragma once

#include "clock.h"

namespace talvik::support {

// The real clock: a monotonic millisecond tick and a blocking sleep.
class SystemClock final : public Clock {
public:
    [[nodiscard]] std::uint32_t tickMs() const override;
    void sleepMs(std::uint32_t ms) override;

    // The clock shared by everything that paces the one serial line of the process.
    static SystemClock& instance();
};

} // namespace talvik::support
