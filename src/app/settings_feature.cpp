#include "settings_feature.h"

#include "connection.h"
#include "header_panel.h"
#include "main_page.h"
#include "settings_editor.h"
#include "settings_transfer.h"
#include "tform1.h"

#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>

namespace talvik::app {

SettingsFeature::SettingsFeature(TForm1& form) : m_link(*form.connection) {
    HeaderPanel& header = *form.Panel1;
    MainPage& page = *form.TabSheet3;
    m_transfer = std::make_unique<settings::SettingsTransfer>(
        settings::SettingsControls{header.Label5, header.ProgressBar2, header.GroupBox4,
                                   header.PNGButton3, header.PNGButton4, header.PNGButton5,
                                   header.PNGButton6, page.Button1, page.Button4, page.Button11,
                                   page.Label6, page.Edit1, page.ComboBox2, form.Timer4},
        form.settingsEditor(), form.dialogs(), form.log(),
        [this]() -> settings::SettingsLink* { return m_link.connected() ? &m_link : nullptr; },
        [&form] { form.changeDeviceType(false); });
    form.settingsEditor().setFileHooks(m_transfer.get());

    settings::SettingsTransfer& transfer = *m_transfer;
    ConnectionHooks& hooks = form.connection->hooks;
    hooks.OnParameterReply = [&transfer](const QString& piece) {
        transfer.OnParameterReply(piece);
    };
    hooks.DecideRead = [&transfer] { transfer.DecideRead(); };
    hooks.SaveLastSettings = [&transfer] { transfer.SaveLastSettings(); };
    hooks.ClearRememberedSerial = [&transfer] { transfer.rememberedSerial.clear(); };
    hooks.ClearReadOffered = [&transfer] { transfer.readOffered = false; };
    hooks.OnNoReply = [this](CPort&) { m_transfer->OnNoReply(m_link); };
    hooks.OnCommandSent = [this](CPort&) { m_transfer->OnCommandSent(m_link); };
    hooks.OnQueueEnd = [&transfer](CPort&) { transfer.ShowBatchResult(); };
}

SettingsFeature::~SettingsFeature() = default;

} // namespace talvik::app
