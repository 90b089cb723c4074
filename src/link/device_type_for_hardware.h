#pragma once

#include <QStringView>

namespace talvik::link {

// Position in the device-type list (0 "Не известно" to 5 "Pellam Q5") for the hardware number
// a controller reports, given as decimal text; numbers the program does not know, and "-1" from
// a controller that reported none, give 0.
[[nodiscard]] int DeviceTypeForHardware(QStringView hardwareNumber);

} // namespace talvik::link
