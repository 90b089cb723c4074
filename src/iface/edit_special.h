#pragma once

namespace talvik::iface {

// The value form of an edit box that shows a setting; the numbers are those the setting store
// keeps for it.
enum class EditSpecial : int { Plain = 0, Integer = 1, Phone = 2, Voice = 3, Double10 = 4 };

} // namespace talvik::iface
