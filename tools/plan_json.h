#pragma once

#include "interface_plan.h"

#include <string>

namespace talvik::tools {

// What the settings window would build, as JSON text: the items with their resolved texts and
// setting numbers, the Disables rules and the Voices table.
[[nodiscard]] std::string PlanJson(const iface::InterfacePlan& plan);

} // namespace talvik::tools
