#include "settings_feature.h"

#include "compare_versions.h"
#include "controller_session.h"
#include "device_type.h"
#include "header_panel.h"
#include "main_page.h"
#include "settings_editor.h"
#include "settings_transfer.h"
#include "tform1.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <iterator>

namespace talvik::app {

namespace {
// The device type chosen in ComboBox2; a settings file may choose another one.
settings::SettingsTransfer::TypeChoice typeChoice(TForm1& form) {
    QComboBox* types = form.TabSheet3->ComboBox2;
    return {[types] { return iface::DeviceType::codeForPosition(types->currentIndex()); },
            [types, &form](int code) {
                const auto* position = std::ranges::find(iface::DeviceType::kCodes, code);
                {
                    const QSignalBlocker blocker(types);
                    types->setCurrentIndex(
                        static_cast<int>(position - std::begin(iface::DeviceType::kCodes)));
                }
                form.changeDeviceType(false);
            }};
}
} // namespace

SettingsFeature::SettingsFeature(TForm1& form, ControllerSession& session)
    : m_form(form), m_session(session), m_link(session) {
    MainPage& page = *form.TabSheet3;
    m_transfer = std::make_unique<settings::SettingsTransfer>(
        form.settingsEditor(), form.dialogs(), form.log(),
        [this]() -> settings::SettingsLink* { return m_link.connected() ? &m_link : nullptr; },
        typeChoice(form));
    form.settingsEditor().setFileHooks(m_transfer.get());
    form.Panel1->follow(*m_transfer);

    settings::SettingsTransfer* transfer = m_transfer.get();
    QObject::connect(page.Button4, &QPushButton::clicked, transfer,
                     &settings::SettingsTransfer::Button4Click);
    QObject::connect(page.Button11, &QPushButton::clicked, transfer,
                     &settings::SettingsTransfer::Button11Click);
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
