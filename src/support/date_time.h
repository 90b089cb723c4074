#pragma once

#include <QString>
#include <cstdint>

namespace talvik::support {

// Time values (milliseconds of local time since 1601-01-01 00:00) and their text layouts,
// used by the log's time stamps, the terminal and the radio list.
class DateTime {
public:
    using Value = std::int64_t;

    [[nodiscard]] static Value now();
    // Style 0 formats by the pattern letters; styles 1 to 4 ignore the pattern.
    [[nodiscard]] static QString format(Value value, QStringView pattern, int style);
    // The value of a local date and time, for callers that know the fields.
    [[nodiscard]] static Value fromFields(int year, int month, int day, int hour, int minute,
                                          int second, int millisecond);
};

} // namespace talvik::support
