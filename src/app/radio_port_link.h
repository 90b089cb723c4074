#pragma once

#include "radio_link.h"

namespace talvik::app {

class ControllerSession;

// The connected controller's port as the radio page sees it; it follows whichever port is
// connected at the moment.
class RadioPortLink final : public devices::RadioLink {
public:
    explicit RadioPortLink(ControllerSession& session) : m_session(session) {}

    [[nodiscard]] bool connected() const override;
    [[nodiscard]] QString VersionText() const override;
    void SendCommand(const QString& command, link::SendFlag flag) override;

private:
    ControllerSession& m_session;
};

} // namespace talvik::app
