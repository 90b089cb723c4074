#pragma once

#include "target_settings.h"

namespace talvik::editor {
class SettingsEditor;
}

namespace talvik::app {

// The assignment targets' settings in the settings pages' store: the text of a setting's edit
// box and its changed flag. It asks the editor each time, since the pages (and the store's
// records) are rebuilt with every device-type change.
class StoreTargetSettings final : public devices::TargetSettings {
public:
    explicit StoreTargetSettings(editor::SettingsEditor& editor) : m_editor(editor) {}

    [[nodiscard]] std::optional<QString> text(int setting) const override;
    void setText(int setting, const QString& text) override;
    void markChanged(int setting) override;

private:
    editor::SettingsEditor& m_editor;
};

} // namespace talvik::app
