#include "guard_panel.h"

#include "controller_status.h"
#include "main_page.h"
#include "named.h"
#include "terminal.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace talvik::app {

namespace {
constexpr int kRestartWidth = 110;
} // namespace

GuardPanel::GuardPanel(MainPage& page, ControllerStatus& status,
                       std::function<link::CommandLink*()> link, Terminal& terminal,
                       QObject* parent)
    : QObject(parent), m_status(status), m_guard(std::move(link)) {
    auto* box = named<QGroupBox>(&page, QStringLiteral("GroupBox7"), QStringLiteral("Охрана"));
    Label18 = named<QLabel>(box, QStringLiteral("Label18"));
    // The guard button shows what it would do; it comes alive with the first status reply.
    Button2 = named<QPushButton>(box, QStringLiteral("Button2"), QStringLiteral("Включить"));
    Button2->setEnabled(false);
    QFormLayout* rows = MainPage::formIn(box);
    rows->addRow(QStringLiteral("Состояние:"), Label18);
    rows->addRow(Button2);
    page.place(MainPage::Slot::Guard, box);

    Button12 = named<QPushButton>(&page, QStringLiteral("Button12"), QStringLiteral("RESTART"));
    Button12->setMinimumWidth(kRestartWidth);
    page.place(MainPage::Slot::Restart, Button12);

    connect(Button2, &QPushButton::clicked, this,
            [this] { m_guard.Button2Click(m_status.guard().buttonCaption); });
    connect(Button12, &QPushButton::clicked, &m_guard, &devices::GuardControl::Button12Click);
    connect(&m_guard, &devices::GuardControl::commandShown, &terminal, &Terminal::PrintSent);
    connect(&status, &ControllerStatus::guardChanged, this, &GuardPanel::showGuard);
}

void GuardPanel::showGuard() {
    const link::StatusValues::Guard& guard = m_status.guard();
    Label18->setText(guard.state);
    Button2->setText(guard.buttonCaption);
    Button2->setEnabled(guard.buttonEnabled);
}

} // namespace talvik::app
