#include "radio_feature.h"

#include "connection.h"
#include "controller_session.h"
#include "radio_devices.h"
#include "radio_page.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "status_values.h"
#include "system_clock.h"
#include "tform1.h"

#include <QLayout>

namespace talvik::app {

RadioFeature::RadioFeature(TForm1& form, ControllerSession& session, QWidget& sheet)
    : m_form(form), m_link(session), m_settings(form.settingsEditor()),
      m_radio(std::make_unique<devices::RadioDevices>(
          m_link, m_settings, form.dialogs(), support::SystemClock::instance(), form.log())),
      m_page(new RadioPage(*m_radio, &sheet)) {
    sheet.layout()->setContentsMargins(0, 0, 0, 0);
    sheet.layout()->addWidget(m_page);

    devices::RadioDevices& radio = *m_radio;
    QObject::connect(&session, &ControllerSession::radioReply, &radio,
                     &devices::RadioDevices::OnRadioReport);
    QObject::connect(&session, &ControllerSession::statusReply, &radio,
                     [&radio](int number, const QString& value) {
                         if (number == link::StatusValues::kRadioRemoval) {
                             radio.OnRemovalReply(value);
                         }
                     });
    QObject::connect(&session, &ControllerSession::disconnected, &radio,
                     &devices::RadioDevices::Clear);
    // The learning countdown runs with the link's clock, connected or not.
    QObject::connect(&form.connection(), &Connection::ticked, &radio,
                     &devices::RadioDevices::LearningTick);
    form.settings().transfer().BuildAssignmentTargets = [&radio] {
        radio.BuildAssignmentTargets();
    };
    form.settingsEditor().handlers().setRadioListUpkeep(m_page);
}

RadioFeature::~RadioFeature() {
    m_form.settingsEditor().handlers().setRadioListUpkeep(nullptr);
}

} // namespace talvik::app
