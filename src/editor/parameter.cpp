#include "parameter.h"

#include <iterator>

namespace talvik::editor {

namespace {
const QStringView kKindNames[] = {u"None", u"Edit", u"Combo", u"Check", u"Bits"};
} // namespace

QString Parameter::kindName(Kind kind) {
    const int index = static_cast<int>(kind);
    return index >= 0 && index < std::ssize(kKindNames) ? kKindNames[index].toString() : QString();
}

Parameter::Kind Parameter::kindFromName(QStringView name) {
    for (int index = 0; index < std::ssize(kKindNames); ++index) {
        if (kKindNames[index] == name) {
            return static_cast<Kind>(index);
        }
    }
    return Kind::None;
}

} // namespace talvik::editor
