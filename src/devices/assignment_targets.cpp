#include "assignment_targets.h"

#include "leading_integer.h"
#include "target_settings.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace talvik::devices {

namespace {

constexpr int kFirstZone = 45;
constexpr int kNumberedZones = 10;
constexpr int kFirstUser = 20;
constexpr int kUsers = 10;
constexpr int kFirstThermometer = 318;
constexpr int kThermometers = 10;
// Zones 55 to 57 take remotes only.
constexpr int kAlarmButton = 55;
constexpr int kArming = 56;
constexpr int kDisarming = 57;
const QString kThermometerMarker = u"%"_s;

// "Радиозона  1": the number padded to two places, so the names sort in numeric order.
QString numbered(const QString& word, int k) {
    return u"%1 %2"_s.arg(word).arg(k, 2);
}

// Calls `found` with the start and end of every space-separated entry of a text until it
// returns true; gives that entry's start and end, or nothing.
template <typename Found>
std::optional<std::pair<qsizetype, qsizetype>> findEntry(const QString& text, Found found) {
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at] == u' ') {
            ++at;
            continue;
        }
        qsizetype end = text.indexOf(u' ', at);
        if (end < 0) {
            end = text.size();
        }
        if (found(QStringView(text).sliced(at, end - at))) {
            return std::pair{at, end};
        }
        at = end;
    }
    return std::nullopt;
}

// The text without the entry at [start, end) and the space before it, or after it when the
// entry starts the text.
QString withoutEntry(QString text, std::pair<qsizetype, qsizetype> entry) {
    const auto [start, end] = entry;
    if (start > 0) {
        return text.remove(start - 1, end - start + 1);
    }
    return text.remove(0, end < text.size() ? end + 1 : end);
}

} // namespace

void AssignmentTargets::Build(const TargetSettings& settings,
                              const std::function<void(int)>& entered) {
    if (!m_entries.empty()) {
        return;
    }
    const auto enter = [&](int setting, int kind, int index, const QString& name,
                           const QString& marker) {
        Unit& unit = m_entries[setting];
        unit.index = index;
        unit.kind = kind;
        unit.name = name;
        unit.marker = marker;
        entered(setting);
    };
    for (int k = 0; k < kNumberedZones; ++k) {
        enter(kFirstZone + k, Unit::Zone, -1, numbered(u"Радиозона"_s, k + 1), {});
    }
    enter(kAlarmButton, Unit::Zone, -1, u"Тревожная кнопка"_s, {});
    enter(kArming, Unit::Zone, -1, u"Постановка на охрану"_s, {});
    enter(kDisarming, Unit::Zone, -1, u"Снятие с охраны"_s, {});
    for (int k = 0; k < kUsers; ++k) {
        enter(kFirstUser + k, Unit::User, k, settings.text(k).value_or(QString()), {});
    }
    for (int k = 0; k < kThermometers; ++k) {
        enter(kFirstThermometer + k, Unit::Thermometer, -1, numbered(u"Термометр"_s, k + 1),
              kThermometerMarker);
    }
}

const Unit* AssignmentTargets::find(int setting) const {
    const auto found = m_entries.find(setting);
    return found == m_entries.end() ? nullptr : &found->second;
}

std::optional<int> AssignmentTargets::findByName(const QString& name) const {
    const auto found = std::find_if(m_entries.begin(), m_entries.end(),
                                    [&](const auto& entry) { return entry.second.name == name; });
    return found == m_entries.end() ? std::nullopt : std::optional<int>(found->first);
}

QStringList AssignmentTargets::names(int kind, int highestZone) const {
    QStringList names;
    for (const auto& [setting, unit] : m_entries) {
        if (unit.kind == kind && (kind != Unit::Zone || setting <= highestZone)) {
            names.append(unit.name);
        }
    }
    return names;
}

void AssignmentTargets::rename(int setting, const QString& name) {
    const auto found = m_entries.find(setting);
    if (found != m_entries.end()) {
        found->second.name = name;
    }
}

std::optional<QString> AssignmentTargets::withoutDevice(const Unit& target, const QString& text,
                                                        const QString& number) {
    if (!target.marker.isEmpty()) {
        const QString none = u"0"_s;
        return text == number && text != none ? std::optional<QString>(none) : std::nullopt;
    }
    const auto entry = findEntry(text, [&](QStringView part) { return part == number; });
    return entry ? std::optional<QString>(withoutEntry(text, *entry)) : std::nullopt;
}

std::optional<QString> AssignmentTargets::withoutDeviceNumber(const Unit& target,
                                                              const QString& text, int n) {
    if (!target.marker.isEmpty()) {
        return withoutDevice(target, text, QString::number(n));
    }
    // An entry is the number with one wrapping character on each side.
    const auto entry = findEntry(text, [n](QStringView part) {
        return support::LeadingInteger(part.size() > 2 ? part.sliced(1, part.size() - 2)
                                                       : QStringView()) == n;
    });
    return entry ? std::optional<QString>(withoutEntry(text, *entry)) : std::nullopt;
}

} // namespace talvik::devices
