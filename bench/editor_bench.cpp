// Settings pages: how long a device-type change takes to build the pages of the richest shipped
// type, against the toolkit's floor (creating as many bare widgets of the same classes in the
// same container), how much memory each built setting adds, what the copy kept of every read
// adds to a read, how long a keystroke in the find field takes to show its match, and how long
// a comparison with a settings file takes.

#include "find_bar.h"
#include "interface_model.h"
#include "json_root.h"
#include "page_builder.h"
#include "page_images.h"
#include "parameter_store.h"
#include "read_backup.h"
#include "setting_index.h"
#include "settings_comparison.h"
#include "settings_editor.h"
#include "settings_file.h"
#include "yaml_root.h"

#include "scripted_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <functional>
#include <malloc.h>
#include <memory>

using namespace talvik::editor;
using namespace talvik::iface;

namespace {

constexpr int kRichestType = 415;

// The window side of the settings editor, in a temporary folder holding the shipped Interface/.
struct Bench {
    Bench() {
        QDir::setCurrent(folder.path());
        QDir().mkdir(QStringLiteral("Interface"));
        const QDir source(QStringLiteral(TALVIK_SOURCE_DIR "/data/Interface"));
        for (const QString& name : source.entryList(QDir::Files)) {
            QFile::copy(source.filePath(name), QStringLiteral("Interface/") + name);
        }
        window.setCentralWidget(pages);
        pages->addTab(new QWidget, QStringLiteral("Главная"));
        pages->addTab(new QWidget, QStringLiteral("Радиоустройства"));
        window.resize(1100, 800);
    }

    QTemporaryDir folder;
    QMainWindow window;
    QTabWidget* pages = new QTabWidget;
    ScriptedDialogs dialogs;
    QTimer timer;
    SettingsEditor editor{pages, &window, dialogs, &timer, 896};
};

// Made after the application and dropped before it, like the window it stands for.
std::unique_ptr<Bench> g_bench;

Bench& bench() {
    if (!g_bench) {
        g_bench = std::make_unique<Bench>();
    }
    return *g_bench;
}

// The window's event loop handles what creating and destroying the widgets posted (polish and
// layout requests, child events) between two changes; that is not part of either timing.
void settle(benchmark::State& state) {
    state.PauseTiming();
    QCoreApplication::sendPostedEvents();
    state.ResumeTiming();
}

// How many widgets of each class the builder makes for the generated pages: the pages, their
// panels and what the panels and group boxes hold (not the parts widgets make of themselves).
QHash<QString, int> widgetClasses() {
    Bench& b = bench();
    b.editor.changeDeviceType(kRichestType, false);
    QHash<QString, int> classes;
    for (int i = SettingsEditor::kFirstSettingsPage; i < b.pages->count(); ++i) {
        QWidget* page = b.pages->widget(i);
        classes[QStringLiteral("QWidget")] += 1;
        QList<QWidget*> containers = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        classes[QStringLiteral("QWidget")] += static_cast<int>(containers.size());
        while (!containers.isEmpty()) {
            const QWidget* container = containers.takeLast();
            for (QWidget* widget : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<QGroupBox*>(widget) != nullptr) {
                    ++classes[QStringLiteral("QGroupBox")];
                    containers.append(widget);
                } else {
                    ++classes[QString::fromLatin1(widget->metaObject()->className())];
                }
            }
        }
    }
    return classes;
}

void DeviceTypeChange(benchmark::State& state) {
    Bench& b = bench();
    for (auto _ : state) {
        b.editor.changeDeviceType(kRichestType, false);
        settle(state);
    }
    state.counters["settings"] = b.editor.store().size();
}
BENCHMARK(DeviceTypeChange)->Unit(benchmark::kMillisecond);

// The builder's share alone: the same change with the description already planned.
void BuildFromPlan(benchmark::State& state) {
    Bench& b = bench();
    const YamlRoot description(QStringLiteral("Interface/interface.h"), 65001);
    const InterfacePlan plan =
        InterfaceModel::plan(description.root(), kRichestType, QStringLiteral("9.99"));
    ParameterStore store;
    PageImages images;
    for (auto _ : state) {
        b.editor.removePages();
        store.clear();
        PageBuilder(b.pages, store, &b.editor.handlers(), images, QStringLiteral("Interface/"), 896)
            .build(plan.content);
        settle(state);
    }
    b.editor.removePages();
}
BENCHMARK(BuildFromPlan)->Unit(benchmark::kMillisecond);

