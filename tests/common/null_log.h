#pragma once

#include "log_base.h"

#include <cstdio>
#include <mutex>

// A log without a file: what is written to it goes nowhere.
class NullLog final : public talvik::support::LogBase {
protected:
    std::mutex* sharedLock() override { return &m_lock; }
    std::FILE* sharedFile() override { return nullptr; }
    void close() override {}

private:
    std::mutex m_lock;
};
