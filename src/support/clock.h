#pragma once

#include <cstdint>

namespace talvik::support {

// Millisecond tick source of the device link; the tick is 32 bits wide and wraps like the
// system tick counter, so every user compares ticks with unsigned subtraction.
class Clock {
public:
    virtual ~Clock() = default;
    [[nodiscard]] virtual std::uint32_t tickMs() const = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
};

} // namespace talvik::support
