#include "radio_report.h"

#include "leading_integer.h"

namespace talvik::devices {

namespace {
constexpr qsizetype kNumberAt = 3;
constexpr QChar kNoData = u'@';
constexpr QChar kDataEnd = u'$';
} // namespace

std::optional<RadioReport> RadioReport::read(QStringView piece) {
    if (piece.size() <= kNumberAt || piece[kNumberAt] == kNoData) {
        return std::nullopt;
    }
    const qsizetype numberEnd = piece.indexOf(u' ', kNumberAt);
    if (numberEnd < 0) {
        return std::nullopt;
    }
    const qsizetype typeEnd = piece.indexOf(u' ', numberEnd + 1);
    if (typeEnd < 0) {
        return std::nullopt;
    }
    RadioReport report;
    report.number = piece.sliced(kNumberAt, numberEnd - kNumberAt).toString();
    report.type = piece.sliced(numberEnd + 1, typeEnd - numberEnd - 1).toString();
    const qsizetype marker = typeEnd + 1;
    if (marker < piece.size() && piece[marker] == kNoData) {
        return report;
    }
    qsizetype end = piece.indexOf(kDataEnd, marker + 1);
    if (end < 0) {
        end = piece.size();
    }
    // Each number starts one past a space; a number wider than a byte keeps its low 8 bits.
    qsizetype at = marker + 1;
    while (at != 0 && at < end) {
        report.data.push_back(static_cast<std::uint8_t>(support::LeadingInteger(piece.sliced(at))));
        at = piece.indexOf(u' ', at) + 1;
    }
    return report;
}

} // namespace talvik::devices
