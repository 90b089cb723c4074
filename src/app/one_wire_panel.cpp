#include "one_wire_panel.h"

#include "controller_session.h"
#include "main_page.h"
#include "parameter_store.h"
#include "settings_editor.h"
#include "status_values.h"
#include "thermometer_list.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace talvik::app {

OneWirePanel::OneWirePanel(MainPage& page, ControllerSession& session,
                           std::function<link::CommandLink*()> link, support::Dialogs& dialogs,
                           support::Clipboard& clipboard, const QHash<int, QString>& serials,
                           editor::SettingsEditor& editor, QObject* parent)
    : QObject(parent), Button10(page.Button10), Button3(page.Button3), ListView2(page.ListView2),
      m_oneWire(std::move(link), dialogs, clipboard), m_serials(serials), m_editor(editor) {
    connect(Button10, &QPushButton::clicked, this,
            [this] { m_oneWire.Button10Click(devices::OneWire::Sender::AddKeys); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { m_oneWire.Button10Click(devices::OneWire::Sender::RemoveAll); });
    connect(&session, &ControllerSession::keyTouched, &m_oneWire, &devices::OneWire::OnKeyTouch);
    connect(&session, &ControllerSession::statusReply, this, &OneWirePanel::UpdateThermometers);
}

void OneWirePanel::UpdateThermometers(int number, const QString& readings) {
    if (number != link::StatusValues::kThermometers) {
        return;
    }
    const QList<devices::ThermometerList::Row> rows = devices::ThermometerList::Rows(
        readings, m_serials, [this](int setting) { return nameOf(setting); }, QLocale());
    QList<QTreeWidgetItem*> items;
    for (const devices::ThermometerList::Row& row : rows) {
        items.append(new QTreeWidgetItem({row.number, row.temperature, row.serial, row.name}));
    }
    ListView2->setUpdatesEnabled(false);
    ListView2->clear();
    ListView2->addTopLevelItems(items);
    ListView2->setUpdatesEnabled(true);
}

QString OneWirePanel::nameOf(int setting) const {
    const editor::Parameter* record = m_editor.store().find(setting);
    const QWidget* control = record != nullptr ? record->control.data() : nullptr;
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
        return combo->currentText();
    }
    return {};
}

} // namespace talvik::app
