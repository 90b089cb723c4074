#include "batch_settings.h"

#include "field_handlers.h"
#include "parameter_store.h"
#include "settings_editor.h"
#include "settings_wire.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace talvik::app {

using editor::FieldHandlers;
using editor::Parameter;
namespace SettingsWire = settings::SettingsWire;

namespace {

QString type(FieldHandlers& handlers, QLineEdit* edit, const QString& value) {
    handlers.editEnter(edit);
    edit->clear();
    for (const QChar key : value) {
        if (!handlers.editKeyPress(edit, QString(key), false, false)) {
            handlers.destroySuggestions();
            edit->setText(handlers.entryText());
            return u"no voice word begins with \"%1\""_s.arg(
                value.left(edit->text().size() + 1).section(u' ', -1));
        }
        edit->setText(edit->text() + key);
    }
    handlers.destroySuggestions();
    handlers.editExit(edit);
    return {};
}

QString choose(FieldHandlers& handlers, const Parameter& record, QComboBox* combo,
               const QString& value) {
    int index = combo->findText(value, Qt::MatchExactly);
    bool isNumber = false;
    const int number = value.toInt(&isNumber);
    if (index < 0 && isNumber) {
        index =
            record.numbers.isEmpty() ? number : static_cast<int>(record.numbers.indexOf(number));
    }
    if (index < 0 || index >= combo->count()) {
        return u"the list has no item \"%1\""_s.arg(value);
    }
    combo->setCurrentIndex(index);
    handlers.dropDownSelect(combo);
    return {};
}

// A click on the box when it should change.
void tick(FieldHandlers& handlers, QCheckBox* box, bool checked) {
    if (box->isChecked() != checked) {
        handlers.checkBoxMouseDown(box);
        box->setChecked(checked);
    }
}

QString tickBits(FieldHandlers& handlers, const Parameter& record, const QString& value) {
    bool isNumber = false;
    const qulonglong bits = value.toULongLong(&isNumber);
    const qsizetype count = record.controls.size();
    if (!isNumber || (count < 64 && bits >> count != 0)) {
        return u"takes a number from 0 to %1"_s.arg((qulonglong{1} << count) - 1);
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (record.controls[i] != nullptr) {
            tick(handlers, record.controls[i], (bits >> i & 1U) != 0);
        }
    }
    return {};
}

} // namespace

QString BatchSettings::put(editor::SettingsEditor& editor, int number, const QString& value) {
    Parameter* record = editor.store().find(number);
    if (record == nullptr || record->control == nullptr) {
        return u"no page of this device type shows it"_s;
    }
    if (!record->control->isEnabled()) {
        return u"another setting switches it off"_s;
    }
    FieldHandlers& handlers = editor.handlers();
    if (auto* edit = qobject_cast<QLineEdit*>(record->control.data())) {
        return type(handlers, edit, value);
    }
    if (auto* combo = qobject_cast<QComboBox*>(record->control.data())) {
        return choose(handlers, *record, combo, value);
    }
    if (auto* box = qobject_cast<QCheckBox*>(record->control.data())) {
        if (value != u"0"_s && value != u"1"_s) {
            return u"takes 0 or 1"_s;
        }
        tick(handlers, box, value == u"1"_s);
        return {};
    }
    return tickBits(handlers, *record, value);
}

std::optional<QString> BatchSettings::get(editor::SettingsEditor& editor, int number) {
    const Parameter* record = editor.store().find(number);
    if (record == nullptr) {
        return std::nullopt;
    }
    return SettingsWire::deviceValue(editor, number, editor.version());
}

} // namespace talvik::app
