#pragma once

#include "unit.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace talvik::devices {

class TargetSettings;

// The radio zones, users and thermometers that radio devices are assigned to, by setting
// number, and the edits of their setting texts. Filled once and kept for the program's life.
class AssignmentTargets {
public:
    using Entries = std::map<int, Unit>;

    // Enters every zone (45 to 57), user (20 to 29, named by the texts of settings 0 to 9) and
    // thermometer (318 to 327), calling `entered` with each setting number once its entry is
    // set. Does nothing when the table holds any entry.
    void Build(const TargetSettings& settings, const std::function<void(int)>& entered);

    [[nodiscard]] bool isEmpty() const { return m_entries.empty(); }
    [[nodiscard]] const Entries& entries() const { return m_entries; }
    [[nodiscard]] const Unit* find(int setting) const;
    // The setting of the first entry (lowest number) with that name; nothing when none has it.
    [[nodiscard]] std::optional<int> findByName(const QString& name) const;
    // Names of the targets of a kind, zones only up to `highestZone`.
    [[nodiscard]] QStringList names(int kind, int highestZone) const;
    void rename(int setting, const QString& name);

    // Takes a device out of one target's text: for a list target its entry `number` (with the
    // space before it, or after it when it starts the text), for a single-value target the
    // text `number`, which becomes "0". Returns the new text, or nothing when it stays as is.
    [[nodiscard]] static std::optional<QString>
    withoutDevice(const Unit& target, const QString& text, const QString& number);
    // Takes device `n` out of one target's text: a list entry whose number (the entry without
    // its wrapping characters) is n, or a single-value text that is n.
    [[nodiscard]] static std::optional<QString> withoutDeviceNumber(const Unit& target,
                                                                    const QString& text, int n);

private:
    Entries m_entries;
};

} // namespace talvik::devices
