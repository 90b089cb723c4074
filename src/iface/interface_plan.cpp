#include "interface_plan.h"

namespace talvik::iface {

void InterfacePlan::addDisablesTo(DisableTable& table) const {
    for (const DisableRule& rule : disables) {
        QSet<int>& values = table[rule.trigger][rule.who];
        for (const int value : rule.values) {
            values.insert(value);
        }
    }
}

} // namespace talvik::iface
