#pragma once

#include "scripted_dialogs.h"
#include "test_dir.h"

#include "settings_editor.h"
#include "settings_link.h"
#include "settings_transfer.h"
#include "simple_log.h"

#include "cp1251.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

// The one QApplication of the test process (offscreen platform under CTest). The shared log
// file stays open for the whole process, so it goes to a folder of its own.
inline QApplication& widgetApp() {
    static int argc = 1;
    static char name[] = "settings_tests";
    static char* argv[] = {name, nullptr};
    static QTemporaryDir logDir;
    static auto* app =
        (SimpleLog::setFileName(logDir.filePath(u"log.txt"_s)), new QApplication(argc, argv));
    return *app;
}

// A controller channel that records what the settings transfer queues ("command/flag") and
// writes at once ("text/channel!").
class RecordingLink final : public SettingsLink {
public:
    QString version = u"2.19"_s;
    QStringList sent;
    QByteArray current;
    int touches = 0;
    int dump = 0;
    int lastNumber = -1;
    std::deque<int> missing;
    int errors = 0;

    void SendCommand(const QString& command, int flag) override {
        sent.append(command + u"/%1"_s.arg(flag));
    }
    void SendText(const QByteArray& text, int channel) override {
        sent.append(Cp1251::toUnicode(text) + u"/%1!"_s.arg(channel));
    }
    [[nodiscard]] QString VersionText() const override { return version; }
    [[nodiscard]] QByteArray Current() const override { return current; }
    void ClearCurrent() override { current.clear(); }
    void TouchLastSendTime() override { ++touches; }
    [[nodiscard]] int& dumpActive() override { return dump; }
    [[nodiscard]] int& lastDumpNumber() override { return lastNumber; }
    [[nodiscard]] std::deque<int>& missingNumbers() override { return missing; }
    [[nodiscard]] int& errorCount() override { return errors; }
};

// The window's side of the settings transfer, with hand-made controls for a few settings
// instead of pages from the interface description.
struct TransferFixture {
    // First, so that they are made before and destroyed after everything that uses them; the
    // window holds every control.
    QApplication& app = widgetApp();
    TestDir dir;
    QWidget window;

    TransferFixture() {
        ComboBox2->addItems(QStringList(6, QString()));
        ComboBox2->setCurrentIndex(1); // type 406
        Label6->setText(u"Версия Конфигурация 2.19"_s);
        Edit1->setText(u"0123456789AB"_s);
        transfer = std::make_unique<SettingsTransfer>(
            SettingsControls{Label5, ProgressBar2, GroupBox4, new QPushButton(&window),
                             new QPushButton(&window), new QPushButton(&window),
                             new QPushButton(&window), Button1, new QPushButton(&window),
                             new QPushButton(&window), Label6, Edit1, ComboBox2, Timer4},
            editor, dialogs, log, [this] { return connected ? &link : nullptr; },
            [this] { ++typeChanges; });
    }

    ParameterStore& store() { return editor.store(); }
    template <typename W>
    W* add(W* control, int number, int kind, int special = Parameter::Plain, int offset = 0,
           QList<int> numbers = {}) {
        store().add(number, kind, control, special, -1000, 1000, offset, numbers);
        return control;
    }
    QLineEdit* addEdit(int number, int special = Parameter::Plain, int offset = 0) {
        return add(new QLineEdit(&window), number, Parameter::Edit, special, offset);
    }
    QComboBox* addCombo(int number, int items, QList<int> codes = {}) {
        auto* combo = add(new QComboBox(&window), number, Parameter::Combo, 0, 0, codes);
        combo->addItems(QStringList(items, u"-"_s));
        return combo;
    }
    QCheckBox* addCheck(int number, QList<int> disables = {}) {
        return add(new QCheckBox(&window), number, Parameter::Check, 0, 0, disables);
    }
    QList<QCheckBox*> addBits(int number, int count) {
        auto* group = new QGroupBox(&window);
        Parameter& record = store().add(number, Parameter::Bits, group);
        QList<QCheckBox*> boxes;
        for (int i = 0; i < count; ++i) {
            boxes.append(new QCheckBox(group));
            record.controls.append(boxes.last());
            store().mapControl(boxes.last(), number);
        }
        return boxes;
    }
    // A message box or question as "caption | text".
    QString box(qsizetype i) { return dialogs.shown[i].caption + u" | "_s + dialogs.shown[i].text; }
    QString editText(int number) {
        return qobject_cast<QLineEdit*>(store().find(number)->control.data())->text();
    }

    ScriptedDialogs dialogs;
    SimpleLog log;
    QTabWidget pages;
    QTimer timer3;
    SettingsEditor editor{&pages, &window, dialogs, &timer3};
    RecordingLink link;
    bool connected = true;
    int typeChanges = 0;
    QLabel* Label5 = new QLabel(&window);
    QProgressBar* ProgressBar2 = new QProgressBar(&window);
    QGroupBox* GroupBox4 = new QGroupBox(&window);
    QPushButton* Button1 = new QPushButton(&window);
    QLabel* Label6 = new QLabel(&window);
    QLineEdit* Edit1 = new QLineEdit(&window);
    QComboBox* ComboBox2 = new QComboBox(&window);
    QTimer* Timer4 = new QTimer(&window);
    std::unique_ptr<SettingsTransfer> transfer;
};
