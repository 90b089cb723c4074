#include "settings_feature.h"

#include "compare_versions.h"
#include "controller_session.h"
#include "header_panel.h"
#include "main_page.h"
#include "settings_editor.h"
#include "settings_transfer.h"
#include "tform1.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace talvik::app {

SettingsFeature::SettingsFeature(TForm1& form, ControllerSession& session)
    : m_form(form), m_session(session), m_link(session) {
    HeaderPanel& header = *form.Panel1;
    MainPage& page = *form.TabSheet3;
    m_transfer = std::make_unique<settings::SettingsTransfer>(
        settings::SettingsControls{header.Label5, header.ProgressBar2, header.GroupBox4,
                                   header.PNGButton3, header.PNGButton4, header.PNGButton5,
                                   header.PNGButton6, page.Button1, page.Button4, page.Button11,
                                   page.ComboBox2, form.Timer4},
        form.settingsEditor(), form.dialogs(), form.log(),
        [this]() -> settings::SettingsLink* { return m_link.connected() ? &m_link : nullptr; },
        [&form] { form.changeDeviceType(false); });
    form.settingsEditor().setFileHooks(m_transfer.get());

    settings::SettingsTransfer* transfer = m_transfer.get();
    QObject::connect(&session, &ControllerSession::parameterReply, transfer,
                     &settings::SettingsTransfer::OnParameterReply);
    QObject::connect(&session, &ControllerSession::readDue, transfer, [this] { DecideRead(); });
    QObject::connect(&session, &ControllerSession::disconnecting, transfer,
                     [this] { OnDisconnecting(); });
    QObject::connect(&session, &ControllerSession::disconnected, transfer,
                     [transfer] { transfer->readOffered = false; });
    QObject::connect(&session, &ControllerSession::noReply, transfer,
                     [this] { m_transfer->OnNoReply(m_link); });
    QObject::connect(&session, &ControllerSession::commandSent, transfer,
                     [this] { m_transfer->OnCommandSent(m_link); });
    QObject::connect(&session, &ControllerSession::queueEnded, transfer,
                     &settings::SettingsTransfer::ShowBatchResult);
}

SettingsFeature::~SettingsFeature() = default;

void SettingsFeature::DecideRead() {
    // The link rests while the read offer waits for an answer.
    m_form.Timer1->stop();
    m_transfer->DecideRead();
    m_form.Timer1->start();
}

void SettingsFeature::OnDisconnecting() {
    m_transfer->SaveLastSettings();
    // From firmware 1.66 on the controller is read on every connect, whichever it is.
    if (support::CompareVersions(m_session.versionText(), u"1.66") >= 0) {
        m_transfer->rememberedSerial.clear();
    }
}

} // namespace talvik::app
