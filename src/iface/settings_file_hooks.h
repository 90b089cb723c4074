#pragma once

namespace talvik::iface {

// "last.set" around a device-type change: the settings-file feature implements it and hands it
// to SettingsEditor.
class SettingsFileHooks {
public:
    virtual ~SettingsFileHooks() = default;
    // Keeps what the pages show before they are rebuilt for a type the user chose.
    virtual void SaveLastSettings() = 0;
    // Puts the kept settings into freshly built pages; never changes the device type.
    virtual void LoadLastSettings() = 0;
};

} // namespace talvik::iface
