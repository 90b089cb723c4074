#pragma once

#include <QString>
#include <optional>

namespace talvik::editor {
class SettingsEditor;
} // namespace talvik::editor

namespace talvik::app {

// --set and --get: a setting's value put into its control as the user would type or choose
// it, through the field handlers, and read back as the controller gets it.
class BatchSettings {
public:
    // Types, chooses or ticks `value` in the control of setting `number`: the text of an edit
    // box (key by key, so voice fields take only their words), an item of a drop-down by its
    // text or by the controller's number for it, 0 or 1 for a check box, the number for a group
    // of bit boxes. Returns why the control cannot take it, or an empty text. An edit box's own
    // checks report through the message boxes.
    [[nodiscard]] static QString put(editor::SettingsEditor& editor, int number,
                                     const QString& value);
    // The value of setting `number` as a write sends it; none when there is no such setting.
    [[nodiscard]] static std::optional<QString> get(editor::SettingsEditor& editor, int number);
};

} // namespace talvik::app
