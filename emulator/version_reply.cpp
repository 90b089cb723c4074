#include "version_reply.h"

#include "cp1251.h"

using namespace Qt::StringLiterals;

namespace talvik::emu {

QByteArray VersionReply(const QString& version, const QString& hardware) {
    QString text = u"Версия ПО: 3.0.1 Конфигурация: "_s + version;
    if (!hardware.isEmpty()) {
        text += u" HV: "_s + hardware;
    }
    return support::Cp1251::fromUnicode(text);
}

} // namespace talvik::emu
