#pragma once

#include <QString>

namespace talvik::editor {

// The settings files as the device-type change needs them ("last.set" around a change made by
// the user): the settings-file feature implements it and hands it to SettingsEditor.
class SettingsFileHooks {
public:
    virtual ~SettingsFileHooks() = default;
    virtual void SaveSettingsFile(const QString& path) = 0;
    virtual void LoadSettingsFile(const QString& path) = 0;
};

} // namespace talvik::editor
