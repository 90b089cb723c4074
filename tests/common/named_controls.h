#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <stdexcept>
#include <string>

// The child of `root` called `name`, found as a user or an end-to-end test finds a control: by
// its name. A missing one fails the test that asks for it.
template <typename Control> Control* NamedChild(const QObject& root, const QString& name) {
    auto* found = root.findChild<Control*>(name);
    if (found == nullptr) {
        throw std::runtime_error("no control named " + name.toStdString());
    }
    return found;
}

// The main window's pages, timers and main page controls, found by their names.
struct NamedControls {
    explicit NamedControls(const QObject& window) : root(window) {}

    const QObject& root;
    QWidget* Panel1 = NamedChild<QWidget>(root, QStringLiteral("Panel1"));
    QTabWidget* PageControl1 = NamedChild<QTabWidget>(root, QStringLiteral("PageControl1"));
    QWidget* TabSheet3 = NamedChild<QWidget>(root, QStringLiteral("TabSheet3"));
    QWidget* TabSheet1 = NamedChild<QWidget>(root, QStringLiteral("TabSheet1"));
    QTimer* Timer1 = NamedChild<QTimer>(root, QStringLiteral("Timer1"));
    QTimer* Timer2 = NamedChild<QTimer>(root, QStringLiteral("Timer2"));
    QTimer* Timer3 = NamedChild<QTimer>(root, QStringLiteral("Timer3"));

    QLabel* Label13 = NamedChild<QLabel>(root, QStringLiteral("Label13"));
    QLabel* Label6 = NamedChild<QLabel>(root, QStringLiteral("Label6"));
    QLineEdit* Edit1 = NamedChild<QLineEdit>(root, QStringLiteral("Edit1"));
    QComboBox* ComboBox2 = NamedChild<QComboBox>(root, QStringLiteral("ComboBox2"));
    QProgressBar* ProgressBar1 = NamedChild<QProgressBar>(root, QStringLiteral("ProgressBar1"));
    QLabel* Label2 = NamedChild<QLabel>(root, QStringLiteral("Label2"));
    QLabel* Label4 = NamedChild<QLabel>(root, QStringLiteral("Label4"));
    QLabel* Label15 = NamedChild<QLabel>(root, QStringLiteral("Label15"));
    QLabel* Label16 = NamedChild<QLabel>(root, QStringLiteral("Label16"));
    QLabel* Label18 = NamedChild<QLabel>(root, QStringLiteral("Label18"));
    QPushButton* Button2 = NamedChild<QPushButton>(root, QStringLiteral("Button2"));

    QLineEdit* Edit23 = NamedChild<QLineEdit>(root, QStringLiteral("Edit23"));
    QLineEdit* Edit24 = NamedChild<QLineEdit>(root, QStringLiteral("Edit24"));
    QLineEdit* Edit6 = NamedChild<QLineEdit>(root, QStringLiteral("Edit6"));
    QPushButton* Button5 = NamedChild<QPushButton>(root, QStringLiteral("Button5"));
    QPushButton* Button6 = NamedChild<QPushButton>(root, QStringLiteral("Button6"));
    QPushButton* Button13 = NamedChild<QPushButton>(root, QStringLiteral("Button13"));
    QPushButton* Button14 = NamedChild<QPushButton>(root, QStringLiteral("Button14"));
    QPushButton* Button7 = NamedChild<QPushButton>(root, QStringLiteral("Button7"));
    QProgressBar* ProgressBar3 = NamedChild<QProgressBar>(root, QStringLiteral("ProgressBar3"));
    QLabel* Label26 = NamedChild<QLabel>(root, QStringLiteral("Label26"));

    QPushButton* Button10 = NamedChild<QPushButton>(root, QStringLiteral("Button10"));
    QPushButton* Button3 = NamedChild<QPushButton>(root, QStringLiteral("Button3"));
    QTreeWidget* ListView2 = NamedChild<QTreeWidget>(root, QStringLiteral("ListView2"));
    QPushButton* Button4 = NamedChild<QPushButton>(root, QStringLiteral("Button4"));
    QPushButton* Button12 = NamedChild<QPushButton>(root, QStringLiteral("Button12"));

    QGroupBox* GroupBox5 = NamedChild<QGroupBox>(root, QStringLiteral("GroupBox5"));
    QPlainTextEdit* RichEdit1 = NamedChild<QPlainTextEdit>(root, QStringLiteral("RichEdit1"));
    QComboBox* ComboBox1 = NamedChild<QComboBox>(root, QStringLiteral("ComboBox1"));
    QPushButton* Button1 = NamedChild<QPushButton>(root, QStringLiteral("Button1"));
};
