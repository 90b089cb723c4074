#pragma once

#include "simple_log.h"

#include <QString>

// Rejected inputs log a line each: keep millions of them off the disk, and out of the folder the
// fuzzer runs in.
inline void QuietLog() {
    talvik::support::SimpleLog::setFileName(QStringLiteral("/dev/null"));
}
