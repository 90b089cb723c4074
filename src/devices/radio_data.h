#pragma once

#include <QString>
#include <cstdint>
#include <map>
#include <span>

namespace talvik::support {
class LogBase;
}

namespace talvik::devices {

// The radio data record that comes with a device's report: tag bytes, each followed by a value
// whose width the tag's high nibble gives, turned into the Russian text of the "Данные" column.

// Tag byte -> text, for every tag the program knows; built on first use, never changed after.
[[nodiscard]] const std::map<std::uint8_t, QString>& RadioTagNames();

// The known items of the record in order, joined by "; "; empty when nothing known was found.
// A record that ends inside an item or holds a 0x00 tag yields what was decoded before it and
// one "Incorrect radio data" line with the record's bytes in `log`.
[[nodiscard]] QString DecodeRadioData(std::span<const std::uint8_t> bytes, support::LogBase& log);

} // namespace talvik::devices
