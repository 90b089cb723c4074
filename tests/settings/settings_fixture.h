#pragma once

#include "scripted_dialogs.h"
#include "test_dir.h"

#include "log_base.h"
#include "settings_editor.h"
#include "settings_link.h"
#include "settings_transfer.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

using namespace Qt::StringLiterals;

// The one QApplication of the test process (offscreen platform under CTest).
inline QApplication& widgetApp() {
    static int argc = 1;
    static char name[] = "settings_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A controller channel that records what the settings transfer queues and writes.
class RecordingLink final : public SettingsLink {
public:
    QString version = QStringLiteral("2.19");
    QStringList sent;
    QList<QByteArray> texts;
    QByteArray current;
    int touches = 0;
    int dump = 0;
    int lastNumber = -1;
    std::deque<int> missing;
    int errors = 0;

    void SendCommand(const QString& command, int flag) override {
        sent.append(command + QStringLiteral("/%1").arg(flag));
    }
    void SendText(const QByteArray& text, int channel) override {
        texts.append(text + '/' + QByteArray::number(channel));
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

// A log that keeps its lines in a temporary file of its own.
class CapturingLog final : public LogBase {
public:
    CapturingLog() : m_file(std::tmpfile()) {}
    ~CapturingLog() override { close(); }
    [[nodiscard]] QByteArray text() {
        std::fflush(m_file);
        std::rewind(m_file);
        QByteArray all;
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, m_file)) {
            all.append(buffer, static_cast<qsizetype>(n));
        }
        return all;
    }

protected:
    [[nodiscard]] std::mutex* sharedLock() override { return &m_lock; }
    [[nodiscard]] std::FILE* sharedFile() override { return m_file; }
    void close() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
            m_file = nullptr;
        }
    }

private:
    std::mutex m_lock;
    std::FILE* m_file;
};

// The window's side of the settings transfer, with hand-made controls for a few settings
// instead of pages from the interface description.
struct TransferFixture {
    // First, so that they are made before and destroyed after everything that uses them.
    QApplication& app = widgetApp();
    TestDir dir;
    std::vector<std::unique_ptr<QWidget>> widgets;

    TransferFixture() {
        ComboBox2->addItems({QStringLiteral("Не известно"), QStringLiteral("Orvix TQ-11"),
                             QStringLiteral("Orvix TQ-12"), QStringLiteral("Orvix TQ-13"),
                             QStringLiteral("Orvix TQ-14"), QStringLiteral("Pellam Q5")});
        ComboBox2->setCurrentIndex(1);
        Label6->setText(QStringLiteral("Версия Конфигурация 2.19"));
        Edit1->setText(QStringLiteral("0123456789AB"));
        transfer = std::make_unique<SettingsTransfer>(
            SettingsControls{Label5, ProgressBar2, GroupBox4, PNGButton3, PNGButton4, PNGButton5,
                             PNGButton6, Button1, Button4, Button11, Label6, Edit1, ComboBox2,
                             Timer4},
            editor, dialogs, log, [this] { return connected ? &link : nullptr; },
            [this] { ++typeChanges; });
    }

    ParameterStore& store() { return editor.store(); }
    QLineEdit* addEdit(int number, int special = Parameter::Plain, int offset = 0) {
        auto* edit = own(new QLineEdit);
        store().add(number, Parameter::Edit, edit, special, -1000, 1000, offset);
        return edit;
    }
    QComboBox* addCombo(int number, int items, QList<int> codes = {}) {
        auto* combo = own(new QComboBox);
        for (int i = 0; i < items; ++i) {
            combo->addItem(QString::number(i));
        }
        store().add(number, Parameter::Combo, combo, Parameter::Plain, 0, 0, 0, codes);
        return combo;
    }
    QCheckBox* addCheck(int number, QList<int> disables = {}) {
        auto* box = own(new QCheckBox);
        store().add(number, Parameter::Check, box, Parameter::Plain, 0, 0, 0, disables);
        return box;
    }
    QList<QCheckBox*> addBits(int number, int count) {
        auto* group = own(new QGroupBox);
        Parameter& record = store().add(number, Parameter::Bits, group);
        QList<QCheckBox*> boxes;
        for (int i = 0; i < count; ++i) {
            auto* box = new QCheckBox(group);
            record.controls.append(box);
            store().mapControl(box, number);
            boxes.append(box);
        }
        return boxes;
    }
    template <typename W> W* own(W* widget) {
        widgets.emplace_back(widget);
        return widget;
    }

    ScriptedDialogs dialogs;
    CapturingLog log;
    QWidget window;
    QTabWidget pages;
    QTimer timer3;
    SettingsEditor editor{&pages, &window, dialogs, &timer3};
    RecordingLink link;
    bool connected = true;
    int typeChanges = 0;
    QLabel* Label5 = own(new QLabel);
    QProgressBar* ProgressBar2 = own(new QProgressBar);
    QGroupBox* GroupBox4 = own(new QGroupBox);
    QToolButton* PNGButton3 = own(new QToolButton);
    QToolButton* PNGButton4 = own(new QToolButton);
    QToolButton* PNGButton5 = own(new QToolButton);
    QToolButton* PNGButton6 = own(new QToolButton);
    QPushButton* Button1 = own(new QPushButton);
    QPushButton* Button4 = own(new QPushButton);
    QPushButton* Button11 = own(new QPushButton);
    QLabel* Label6 = own(new QLabel);
    QLineEdit* Edit1 = own(new QLineEdit);
    QComboBox* ComboBox2 = own(new QComboBox);
    QTimer* Timer4 = new QTimer(&window);
    std::unique_ptr<SettingsTransfer> transfer;
};
