#pragma once

#include <QByteArray>
#include <QString>

namespace talvik::support {

// Conversions between window text (UTF-16) and the controller's and the log's 8-bit text
// (Windows-1251).
class Cp1251 {
public:
    [[nodiscard]] static QString toUnicode(QByteArrayView bytes);
    [[nodiscard]] static QByteArray fromUnicode(QStringView text);
};

} // namespace talvik::support
