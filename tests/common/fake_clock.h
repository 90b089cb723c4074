#pragma once

#include "clock.h"

// A clock that tests move by hand; sleeping just moves it forward.
class FakeClock final : public talvik::support::Clock {
public:
    explicit FakeClock(std::uint32_t start = 0) : m_now(start) {}
    [[nodiscard]] std::uint32_t tickMs() const override { return m_now; }
    void sleepMs(std::uint32_t ms) override { m_now += ms; }
    void advance(std::uint32_t ms) { m_now += ms; }
    void set(std::uint32_t now) { m_now = now; }

private:
    std::uint32_t m_now;
};
