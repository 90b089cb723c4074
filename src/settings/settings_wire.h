#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace talvik::iface {
class SettingPages;
}

namespace talvik::settings {

class SettingsLink;

// What travels on the line when settings are read and written: the "#P" reply pieces, the
// listing bookkeeping with its gap queries, the write commands, and the relative coding of the
// time-zone dependent settings 214 and 683.
namespace SettingsWire {

// Settings sent relative to the time zone held in kTimeZone.
inline constexpr int kReportHour = 214;
inline constexpr int kTimeZoneDependent = 683;
inline constexpr int kTimeZone = 447;
[[nodiscard]] constexpr bool isZoneRelative(int number) {
    return number == kReportHour || number == kTimeZoneDependent;
}
// Never written or saved: the login the web service gave the controller, which keeps it to
// itself.
inline constexpr int kNeverWritten = 314;
// Replies for these numbers carry the serial numbers of the ten thermometer slots.
inline constexpr int kFirstThermometerSlot = 653;
inline constexpr int kLastThermometerSlot = 662;

inline constexpr QStringView kListingRequest = u" #S15=2";
inline constexpr QStringView kApplyWrites = u" #S15=1";
inline constexpr QStringView kQueueEnd = u"end";

// A reply piece "#P" number ":" value.
struct ParameterReply {
    int number = 0;
    QString value;
};
// The number and value of a piece; none when no ':' follows index 2.
[[nodiscard]] std::optional<ParameterReply> parseReply(QStringView piece);

// " #P<number>?"
[[nodiscard]] QString query(int number);

// The listing bookkeeping for one received line, while a listing runs: numbers skipped since
// the previous line are noted, and the terminator ('!') ends the listing and queues a query for
// each skipped number, then "end". Does nothing while no listing runs.
void trackDump(SettingsLink& link, int number, QStringView value);

// Whether firmware at version sends the whole listing on one request.
[[nodiscard]] bool dumpsAll(QStringView version);

// The value a write sends for a setting: 214 and 683 relative to the time zone shown.
[[nodiscard]] QString deviceValue(const iface::SettingPages& pages, int number,
                                  QStringView version);
// The write commands for every changed setting in ascending order, clearing their changed
// flags; 214 and 683 go relative to the time zone, which is then flagged for the next write.
[[nodiscard]] QStringList writeCommands(iface::SettingPages& pages, QStringView version);

} // namespace SettingsWire

} // namespace talvik::settings
