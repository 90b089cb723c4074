#pragma once

#include <QString>

namespace talvik::iface {

// The device-type codes that select entries of the interface description and name the factory
// settings files, and the version assumed when no controller is connected.
namespace DeviceType {

// Codes of the device-type list of the main window, by list position: nothing chosen, Orvix
// TQ-11, TQ-12, TQ-13, TQ-14, Pellam Q5.
inline constexpr int kCodes[] = {0, 406, 412, 403, 414, 415};

// The code for a list position; 0 for positions outside the list.
[[nodiscard]] int codeForPosition(int position);

// Compared with SinceVer and TillVer when no controller is connected.
[[nodiscard]] QString noDeviceVersion();

} // namespace DeviceType

} // namespace talvik::iface
