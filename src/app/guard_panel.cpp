#include "guard_panel.h"

#include "controller_session.h"
#include "main_page.h"
#include "terminal.h"

#include <QPushButton>

namespace talvik::app {

GuardPanel::GuardPanel(MainPage& page, ControllerSession& session,
                       std::function<link::CommandLink*()> link, Terminal& terminal,
                       QObject* parent)
    : QObject(parent), Button2(page.Button2), Button12(page.Button12), m_guard(std::move(link)) {
    connect(Button2, &QPushButton::clicked, this,
            [this] { m_guard.Button2Click(m_state.buttonCaption); });
    connect(Button12, &QPushButton::clicked, &m_guard, &devices::GuardControl::Button12Click);
    connect(&m_guard, &devices::GuardControl::commandShown, &terminal, &Terminal::PrintSent);
    connect(&session, &ControllerSession::statusReply, this, &GuardPanel::ShowGuard);
}

void GuardPanel::ShowGuard(int number, const QString& value) {
    if (number != link::StatusValues::kGuard) {
        return;
    }
    m_state = link::StatusValues::GuardFor(value);
    Button2->setText(m_state.buttonCaption);
    Button2->setEnabled(m_state.buttonEnabled);
}

} // namespace talvik::app
