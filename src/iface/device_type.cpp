#include "device_type.h"

#include <iterator>

namespace talvik::iface {

int DeviceType::codeForPosition(int position) {
    if (position < 0 || position >= static_cast<int>(std::size(kCodes))) {
        return 0;
    }
    return kCodes[position];
}

QString DeviceType::noDeviceVersion() {
    return QStringLiteral("9.99");
}

} // namespace talvik::iface
