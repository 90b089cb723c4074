#pragma once

#include "edit_special.h"
#include "setting_kind.h"

#include <QList>
#include <QString>

namespace talvik::iface {

// The settings pages as reading, writing and the settings files see them: the settings by
// number, in the values the controller keeps, without the controls that show them. The
// settings editor provides it. Operations on a number the pages do not hold do nothing, and
// queries about one answer as for a setting without a control and without a value.
class SettingPages {
public:
    virtual ~SettingPages() = default;

    // The device type the pages were built for; 0 while there are none.
    [[nodiscard]] virtual int typeCode() const = 0;
    // Every setting number held, in ascending order.
    [[nodiscard]] virtual QList<int> numbers() const = 0;
    [[nodiscard]] virtual SettingKind kind(int number) const = 0;
    [[nodiscard]] virtual EditSpecial special(int number) const = 0;
    // The user changed it since it was last read, written or loaded.
    [[nodiscard]] virtual bool changed(int number) const = 0;
    // The value the controller keeps for what the control shows; an empty number field gives
    // an empty value.
    [[nodiscard]] virtual QString value(int number) const = 0;
    // The value a write sends: as value(), but an empty number field counts as 0.
    [[nodiscard]] virtual QString writtenValue(int number) const = 0;
    // The value the controller is known to hold (last read from it or sent to it, or what the
    // pages were built with); empty when none is known.
    [[nodiscard]] virtual QString heldValue(int number) const = 0;
    // The text the setting's control shows for a controller value.
    [[nodiscard]] virtual QString shownText(int number, const QString& value) const = 0;
    // The whole number an edit box shows (the time zone); 0 for any other control.
    [[nodiscard]] virtual int shownNumber(int number) const = 0;

    // Holds a setting the pages do not show (a value without a control), so that it is saved
    // and written with the others; nothing for a number already held.
    virtual void keep(int number) = 0;
    // Lets go of the settings without a control.
    virtual void dropUnshown() = 0;
    // The value shown went to the controller: it is what the controller holds, and no longer a
    // change.
    virtual void markSent(int number) = 0;
    // The setting is to go out with the next write.
    virtual void markChanged(int number) = 0;
    // Shows a value the controller sent: it is what the controller holds, and no change of the
    // user's any more.
    virtual void show(int number, const QString& value) = 0;
    // Puts in a value as the user would: marked changed exactly when it differs from what was
    // shown, and the controls that depend on it follow. controllerValue: the value is the
    // controller's own; otherwise it is the text an edit box shows or the position of a
    // drop-down item (older settings files).
    virtual void enter(int number, const QString& value, bool controllerValue) = 0;
    // Brings the pages' change marks in line with the changed flags.
    virtual void refreshChangeMarks() = 0;
};

} // namespace talvik::iface
