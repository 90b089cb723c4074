#include "cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace talvik::support {

namespace {
constexpr const char* kCodePage = "windows-1251";
}

QString Cp1251::toUnicode(QByteArrayView bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray Cp1251::fromUnicode(QStringView text) {
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

} // namespace talvik::support
