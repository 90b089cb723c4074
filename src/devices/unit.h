#pragma once

#include <QString>

namespace talvik::devices {

// A target that radio devices are assigned to: a radio zone, a user or a thermometer, each a
// numbered controller setting whose text names the devices.
struct Unit {
    enum Kind { NoKind = 0, Zone = 1, User = 2, Thermometer = 3 };

    // Users: the setting that holds the user's name; others -1.
    int index = 0;
    int kind = NoKind;
    // Shown in the choice menus and in the list's assignment columns.
    QString name;
    // Empty for list targets (zones, users), "%" for single-value targets (thermometers).
    QString marker;
};

} // namespace talvik::devices
