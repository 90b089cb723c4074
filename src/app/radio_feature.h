#pragma once

#include "radio_port_link.h"
#include "store_target_settings.h"

#include <memory>

class QWidget;

namespace talvik::devices {
class RadioDevices;
}

namespace talvik::app {

class ControllerSession;
class RadioPage;
class TForm1;

// The radio devices as the window wires them: the logic over the connected port and the
// settings pages' store, its page in the radio tab, the "#R" and removal replies, the
// disconnect, the learning countdown on the link's clock, the assignment targets after a read, and
// the list's upkeep after an edit on the settings pages.
class RadioFeature {
public:
    // Needs the window's settings editor and settings feature; follows the session's controller.
    // sheet: the radio tab (TabSheet1), which the feature's page fills.
    RadioFeature(TForm1& form, ControllerSession& session, QWidget& sheet);
    ~RadioFeature();

    [[nodiscard]] devices::RadioDevices& radio() { return *m_radio; }
    [[nodiscard]] RadioPage& page() { return *m_page; }

private:
    TForm1& m_form;
    RadioPortLink m_link;
    StoreTargetSettings m_settings;
    std::unique_ptr<devices::RadioDevices> m_radio;
    RadioPage* m_page;
};

} // namespace talvik::app
