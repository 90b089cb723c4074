#pragma once

#include <QString>

namespace talvik::editor {

// What the radio device list does when the user leaves an edit box of the settings pages: the
// radio feature implements it and hands it to FieldHandlers::setRadioListUpkeep.
class RadioListUpkeep {
public:
    virtual ~RadioListUpkeep() = default;
    // Shows the list's cells for an assignment target again when `setting` holds one.
    virtual void ShowTargetAssignments(int setting) = 0;
    // Renames a user when `setting` holds a user name.
    virtual void RenameUser(int setting, const QString& text) = 0;
};

} // namespace talvik::editor
