#include "guard_panel.h"

#include "main_page.h"
#include "terminal.h"

#include <QPushButton>

namespace talvik::app {

GuardPanel::GuardPanel(MainPage& page, std::function<link::CommandLink*()> link, Terminal& terminal,
                       QObject* parent)
    : QObject(parent), Button2(page.Button2), Button12(page.Button12), m_guard(std::move(link)) {
    connect(Button2, &QPushButton::clicked, this,
            [this] { m_guard.Button2Click(Button2->text()); });
    connect(Button12, &QPushButton::clicked, &m_guard, &devices::GuardControl::Button12Click);
    connect(&m_guard, &devices::GuardControl::commandShown, &terminal, &Terminal::PrintSent);
}

} // namespace talvik::app
