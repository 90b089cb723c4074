#include "parameter.h"

namespace talvik::editor {

namespace {
const QStringView kKindNames[] = {u"None", u"Edit", u"Combo", u"Check", u"Bits"};
} // namespace

QString Parameter::kindName(int kind) {
    return kind >= None && kind <= Bits ? kKindNames[kind].toString() : QString();
}

int Parameter::kindFromName(QStringView name) {
    for (int kind = None; kind <= Bits; ++kind) {
        if (kKindNames[kind] == name) {
            return kind;
        }
    }
    return None;
}

} // namespace talvik::editor
