#pragma once

#include <QStringView>

namespace talvik::support {

// Orders two dotted firmware version texts ("1.66", "2.19"): the parts between the dots are
// compared left to right as whole numbers, so "1.66" is above "1.7" and "2.01" equals "2.1".
// The first unequal pair decides; a text that runs out of parts first is the lower one.
// Returns a negative number, 0 or a positive number, like a comparison of a with b.
[[nodiscard]] int CompareVersions(QStringView a, QStringView b);

} // namespace talvik::support
