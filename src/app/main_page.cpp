#include "main_page.h"

#include "named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace talvik::app {

namespace {
// Space left below the terminal, the page's lowest group.
constexpr int kBottomMargin = 10;

QFormLayout* formIn(QGroupBox* box) {
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignLeft);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return form;
}

QLineEdit* fileField(QWidget* parent, const QString& name) {
    auto* edit = named<QLineEdit>(parent, name);
    edit->setReadOnly(true);
    edit->setMinimumWidth(200);
    return edit;
}

QPushButton* chooser(QWidget* parent, const QString& name) {
    auto* button = named<QPushButton>(parent, name, QStringLiteral("..."));
    button->setFixedWidth(32);
    return button;
}
} // namespace

MainPage::MainPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TabSheet3"));
    setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));
    buildStatus();
    buildUpload();
    buildDevices();
    buildTerminal();

    auto* power = new QHBoxLayout;
    power->addWidget(GroupBox6);
    power->addWidget(GroupBox7);
    auto* actions = new QHBoxLayout;
    actions->addWidget(GroupBox8, 1);
    actions->addWidget(Button12, 0, Qt::AlignBottom);
    auto* left = new QVBoxLayout;
    left->addWidget(GroupBox3);
    left->addWidget(GroupBox2);
    left->addLayout(power, 1);
    left->addLayout(actions);

    auto* right = new QVBoxLayout;
    right->addWidget(GroupBox10);
    right->addWidget(GroupBox1, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 2);
    top->addLayout(right, 3);

    // The terminal takes whatever height the page has left, down to a small margin.
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(10, 10, 10, kBottomMargin);
    page->addLayout(top);
    page->addWidget(GroupBox5, 1);
}

void MainPage::buildStatus() {
    GroupBox3 = named<QGroupBox>(this, QStringLiteral("GroupBox3"), QStringLiteral("Подключение"));
    Label13 = named<QLabel>(GroupBox3, QStringLiteral("Label13"));
    Label6 = named<QLabel>(GroupBox3, QStringLiteral("Label6"));
    Label6->setWordWrap(true);
    Edit1 = named<QLineEdit>(GroupBox3, QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    ComboBox2 = named<QComboBox>(GroupBox3, QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QStringLiteral("Не известно"), QStringLiteral("Orvix TQ-11"),
                         QStringLiteral("Orvix TQ-12"), QStringLiteral("Orvix TQ-13"),
                         QStringLiteral("Orvix TQ-14"), QStringLiteral("Pellam Q5")});
    QFormLayout* connection = formIn(GroupBox3);
    connection->addRow(QStringLiteral("Порт:"), Label13);
    connection->addRow(QStringLiteral("Версия:"), Label6);
    connection->addRow(QStringLiteral("Серийный номер:"), Edit1);
    connection->addRow(QStringLiteral("Тип устройства:"), ComboBox2);

    GroupBox2 = named<QGroupBox>(this, QStringLiteral("GroupBox2"), QStringLiteral("GSM"));
    ProgressBar1 = named<QProgressBar>(GroupBox2, QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 31);
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(QStringLiteral("%v"));
    Label2 = named<QLabel>(GroupBox2, QStringLiteral("Label2"));
    Label4 = named<QLabel>(GroupBox2, QStringLiteral("Label4"));
    QFormLayout* gsm = formIn(GroupBox2);
    gsm->addRow(QStringLiteral("Сигнал:"), ProgressBar1);
    gsm->addRow(QStringLiteral("Сеть:"), Label2);
    gsm->addRow(QStringLiteral("Оператор:"), Label4);

    GroupBox6 = named<QGroupBox>(this, QStringLiteral("GroupBox6"), QStringLiteral("Питание"));
    Label15 = named<QLabel>(GroupBox6, QStringLiteral("Label15"));
    Label16 = named<QLabel>(GroupBox6, QStringLiteral("Label16"));
    QFormLayout* power = formIn(GroupBox6);
    power->addRow(QStringLiteral("Напряжение, В:"), Label15);
    power->addRow(QStringLiteral("Источник:"), Label16);

    GroupBox7 = named<QGroupBox>(this, QStringLiteral("GroupBox7"), QStringLiteral("Охрана"));
    Label18 = named<QLabel>(GroupBox7, QStringLiteral("Label18"));
    // The guard button shows what it would do; it comes alive with the first status reply.
    Button2 = named<QPushButton>(GroupBox7, QStringLiteral("Button2"), QStringLiteral("Включить"));
    Button2->setEnabled(false);
    QFormLayout* guard = formIn(GroupBox7);
    guard->addRow(QStringLiteral("Состояние:"), Label18);
    guard->addRow(Button2);
}

