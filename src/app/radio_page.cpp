#include "radio_page.h"

#include "named.h"
#include "radio_devices.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {

const QString kLearn = u"Добавление радиоустройств"_s;
const QString kStop = u"Стоп"_s;
constexpr int kCountdownPointSize = 20;

// A QMenu caption shows "&" as an accelerator mark unless it is doubled.
QString literalCaption(QString name) {
    return name.replace(u'&', u"&&"_s);
}

} // namespace

RadioPage::RadioPage(devices::RadioDevices& radio, QWidget* parent)
    : QWidget(parent), ListView1(named<QTreeWidget>(this, u"ListView1"_s)),
      noteLabel(named<QLabel>(this, u"RadioNote"_s,
                              u"* Правой кнопкой мыши на полях Зона, Пользователь, Термометр "
                              u"можно выбрать значение из списка"_s)),
      Button15(named<QPushButton>(this, u"Button15"_s, u"Очистить время"_s)),
      Button16(named<QPushButton>(this, u"Button16"_s, kLearn)),
      Label7(named<QLabel>(this, u"Label7"_s, u"60"_s)),
      Button17(named<QPushButton>(this, u"Button17"_s, u"Удаление выбранного"_s)), m_radio(radio),
      m_list(radio.list()) {
    buildList();
    QFont big = Label7->font();
    big.setBold(true);
    big.setPointSize(kCountdownPointSize);
    Label7->setFont(big);
    Label7->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button15);
    buttons->addStretch();
    buttons->addWidget(Label7);
    buttons->addWidget(Button16);
    buttons->addWidget(Button17);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListView1, 1);
    layout->addWidget(noteLabel);
    layout->addLayout(buttons);

    connect(Button15, &QPushButton::clicked, &m_radio, &devices::RadioDevices::Button15Click);
    connect(Button16, &QPushButton::clicked, &m_radio, &devices::RadioDevices::Button16Click);
    connect(Button17, &QPushButton::clicked, this, &RadioPage::Button17Click);
    connect(&m_radio, &devices::RadioDevices::learningChanged, this, &RadioPage::showLearning);
    connect(&m_radio, &devices::RadioDevices::countdownChanged, Label7,
            [this](int seconds) { Label7->setText(QString::number(seconds)); });
    connect(&m_list, &devices::RadioDeviceList::rowInserted, this, &RadioPage::insertRow);
    connect(&m_list, &devices::RadioDeviceList::rowChanged, this, &RadioPage::showRow);
    connect(&m_list, &devices::RadioDeviceList::rowRemoved, this, &RadioPage::removeRow);
    connect(&m_list, &devices::RadioDeviceList::listReset, this, &RadioPage::showAllRows);
}

void RadioPage::buildList() {
    ListView1->setHeaderLabels({u"Номер"_s, u"Тип"_s, u"Радиозона"_s, u"Пользователь"_s,
                                u"Термометр"_s, u"Данные"_s, u"Время"_s});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSortingEnabled(false);
    // Grid lines between the cells, as a report view draws them.
    ListView1->setStyleSheet(u"QTreeView::item { border-right: 1px solid palette(midlight); "
                             u"border-bottom: 1px solid palette(midlight); }"_s);
    QHeaderView* header = ListView1->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(1);
    for (int column = 0; column < ListView1->columnCount(); ++column) {
        header->resizeSection(column, kColumnWidths[column]);
    }
    header->setSectionResizeMode(kDataColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(ListView1->columnCount() - 1, QHeaderView::Fixed);
    connect(header, &QHeaderView::sectionResized, this, &RadioPage::keepMinimumWidth);
    ListView1->viewport()->installEventFilter(this);
}

void RadioPage::keepMinimumWidth(int column, int, int newSize) {
    // Every column keeps its given width as the least the user may drag it to.
    if (column != kDataColumn && newSize < kColumnWidths[column]) {
        ListView1->header()->resizeSection(column, kColumnWidths[column]);
    }
}

void RadioPage::showRow(int index) {
    QTreeWidgetItem* item = ListView1->topLevelItem(index);
    const devices::RadioDeviceList::Row& row = m_list.row(index);
    // Only the cells that changed are set, so a report repaints what it changed and nothing
    // else.
    if (item->text(0) != row.number) {
        item->setText(0, row.number);
    }
    for (int cell = 0; cell < devices::RadioDeviceList::kSubItems; ++cell) {
        const QString& text = row.cells[static_cast<size_t>(cell)];
        if (item->text(cell + 1) != text) {
            item->setText(cell + 1, text);
        }
    }
}

void RadioPage::insertRow(int index) {
    ListView1->insertTopLevelItem(index, new QTreeWidgetItem);
    showRow(index);
}

void RadioPage::removeRow(int index) {
    delete ListView1->takeTopLevelItem(index);
}

void RadioPage::showAllRows() {
    while (ListView1->topLevelItemCount() > m_list.rowCount()) {
        removeRow(ListView1->topLevelItemCount() - 1);
    }
    while (ListView1->topLevelItemCount() < m_list.rowCount()) {
        ListView1->addTopLevelItem(new QTreeWidgetItem);
    }
    for (int index = 0; index < m_list.rowCount(); ++index) {
        showRow(index);
    }
}

void RadioPage::showLearning(bool learning) {
    Button16->setText(learning ? kStop : kLearn);
    Label7->setVisible(learning);
}

void RadioPage::ShowTargetAssignments(int setting) {
    m_radio.RefreshTarget(setting);
}

void RadioPage::RenameUser(int setting, const QString& text) {
    m_radio.RenameUser(setting, text);
}

bool RadioPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        const QPoint at = press->position().toPoint();
        ListView1MouseDown(press->button(), at.x(), at.y());
    }
    return QWidget::eventFilter(watched, event);
}

void RadioPage::ListView1MouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::RightButton) {
        return;
    }
    QTreeWidgetItem* item = ListView1->itemAt(x, y);
    if (item == nullptr) {
        return;
    }
    QList<int> widths;
    for (int column = 0; column < ListView1->columnCount(); ++column) {
        widths.append(ListView1->columnWidth(column));
    }
    const int kind = devices::RadioDevices::KindAt(x, widths);
    if (kind == 0) {
        return;
    }
    if (m_menu) {
        m_menu->deleteLater();
    }
    m_menu = new QMenu(this);
    m_menu->setObjectName(u"RadioChoiceMenu"_s);
    for (const devices::RadioDevices::MenuEntry& entry :
         m_radio.MenuFor(ListView1->indexOfTopLevelItem(item), kind)) {
        QAction* action = m_menu->addAction(literalCaption(entry.name));
        action->setCheckable(true);
        action->setChecked(entry.checked);
        // The row is the selected one at the time of the click, as the press selects it first.
        connect(action, &QAction::triggered, this,
                [this, kind, entry] { m_radio.MenuClick(firstSelectedRow(), kind, entry); });
    }
    m_menu->popup(ListView1->viewport()->mapToGlobal(QPoint(x, y)));
}

std::optional<int> RadioPage::firstSelectedRow() const {
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? std::nullopt : std::optional<int>(rows.first());
}

QList<int> RadioPage::selectedRows() const {
    QList<int> rows;
    for (QTreeWidgetItem* item : ListView1->selectedItems()) {
        rows.append(ListView1->indexOfTopLevelItem(item));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void RadioPage::Button17Click() {
    m_radio.Button17Click(selectedRows());
}

} // namespace talvik::app
