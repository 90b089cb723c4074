#include "main_page.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace talvik::app {

namespace {
// Space left below the terminal, the page's lowest group.
constexpr int kBottomMargin = 10;
// The restart button is this much lower than the settings group beside it.
constexpr int kRestartShortfall = 8;

std::size_t indexOf(MainPage::Slot slot) {
    return static_cast<std::size_t>(slot);
}
} // namespace

MainPage::MainPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet3"));
    setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));
    for (QVBoxLayout*& slot : m_slots) {
        slot = new QVBoxLayout;
        slot->setContentsMargins(0, 0, 0, 0);
    }
    const auto slot = [this](Slot which) { return m_slots[indexOf(which)]; };

    auto* power = new QHBoxLayout;
    power->addLayout(slot(Slot::Power));
    power->addLayout(slot(Slot::Guard));
    auto* actions = new QHBoxLayout;
    actions->addLayout(slot(Slot::Settings), 1);
    actions->addLayout(slot(Slot::Restart));
    auto* left = new QVBoxLayout;
    left->addLayout(slot(Slot::Connection));
    left->addLayout(slot(Slot::Gsm));
    left->addLayout(power, 1);
    left->addLayout(actions);

    auto* right = new QVBoxLayout;
    right->addLayout(slot(Slot::Upload));
    right->addLayout(slot(Slot::Devices), 1);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 2);
    top->addLayout(right, 3);

    // The terminal takes whatever height the page has left, down to a small margin.
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, kBottomMargin);
    page->addLayout(top);
    page->addLayout(slot(Slot::Terminal), 1);
}

void MainPage::place(Slot slot, QWidget* control) {
    const Qt::Alignment alignment = slot == Slot::Restart ? Qt::AlignBottom : Qt::Alignment();
    m_slots[indexOf(slot)]->addWidget(control, 0, alignment);
    // The layouts around a place keep the sizes they measured until told, and the window sizes
    // the page from them before it is shown.
    for (QLayout* around = m_slots[indexOf(slot)]; around != nullptr;
         around = qobject_cast<QLayout*>(around->parent())) {
        around->invalidate();
    }
    fitRestartToSettings();
    orderFocus();
}

QWidget* MainPage::placed(Slot slot) const {
    const QLayoutItem* item = m_slots[indexOf(slot)]->itemAt(0);
    return item != nullptr ? item->widget() : nullptr;
}

void MainPage::fitRestartToSettings() {
    QWidget* settings = placed(Slot::Settings);
    QWidget* restart = placed(Slot::Restart);
    if (settings != nullptr && restart != nullptr) {
        restart->setMinimumHeight(settings->sizeHint().height() - kRestartShortfall);
    }
}

void MainPage::orderFocus() {
    // The panels are made in the order their wiring needs; Tab goes through the groups in the
    // order a technician reads the page.
    static constexpr Slot kReadingOrder[] = {Slot::Connection, Slot::Gsm,     Slot::Power,
                                             Slot::Guard,      Slot::Upload,  Slot::Devices,
                                             Slot::Settings,   Slot::Restart, Slot::Terminal};
    QWidget* previous = nullptr;
    for (const Slot slot : kReadingOrder) {
        QWidget* group = placed(slot);
        if (group == nullptr) {
            continue;
        }
        QList<QWidget*> stops = group->findChildren<QWidget*>();
        stops.prepend(group);
        for (QWidget* stop : stops) {
            const bool proxy = stop->parentWidget()->focusProxy() == stop;
            // A drop-down's list lives in a window of its own and is no stop of the page.
            const bool elsewhere = stop->window() != group->window();
            if ((stop->focusPolicy() & Qt::TabFocus) == 0 || proxy || elsewhere) {
                continue;
            }
            if (previous != nullptr) {
                setTabOrder(previous, stop);
            }
            previous = stop;
        }
    }
}

QFormLayout* MainPage::formIn(QGroupBox* box) {
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

} // namespace talvik::app
