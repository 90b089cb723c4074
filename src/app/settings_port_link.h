#pragma once

#include "settings_link.h"

namespace talvik::app {

class ControllerSession;

// The connected controller's port as the settings transfer sees it. It follows whichever port
// is connected at the moment, so the settings transfer never holds on to a port that is gone.
class SettingsPortLink final : public settings::SettingsLink {
public:
    explicit SettingsPortLink(ControllerSession& session) : m_session(session) {}

    // Whether a controller is connected (the other operations need one).
    [[nodiscard]] bool connected() const;

    void SendCommand(const QString& command, link::SendFlag flag) override;
    void SendText(const QByteArray& text, link::SendFlag channel) override;
    [[nodiscard]] QString VersionText() const override;
    [[nodiscard]] QString SerialNumber() const override;
    [[nodiscard]] QByteArray Current() const override;
    void ClearCurrent() override;
    void TouchLastSendTime() override;
    [[nodiscard]] int& dumpActive() override;
    [[nodiscard]] int& lastDumpNumber() override;
    [[nodiscard]] std::deque<int>& missingNumbers() override;
    [[nodiscard]] int& errorCount() override;

private:
    ControllerSession& m_session;
};

} // namespace talvik::app