void MainPage::buildUpload() {
    GroupBox10 =
        named<QGroupBox>(this, QStringLiteral("GroupBox10"), QStringLiteral("Обновление ПО"));
    Edit23 = fileField(GroupBox10, QStringLiteral("Edit23"));
    Button8 = chooser(GroupBox10, QStringLiteral("Button8"));
    Button5 = named<QPushButton>(GroupBox10, QStringLiteral("Button5"),
                                 QStringLiteral("Записать прошивку"));
    Edit24 = fileField(GroupBox10, QStringLiteral("Edit24"));
    Button9 = chooser(GroupBox10, QStringLiteral("Button9"));
    Button6 = named<QPushButton>(GroupBox10, QStringLiteral("Button6"),
                                 QStringLiteral("Записать профиль"));
    Edit6 = fileField(GroupBox10, QStringLiteral("Edit6"));
    Button14 = chooser(GroupBox10, QStringLiteral("Button14"));
    Button13 = named<QPushButton>(GroupBox10, QStringLiteral("Button13"),
                                  QStringLiteral("Записать звуки"));
    ProgressBar3 = named<QProgressBar>(GroupBox10, QStringLiteral("ProgressBar3"));
    ProgressBar3->setValue(0);
    ProgressBar3->setTextVisible(false);
    Button7 = named<QPushButton>(GroupBox10, QStringLiteral("Button7"), QStringLiteral("Отмена"));
    Button7->setEnabled(false);
    Label26 = named<QLabel>(GroupBox10, QStringLiteral("Label26"));

    auto* grid = new QGridLayout(GroupBox10);
    const struct {
        const char16_t* caption;
        QLineEdit* file;
        QPushButton* choose;
        QPushButton* start;
    } rows[] = {{u"Прошивка:", Edit23, Button8, Button5},
                {u"Профиль:", Edit24, Button9, Button6},
                {u"Звуки:", Edit6, Button14, Button13}};
    int row = 0;
    for (const auto& r : rows) {
        grid->addWidget(new QLabel(QString::fromUtf16(r.caption), GroupBox10), row, 0);
        grid->addWidget(r.file, row, 1);
        grid->addWidget(r.choose, row, 2);
        grid->addWidget(r.start, row, 3);
        ++row;
    }
    grid->addWidget(ProgressBar3, row, 0, 1, 3);
    grid->addWidget(Button7, row, 3);
    grid->addWidget(Label26, row + 1, 0, 1, 4);
    grid->setColumnStretch(1, 1);
}

void MainPage::buildDevices() {
    GroupBox1 =
        named<QGroupBox>(this, QStringLiteral("GroupBox1"), QStringLiteral("Устройства 1-Wire"));
    Button10 = named<QPushButton>(GroupBox1, QStringLiteral("Button10"),
                                  QStringLiteral("Добавление ТМ ключей"));
    Button3 = named<QPushButton>(GroupBox1, QStringLiteral("Button3"),
                                 QStringLiteral("Удаление всех устройств"));
    ListView2 = named<QTreeWidget>(GroupBox1, QStringLiteral("ListView2"));
    ListView2->setRootIsDecorated(false);
    ListView2->setHeaderLabels({QStringLiteral("№"), QStringLiteral("°С"),
                                QStringLiteral("Серийный №"), QStringLiteral("Название")});
    ListView2->setColumnWidth(0, 30);
    ListView2->setColumnWidth(2, 110);
    ListView2->header()->setStretchLastSection(true);
    ListView2->setMinimumHeight(90);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button10);
    buttons->addWidget(Button3);
    buttons->addStretch();
    auto* devices = new QVBoxLayout(GroupBox1);
    devices->addLayout(buttons);
    devices->addWidget(ListView2, 1);

    GroupBox8 = named<QGroupBox>(this, QStringLiteral("GroupBox8"), QStringLiteral("Настройки"));
    Button4 = named<QPushButton>(GroupBox8, QStringLiteral("Button4"),
                                 QStringLiteral("Заводские настройки"));
    Button11 =
        named<QPushButton>(GroupBox8, QStringLiteral("Button11"), QStringLiteral("Сброс логина"));
    auto* settings = new QHBoxLayout(GroupBox8);
    settings->addWidget(Button4);
    settings->addWidget(Button11);
    settings->addStretch();

    Button12 = named<QPushButton>(this, QStringLiteral("Button12"), QStringLiteral("RESTART"));
    Button12->setMinimumHeight(GroupBox8->sizeHint().height() - 8);
    Button12->setMinimumWidth(110);
}

void MainPage::buildTerminal() {
    GroupBox5 = named<QGroupBox>(this, QStringLiteral("GroupBox5"), QStringLiteral("Терминал"));
    RichEdit1 = named<QPlainTextEdit>(GroupBox5, QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setMinimumHeight(110);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    RichEdit1->setFont(mono);
    ComboBox1 = named<QComboBox>(GroupBox5, QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    // The layout stretches the line; sizing it to the history would measure every command, and
    // a history file with a line of megabytes would stall the window's start.
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Button1 = named<QPushButton>(GroupBox5, QStringLiteral("Button1"), QStringLiteral("Отправить"));
    auto* command = new QHBoxLayout;
    command->addWidget(ComboBox1, 1);
    command->addWidget(Button1);
    auto* terminal = new QVBoxLayout(GroupBox5);
    terminal->addWidget(RichEdit1, 1);
    terminal->addLayout(command);
}

} // namespace talvik::app
