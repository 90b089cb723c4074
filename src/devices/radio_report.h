#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace talvik::devices {

// One "#R" reply piece: the controller heard a radio device. The piece holds, after "#R" and
// one character, the device's number text, a space, its type token, a space, a data marker
// ("@": no data) and the radio data as decimal numbers separated by single spaces, up to a "$"
// or the end.
struct RadioReport {
    QString number;
    QString type;
    std::vector<std::uint8_t> data;

    // The report in a piece; nothing for a piece whose number text starts with "@" (the
    // controller's empty report) or that lacks the space after its number or its type.
    [[nodiscard]] static std::optional<RadioReport> read(QStringView piece);
};

} // namespace talvik::devices
