#include "device_type_for_hardware.h"

#include <array>
#include <utility>

namespace talvik::link {

int DeviceTypeForHardware(QStringView hardwareNumber) {
    static constexpr std::array<std::pair<const char16_t*, int>, 9> kTypes{{
        {u"406", 1},
        {u"401", 2},
        {u"402", 2},
        {u"411", 2},
        {u"412", 2},
        {u"403", 3},
        {u"414", 4},
        {u"415", 5},
        {u"515", 5},
    }};
    for (const auto& [number, type] : kTypes) {
        if (hardwareNumber == QStringView(number)) {
            return type;
        }
    }
    return 0;
}

} // namespace talvik::link
