#include "device_type.h"

#include <iterator>

int DeviceType::codeForPosition(int position) {
    if (position < 0 || position >= static_cast<int>(std::size(kCodes))) {
        return 0;
    }
    return kCodes[position];
}

QString DeviceType::noDeviceVersion() {
    return QStringLiteral("9.99");
}
