#include "settings_feature.h"

#include "connection.h"
#include "device_type.h"
#include "header_panel.h"
#include "main_page.h"
#include "settings_editor.h"
#include "settings_transfer.h"
#include "tform1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
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

SettingsFeature::SettingsFeature(TForm1& form) : m_link(*form.connection) {
    MainPage& page = *form.TabSheet3;
    m_transfer = std::make_unique<settings::SettingsTransfer>(
        form.settingsEditor(), form.dialogs(), form.log(),
        [this]() -> settings::SettingsLink* { return m_link.connected() ? &m_link : nullptr; },
        typeChoice(form));
    form.settingsEditor().setFileHooks(m_transfer.get());
    form.Panel1->follow(*m_transfer);

    settings::SettingsTransfer& transfer = *m_transfer;
    QObject::connect(page.Button4, &QPushButton::clicked, &transfer,
                     &settings::SettingsTransfer::Button4Click);
    QObject::connect(page.Button11, &QPushButton::clicked, &transfer,
                     &settings::SettingsTransfer::Button11Click);
    ConnectionHooks& hooks = form.connection->hooks;
    hooks.OnParameterReply = [&transfer](const QString& piece) {
        transfer.OnParameterReply(piece);
    };
    hooks.DecideRead = [&transfer, &page] { transfer.DecideRead(page.Edit1->text()); };
    hooks.SaveLastSettings = [&transfer] { transfer.SaveLastSettings(); };
    hooks.ClearRememberedSerial = [&transfer] { transfer.rememberedSerial.clear(); };
    hooks.ClearReadOffered = [&transfer] { transfer.readOffered = false; };
    hooks.OnNoReply = [this](CPort&) { m_transfer->OnNoReply(m_link); };
    hooks.OnCommandSent = [this](CPort&) { m_transfer->OnCommandSent(m_link); };
    hooks.OnQueueEnd = [&transfer](CPort&) { transfer.ShowBatchResult(); };
}

SettingsFeature::~SettingsFeature() = default;

} // namespace talvik::app
