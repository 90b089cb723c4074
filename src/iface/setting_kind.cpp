#include "setting_kind.h"

#include <iterator>

namespace talvik::iface {

namespace {
const QStringView kKindNames[] = {u"None", u"Edit", u"Combo", u"Check", u"Bits"};
} // namespace

QString settingKindName(SettingKind kind) {
    const int index = static_cast<int>(kind);
    return index >= 0 && index < std::ssize(kKindNames) ? kKindNames[index].toString() : QString();
}

} // namespace talvik::iface
