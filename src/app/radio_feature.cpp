#include "radio_feature.h"

#include "connection.h"
#include "radio_devices.h"
#include "radio_page.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "system_clock.h"
#include "tform1.h"

#include <QLayout>

namespace talvik::app {

RadioFeature::RadioFeature(TForm1& form)
    : m_form(form), m_link(*form.connection), m_settings(form.settingsEditor()),
      m_radio(std::make_unique<devices::RadioDevices>(
          m_link, m_settings, form.dialogs(), support::SystemClock::instance(), form.log())),
      m_page(new RadioPage(*m_radio, form.TabSheet1)) {
    form.TabSheet1->layout()->setContentsMargins(0, 0, 0, 0);
    form.TabSheet1->layout()->addWidget(m_page);

    devices::RadioDevices& radio = *m_radio;
    ConnectionHooks& hooks = form.connection->hooks;
    hooks.OnRadioReply = [&radio](const QString& piece) { radio.OnRadioReport(piece); };
    hooks.OnRemovalReply = [&radio](const QString& value) { radio.OnRemovalReply(value); };
    hooks.ClearRadioList = [&radio] { radio.Clear(); };
    hooks.OnRadioLearningTick = [&radio] { radio.LearningTick(); };
    form.settings().transfer().BuildAssignmentTargets = [&radio] {
        radio.BuildAssignmentTargets();
    };
    form.settingsEditor().handlers().setRadioListUpkeep(m_page);
}

RadioFeature::~RadioFeature() {
    // The connection outlives the features; it must not reach the radio logic once it is gone.
    ConnectionHooks& hooks = m_form.connection->hooks;
    hooks.OnRadioReply = nullptr;
    hooks.OnRemovalReply = nullptr;
    hooks.ClearRadioList = nullptr;
    hooks.OnRadioLearningTick = nullptr;
    m_form.settingsEditor().handlers().setRadioListUpkeep(nullptr);
}

} // namespace talvik::app
