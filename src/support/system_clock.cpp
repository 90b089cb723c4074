#include "system_clock.h"

#include <chrono>
#include <thread>

namespace talvik::support {

std::uint32_t SystemClock::tickMs() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void SystemClock::sleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SystemClock& SystemClock::instance() {
    static SystemClock clock;
    return clock;
}

} // namespace talvik::support
