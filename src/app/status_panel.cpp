#include "status_panel.h"

#include "controller_status.h"
#include "main_page.h"
#include "named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace talvik::app {

StatusPanel::StatusPanel(ControllerStatus& status, MainPage& page, QObject* parent)
    : QObject(parent), m_status(status) {
    buildConnection(page);
    buildGsm(page);
    buildPower(page);

    connect(&status, &ControllerStatus::portNameChanged, Label13, &QLabel::setText);
    connect(&status, &ControllerStatus::versionReplyChanged, Label6, &QLabel::setText);
    connect(&status, &ControllerStatus::serialNumberChanged, Edit1, &QLineEdit::setText);
    // The type is the controller's own while one is connected.
    connect(&status, &ControllerStatus::connectedChanged, ComboBox2,
            [this](bool connected) { ComboBox2->setEnabled(!connected); });
    connect(&status, &ControllerStatus::deviceTypeChanged, ComboBox2, &QComboBox::setCurrentIndex);
    connect(ComboBox2, &QComboBox::currentIndexChanged, &status, &ControllerStatus::showDeviceType);
    connect(ComboBox2, &QComboBox::activated, &status, &ControllerStatus::chooseDeviceType);
    connect(&status, &ControllerStatus::gsmChanged, this, &StatusPanel::showGsm);
    connect(&status, &ControllerStatus::powerChanged, this, &StatusPanel::showPower);
}

void StatusPanel::buildConnection(MainPage& page) {
    auto* box = named<QGroupBox>(&page, QStringLiteral("GroupBox3"), QStringLiteral("Подключение"));
    GroupBox3 = box;
    Label13 = named<QLabel>(box, QStringLiteral("Label13"));
    Label6 = named<QLabel>(box, QStringLiteral("Label6"));
    Label6->setWordWrap(true);
    Edit1 = named<QLineEdit>(box, QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    ComboBox2 = named<QComboBox>(box, QStringLiteral("ComboBox2"));
    ComboBox2->addItems({QStringLiteral("Не известно"), QStringLiteral("Orvix TQ-11"),
                         QStringLiteral("Orvix TQ-12"), QStringLiteral("Orvix TQ-13"),
                         QStringLiteral("Orvix TQ-14"), QStringLiteral("Pellam Q5")});
    ComboBox2->setCurrentIndex(m_status.deviceTypePosition());
    QFormLayout* rows = MainPage::formIn(box);
    rows->addRow(QStringLiteral("Порт:"), Label13);
    rows->addRow(QStringLiteral("Версия:"), Label6);
    rows->addRow(QStringLiteral("Серийный номер:"), Edit1);
    rows->addRow(QStringLiteral("Тип устройства:"), ComboBox2);
    page.place(MainPage::Slot::Connection, box);
}

void StatusPanel::buildGsm(MainPage& page) {
    auto* box = named<QGroupBox>(&page, QStringLiteral("GroupBox2"), QStringLiteral("GSM"));
    ProgressBar1 = named<QProgressBar>(box, QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, ControllerStatus::kSignalMaximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(QStringLiteral("%v"));
    Label2 = named<QLabel>(box, QStringLiteral("Label2"));
    Label4 = named<QLabel>(box, QStringLiteral("Label4"));
    QFormLayout* rows = MainPage::formIn(box);
    rows->addRow(QStringLiteral("Сигнал:"), ProgressBar1);
    rows->addRow(QStringLiteral("Сеть:"), Label2);
    rows->addRow(QStringLiteral("Оператор:"), Label4);
    page.place(MainPage::Slot::Gsm, box);
}

void StatusPanel::buildPower(MainPage& page) {
    auto* box = named<QGroupBox>(&page, QStringLiteral("GroupBox6"), QStringLiteral("Питание"));
    Label15 = named<QLabel>(box, QStringLiteral("Label15"));
    Label16 = named<QLabel>(box, QStringLiteral("Label16"));
    QFormLayout* rows = MainPage::formIn(box);
    rows->addRow(QStringLiteral("Напряжение, В:"), Label15);
    rows->addRow(QStringLiteral("Источник:"), Label16);
    page.place(MainPage::Slot::Power, box);
}

void StatusPanel::showGsm() {
    ProgressBar1->setValue(m_status.signalLevel());
    Label2->setText(m_status.network());
    Label4->setText(m_status.operatorName());
}

void StatusPanel::showPower() {
    Label15->setText(m_status.power().voltage);
    Label16->setText(m_status.power().source);
}

} // namespace talvik::app
