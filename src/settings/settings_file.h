#pragma once

#include "parameter.h"

#include <QByteArray>

namespace talvik::editor {
class FieldHandlers;
class ParameterStore;
} // namespace talvik::editor
namespace talvik::iface {
class Node;
}

namespace talvik::settings {

// The ".set" settings file: a JSON array of a header {"HW": "<type code>"} and one element per
// setting, {"Value": <number>, "<kind name>": <value>}, holding the controller's values.
class SettingsFile {
public:
    // The file text for the store, under the given device-type code. Settings 214 and 683 are
    // written relative to the time zone (447) when it is shown, as a write sends them.
    [[nodiscard]] static QByteArray compose(const editor::ParameterStore& store, int typeCode);

    // The value of a setting element: under the kind name of the setting's own kind first,
    // then under the first kind name present; an invalid node when it holds none.
    [[nodiscard]] static iface::Node elementValue(const iface::Node& element,
                                                  editor::Parameter::Kind kind);

    // What the header and the serial numbers of a file say about it.
    struct Survey {
        // The device type the file is for; 0 when it does not say.
        int type = 0;
        // "HW" written as a text marks the current format, whose numbers are the
        // controller's; older files hold the displayed texts and item positions.
        bool currentFormat = false;
    };
    // Reads the header of a parsed file (the root list). A Pellam Q5 controller's settings
    // saved under TQ-13 or TQ-14 are taken as Pellam Q5 settings.
    [[nodiscard]] static Survey survey(const iface::Node& root);

    // Puts the file's values into the store and the controls. Exactly the values that differ
    // from what was shown before are marked changed, through the field handlers, and their
    // dependent controls follow. Once the time zone is shown, 214 and 683 are raised by it,
    // undoing what compose did, so that a file saved and loaded gives back every value.
    static void apply(const iface::Node& root, bool currentFormat, editor::ParameterStore& store,
                      editor::FieldHandlers& handlers);
};

} // namespace talvik::settings
