#pragma once

#include <QString>

namespace talvik::iface {

// The kind of control that shows a setting; the numbers are those the settings files' kind
// names stand for.
enum class SettingKind : int { None = 0, Edit = 1, Combo = 2, Check = 3, Bits = 4 };

// "None", "Edit", "Combo", "Check" or "Bits": the kind as settings files name it.
[[nodiscard]] QString settingKindName(SettingKind kind);

} // namespace talvik::iface
