#include "settings_feature.h"

#include "compare_versions.h"
#include "connection.h"
#include "controller_session.h"
#include "controller_status.h"
#include "device_type.h"
#include "main_page.h"
#include "named.h"
#include "settings_editor.h"
#include "settings_transfer.h"
#include "tform1.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <algorithm>
#include <iterator>

namespace talvik::app {

namespace {
// The device type chosen on the main page; a settings file may choose another one.
settings::SettingsTransfer::TypeChoice typeChoice(TForm1& form) {
    return {
        [&form] { return iface::DeviceType::codeForPosition(form.status().deviceTypePosition()); },
        [&form](int code) {
            const auto* position = std::ranges::find(iface::DeviceType::kCodes, code);
            form.showDeviceType(static_cast<int>(position - std::begin(iface::DeviceType::kCodes)));
        }};
}
} // namespace

SettingsFeature::SettingsFeature(TForm1& form, ControllerSession& session, MainPage& page)
    : m_form(form), m_session(session), m_link(session) {
    m_transfer = std::make_unique<settings::SettingsTransfer>(
        form.settingsEditor(), form.dialogs(), form.log(),
        [this]() -> settings::SettingsLink* { return m_link.connected() ? &m_link : nullptr; },
        typeChoice(form));
    form.settingsEditor().setFileHooks(m_transfer.get());

    settings::SettingsTransfer* transfer = m_transfer.get();
    buildGroup(page);
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

void SettingsFeature::buildGroup(MainPage& page) {
    auto* box = named<QGroupBox>(&page, QStringLiteral("GroupBox8"), QStringLiteral("Настройки"));
    auto* Button4 =
        named<QPushButton>(box, QStringLiteral("Button4"), QStringLiteral("Заводские настройки"));
    auto* Button11 =
        named<QPushButton>(box, QStringLiteral("Button11"), QStringLiteral("Сброс логина"));
    auto* buttons = new QHBoxLayout(box);
    buttons->addWidget(Button4);
    buttons->addWidget(Button11);
    buttons->addStretch();
    page.place(MainPage::Slot::Settings, box);
    settings::SettingsTransfer* transfer = m_transfer.get();
    QObject::connect(Button4, &QPushButton::clicked, transfer,
                     &settings::SettingsTransfer::Button4Click);
    QObject::connect(Button11, &QPushButton::clicked, transfer,
                     &settings::SettingsTransfer::Button11Click);
}

void SettingsFeature::DecideRead() {
    // The link rests while the read offer waits for an answer.
    m_form.connection().restWhile([this] { m_transfer->DecideRead(); });
}

void SettingsFeature::OnDisconnecting() {
    m_transfer->SaveLastSettings();
    // From firmware 1.66 on the controller is read on every connect, whichever it is.
    if (support::CompareVersions(m_session.versionText(), u"1.66") >= 0) {
        m_transfer->rememberedSerial.clear();
    }
}

} // namespace talvik::app
