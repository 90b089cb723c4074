#pragma once

#include <QStringView>

namespace talvik::support {

// The program's reading of a number held in text: leading white space and one sign are
// accepted, reading stops at the first character that is not a digit, and text without digits
// reads as 0. Values beyond the int range stop at its ends instead of wrapping.
[[nodiscard]] int LeadingInteger(QStringView text);

} // namespace talvik::support
