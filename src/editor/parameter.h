#pragma once

#include "edit_special.h"

#include <QCheckBox>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

namespace talvik::editor {

// One numbered controller setting: how its value is coded, which control shows it, and whether
// the user changed it since it was last sent to or read from the controller.
struct Parameter {
    // Kind of control; the numbers are those of the settings files' kind names.
    enum class Kind : int { None = 0, Edit = 1, Combo = 2, Check = 3, Bits = 4 };
    // A setting's value is a 32-bit integer, so only the first 32 boxes of a Bits setting count.
    static constexpr int kBitCount = 32;
    // The login the web service gave the controller: shown, never edited, written or saved.
    static constexpr int kLogin = 314;

    int number = 0;
    Kind kind = Kind::None;
    // The value form of an Edit.
    iface::EditSpecial special = iface::EditSpecial::Plain;
    int limitLow = 0;
    int limitHigh = 0;
    int offset = 0;
    bool changed = false;
    // The value the controller is known to hold (last read from it or sent to it) or, before
    // either, the value the pages were built with; none for a setting that never had one. The
    // user putting this value back takes the change away.
    std::optional<QString> held;
    // The edit box, drop-down list, check box or, for Bits, the group box. Guarded, so a record
    // that outlives its page reads as having no control.
    QPointer<QWidget> control;
    // The value of a record without a control (kind None).
    QString valueText;
    // Bits: the bit check boxes, bit i at position i.
    QList<QPointer<QCheckBox>> controls;
    // Combo: the item codes (empty when the stored value is the item's position).
    // Check: the settings whose controls are disabled while the box is checked.
    QList<int> numbers;

    // "None", "Edit", "Combo", "Check" or "Bits": the kind as settings files name it.
    [[nodiscard]] static QString kindName(Kind kind);
    // The kind for a settings file's kind name; None for an unknown name.
    [[nodiscard]] static Kind kindFromName(QStringView name);
};

} // namespace talvik::editor