// The most a description may ask the window to create, all in one page, as the widest table
// with as many lines as fit (state.range(0) 0, the slowest: its cells overlap) or as a column of
// labelled edit fields (1): removing the previous pages, planning and building, then showing
// the page.
void AtTheControlCap(benchmark::State& state) {
    const qint64 cap = InterfaceModel::kMaxControls - 2; // the page and its panel
    QByteArray text = "Structure:\n  - Type: Tab\n    Caption: Cap\n    Content:\n";
    if (state.range(0) == 0) {
        const int columns = InterfaceModel::kMaxTableColumns;
        // columns + lines + columns * lines fits the cap.
        const qint64 lines = (cap - columns) / (columns + 1);
        const auto names = [](qint64 count) {
            QByteArray out;
            for (qint64 i = 0; i < count; ++i) {
                out += (i == 0 ? "" : ", ") + QByteArray::number(i);
            }
            return out;
        };
        text += "      - Type: Table\n        Columns: [" + names(columns) + "]\n        Lines: [" +
                names(lines) + "]\n";
    } else {
        text += "      - Type: EditList\n        Captions:\n";
        for (qint64 i = 0; i < cap / 2; ++i) {
            text += "          - Field " + QByteArray::number(i) + '\n';
        }
    }
    YamlRoot description;
    if (!description.parse(QString::fromUtf8(text))) {
        state.SkipWithError("the description was rejected");
        return;
    }
    Bench& b = bench();
    // The window's own first showing is not part of a type change.
    b.window.show();
    QCoreApplication::processEvents();
    ParameterStore store;
    PageImages images;
    for (auto _ : state) {
        b.editor.removePages();
        store.clear();
        const InterfacePlan plan = InterfaceModel::plan(description.root(), kRichestType, u"9.99");
        PageBuilder(b.pages, store, &b.editor.handlers(), images, QStringLiteral("Interface/"), 896)
            .build(plan.content);
        b.pages->setCurrentIndex(SettingsEditor::kFirstSettingsPage);
        QCoreApplication::processEvents();
        if (plan.truncated) {
            state.SkipWithError("the description was cut short");
        }
    }
    state.counters["controls"] = static_cast<double>(cap + 2);
    b.editor.removePages();
    b.window.hide();
}
BENCHMARK(AtTheControlCap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor: the same number of widgets of the same classes, default-constructed, in one page
// of the same page control, the previous set destroyed first as a rebuild does.
void BareWidgets(benchmark::State& state) {
    const QHash<QString, int> classes = widgetClasses();
    Bench& b = bench();
    b.editor.removePages();
    const QHash<QString, std::function<QWidget*(QWidget*)>> make = {
        {QStringLiteral("QWidget"), [](QWidget* p) { return new QWidget(p); }},
        {QStringLiteral("QGroupBox"), [](QWidget* p) { return new QGroupBox(p); }},
        {QStringLiteral("QLabel"), [](QWidget* p) { return new QLabel(p); }},
        {QStringLiteral("QLineEdit"), [](QWidget* p) { return new QLineEdit(p); }},
        {QStringLiteral("QComboBox"), [](QWidget* p) { return new QComboBox(p); }},
        {QStringLiteral("QCheckBox"), [](QWidget* p) { return new QCheckBox(p); }},
        {QStringLiteral("QTextEdit"), [](QWidget* p) { return new QTextEdit(p); }},
    };
    int count = 0;
    for (auto _ : state) {
        while (b.pages->count() > SettingsEditor::kFirstSettingsPage) {
            QWidget* page = b.pages->widget(b.pages->count() - 1);
            b.pages->removeTab(b.pages->count() - 1);
            delete page;
        }
        auto* page = new QWidget;
        b.pages->addTab(page, QStringLiteral("Bare"));
        count = 0;
        for (auto it = classes.constBegin(); it != classes.constEnd(); ++it) {
            const auto factory = make.constFind(it.key());
            for (int i = 0; factory != make.constEnd() && i < it.value(); ++i) {
                (*factory)(page);
                ++count;
            }
        }
        settle(state);
    }
    state.counters["widgets"] = count;
}
BENCHMARK(BareWidgets)->Unit(benchmark::kMillisecond);

// Heap bytes that the pages of the richest type hold, per built setting.
void MemoryPerSetting(benchmark::State& state) {
    Bench& b = bench();
    b.editor.changeDeviceType(0, false);
    b.editor.changeDeviceType(kRichestType, false);
    b.editor.changeDeviceType(0, false);
    double perSetting = 0;
    for (auto _ : state) {
        const size_t before = mallinfo2().uordblks;
        b.editor.changeDeviceType(kRichestType, false);
        const size_t after = mallinfo2().uordblks;
        perSetting = static_cast<double>(after - before) / b.editor.store().size();
        state.PauseTiming();
        b.editor.changeDeviceType(0, false);
        state.ResumeTiming();
    }
    state.counters["bytes_per_setting"] = perSetting;
}
BENCHMARK(MemoryPerSetting)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the copy of a read adds to the end of a read of the richest type: the settings file of
// every setting shown, written under the serial number, and the oldest of the 50 kept copies
// removed (each iteration is a read one second after the last, so the folder stays full).
void BackupOfARead(benchmark::State& state) {
    Bench& b = bench();
    b.editor.changeDeviceType(kRichestType, false);
    const talvik::settings::ReadBackup backup(QStringLiteral("Backups"));
    QDateTime when(QDate(2026, 1, 1), QTime(0, 0, 0));
    for (int i = 0; i < talvik::settings::ReadBackup::kKeptPerSerial; ++i) {
        when = when.addSecs(1);
        (void)backup.save("[]", QStringLiteral("0123456789AB"), when, false);
    }
    for (auto _ : state) {
        when = when.addSecs(1);
        const auto result =
            backup.save(talvik::settings::SettingsFile::compose(b.editor, kRichestType),
                        QStringLiteral("0123456789AB"), when, false);
        if (!result.failure.isEmpty()) {
            state.SkipWithError("the copy was not written");
        }
    }
    state.counters["settings"] = b.editor.store().size();
}
BENCHMARK(BackupOfARead)->Unit(benchmark::kMillisecond);

// A keystroke in the find field to its first match shown: the search over every setting of the
// richest type, the switch to the match's page, the scroll and the mark. The text alternates
// between words found on different pages, so every keystroke is a new search and a page change.
void FindKeystroke(benchmark::State& state) {
    Bench& b = bench();
    b.editor.changeDeviceType(kRichestType, false);
    QScrollArea scroll;
    talvik::app::FindBar bar(b.editor, b.pages,
                             [&scroll](QWidget* control) { scroll.ensureWidgetVisible(control); });
    const QString words[] = {QStringLiteral("задержка"), QStringLiteral("телефон")};
    qsizetype typed = 0;
    for (auto _ : state) {
        bar.FindEdit->setText(words[typed++ % 2]);
    }
    state.counters["settings"] = b.editor.index().size();
}
BENCHMARK(FindKeystroke)->Unit(benchmark::kMillisecond);

QByteArray factoryFile() {
    QFile file(QStringLiteral(TALVIK_SOURCE_DIR "/data/Configs/415.set"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The compare window with a file: the pages of the richest type against its factory settings.
void CompareWithFile(benchmark::State& state) {
    Bench& b = bench();
    b.editor.changeDeviceType(kRichestType, false);
    const QByteArray file = factoryFile();
    const talvik::settings::SettingsComparison comparison(b.editor, b.editor.index());
    qsizetype rows = 0;
    for (auto _ : state) {
        rows = comparison.withFile(file)
                   .value_or(QList<talvik::settings::SettingsComparison::Row>{})
                   .size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(CompareWithFile)->Unit(benchmark::kMillisecond);

// Two settings files of the richest type read and compared setting by setting.
void CompareTwoFiles(benchmark::State& state) {
    const QByteArray first = factoryFile();
    QByteArray second = first;
    second.replace("\"Edit\": 1", "\"Edit\": 2");
    qsizetype differing = 0;
    for (auto _ : state) {
        JsonRoot a;
        JsonRoot b;
        if (!a.parse(first) || !b.parse(second)) {
            state.SkipWithError("the factory settings are no settings file");
            return;
        }
        differing = talvik::settings::SettingsComparison::differing(
                        talvik::settings::SettingsComparison::fileValues(a.root()),
                        talvik::settings::SettingsComparison::fileValues(b.root()))
                        .size();
    }
    state.counters["differing"] = static_cast<double>(differing);
}
BENCHMARK(CompareTwoFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_bench.reset();
    return 0;
}
