#include "interface_plan.h"

void InterfacePlan::addDisablesTo(DisableTable& table) const {
    for (const DisableRule& rule : disables) {
        QSet<int>& values = table[rule.trigger][rule.who];
        for (const int value : rule.values) {
            values.insert(value);
        }
    }
}
