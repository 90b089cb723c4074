#pragma once

#include <QString>
#include <optional>

namespace talvik::devices {

// The settings that radio devices are assigned to, as the assignments see them: the text of a
// setting's bound control and its changed flag. The window's setting store provides it.
class TargetSettings {
public:
    virtual ~TargetSettings() = default;
    // The text of the setting's bound control; nothing when the store lacks the setting or the
    // setting has no control with a text.
    [[nodiscard]] virtual std::optional<QString> text(int setting) const = 0;
    // Puts a text into the setting's control (does nothing where text() gives nothing).
    virtual void setText(int setting, const QString& text) = 0;
    // Marks the setting to be sent with the next write.
    virtual void markChanged(int setting) = 0;
};

} // namespace talvik::devices
