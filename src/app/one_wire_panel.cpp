#include "one_wire_panel.h"

#include "controller_session.h"
#include "main_page.h"
#include "named.h"
#include "parameter_store.h"
#include "settings_editor.h"
#include "status_values.h"
#include "thermometer_list.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace talvik::app {

namespace {
const QString kOneWireHint =
    QStringLiteral("В качестве устройств 1-Wire могут использоваться электронные \n"
                   "ключи DS1990 и термометры DS1820 DS18B20 DS18S20. Добавление \n"
                   "термометров происходит автоматически при их подключении. \n"
                   "Добавление ТМ ключей по кнопке 'Добавление ТМ ключей'. \n"
                   "По кнопке 'Удаление всех устройств' происходит удаление \n"
                   "и термодатчиков и ТМ ключей.");
constexpr int kNumberWidth = 30;
constexpr int kSerialWidth = 110;
constexpr int kListMinimumHeight = 90;
} // namespace

OneWirePanel::OneWirePanel(MainPage& page, ControllerSession& session,
                           std::function<link::CommandLink*()> link, support::Dialogs& dialogs,
                           support::Clipboard& clipboard, const QHash<int, QString>& serials,
                           editor::SettingsEditor& editor, QObject* parent)
    : QObject(parent), m_oneWire(std::move(link), dialogs, clipboard), m_serials(serials),
      m_editor(editor) {
    build(page);
    connect(Button10, &QPushButton::clicked, this,
            [this] { m_oneWire.Button10Click(devices::OneWire::Sender::AddKeys); });
    connect(Button3, &QPushButton::clicked, this,
            [this] { m_oneWire.Button10Click(devices::OneWire::Sender::RemoveAll); });
    connect(&session, &ControllerSession::keyTouched, &m_oneWire, &devices::OneWire::OnKeyTouch);
    connect(&session, &ControllerSession::statusReply, this, &OneWirePanel::UpdateThermometers);
}

void OneWirePanel::build(MainPage& page) {
    auto* box =
        named<QGroupBox>(&page, QStringLiteral("GroupBox1"), QStringLiteral("Устройства 1-Wire"));
    Button10 =
        named<QPushButton>(box, QStringLiteral("Button10"), QStringLiteral("Добавление ТМ ключей"));
    Button3 = named<QPushButton>(box, QStringLiteral("Button3"),
                                 QStringLiteral("Удаление всех устройств"));
    ListView2 = named<QTreeWidget>(box, QStringLiteral("ListView2"));
    ListView2->setRootIsDecorated(false);
    ListView2->setHeaderLabels({QStringLiteral("№"), QStringLiteral("°С"),
                                QStringLiteral("Серийный №"), QStringLiteral("Название")});
    ListView2->setColumnWidth(0, kNumberWidth);
    ListView2->setColumnWidth(2, kSerialWidth);
    ListView2->header()->setStretchLastSection(true);
    ListView2->setMinimumHeight(kListMinimumHeight);
    for (QWidget* hinted : std::initializer_list<QWidget*>{box, Button3, Button10}) {
        hinted->setToolTip(kOneWireHint);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button10);
    buttons->addWidget(Button3);
    buttons->addStretch();
    auto* rows = new QVBoxLayout(box);
    rows->addLayout(buttons);
    rows->addWidget(ListView2, 1);
    page.place(MainPage::Slot::Devices, box);
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
