#include "store_target_settings.h"

#include "settings_editor.h"

#include <QLineEdit>

namespace talvik::app {

namespace {
// The edit box bound to a setting; null when the store lacks the setting or it has none.
QLineEdit* editOf(editor::SettingsEditor& editor, int setting) {
    const editor::Parameter* record = editor.store().find(setting);
    return record == nullptr ? nullptr : qobject_cast<QLineEdit*>(record->control.data());
}
} // namespace

std::optional<QString> StoreTargetSettings::text(int setting) const {
    const QLineEdit* edit = editOf(m_editor, setting);
    return edit == nullptr ? std::nullopt : std::optional<QString>(edit->text());
}

void StoreTargetSettings::setText(int setting, const QString& text) {
    if (QLineEdit* edit = editOf(m_editor, setting)) {
        edit->setText(text);
    }
}

void StoreTargetSettings::markChanged(int setting) {
    if (editOf(m_editor, setting) != nullptr) {
        m_editor.store().find(setting)->changed = true;
    }
}

} // namespace talvik::app
