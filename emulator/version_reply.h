#pragma once

#include <QByteArray>
#include <QString>

namespace talvik::emu {

// The controller's answer to " ver" (Windows-1251, without the leading space): the
// configuration version and, when it has one, the hardware number.
[[nodiscard]] QByteArray VersionReply(const QString& version, const QString& hardware);

} // namespace talvik::emu
