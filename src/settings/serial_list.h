#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <optional>

namespace talvik::settings {

// The serial numbers of the controllers that always get the Pellam Q5 pages, whatever model
// is chosen. The program carries them gzip-packed as a resource, one twelve-digit hexadecimal
// serial per line.
class SerialList {
public:
    // Whether serial is in the built-in list (exact text, no trimming, case as written).
    [[nodiscard]] static bool contains(QStringView serial);

    // Unpacks a gzip stream; none when the data is not a complete, intact gzip stream.
    [[nodiscard]] static std::optional<QByteArray> gunzip(QByteArrayView packed);
    // Whether serial is one of the lines of an unpacked list (CR before the line end ignored).
    [[nodiscard]] static bool listed(QByteArrayView list, QStringView serial);
};

} // namespace talvik::settings
