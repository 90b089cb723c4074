// The radio page under the load of many devices, through the window's radio logic and its list:
// - ReportToPaintedRow: one "#R" piece of a device whose row is in view handed to the radio
//   logic, then the event loop run until the changed row is painted: time per report (goal
//   under 1 ms); counter "paints" shows that every report was painted;
// - TwoHundredDevicesOnceASecond: 200 known thermometers each reporting once a second, spread
//   evenly by a timer, for five seconds of the window's own event loop: counter "cpu_percent",
//   the process's CPU time over the wall time (goal under 5).
// Run from the build folder: bin/radio_bench (on the offscreen platform).

#include "named_controls.h"
#include "page_control.h"
#include "radio_devices.h"
#include "radio_feature.h"
#include "radio_page.h"
#include "scripted_dialogs.h"
#include "test_dir.h"
#include "tform1.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>

using namespace talvik::app;
using namespace talvik::devices;
using namespace talvik::support;

namespace {

constexpr int kDevices = 200;
constexpr int kFirstNumber = 1000;
constexpr int kSeconds = 5;
// The list shows this many rows at the top without scrolling.
constexpr int kRowsInView = 10;

// The n-th report of a device: a temperature that moves, battery, signal.
QString piece(int device, int n) {
    const int kelvinTenths = 2900 + n % 150;
    return QStringLiteral("#R:%%1% TK1 :192 %2 %3 140 176 %4")
        .arg(kFirstNumber + device)
        .arg(kelvinTenths & 0xFF)
        .arg(kelvinTenths >> 8)
        .arg(200 + n % 40);
}

// A window with its radio page in front, holding the 200 devices' rows.
struct Window {
    Window() {
        const NamedControls named(form);
        named.Timer1->stop();
        named.Timer2->stop();
        form.resize(1100, 780);
        form.show();
        named.PageControl1->setTabVisible(named.PageControl1->indexOf(named.TabSheet1), true);
        named.PageControl1->setCurrentWidget(named.TabSheet1);
        for (int n = 0; n < kDevices; ++n) {
            radio().OnRadioReport(piece(n, 0));
        }
        QCoreApplication::processEvents();
    }
    RadioDevices& radio() { return form.radio().radio(); }

    TestDir dir;
    ScriptedDialogs dialogs;
    TForm1 form{StartOptions{QStringLiteral("/nonexistent")}, &dialogs};
};

// Counts the paintings of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

void ReportToPaintedRow(benchmark::State& state) {
    Window window;
    PaintCounter counter;
    window.form.radio().page().ListView1->viewport()->installEventFilter(&counter);
    int n = 0;
    for (auto _ : state) {
        window.radio().OnRadioReport(piece(n % kRowsInView, n));
        ++n;
        QCoreApplication::processEvents();
    }
    state.counters["paints"] = counter.paints;
    state.counters["rows"] = window.form.radio().page().ListView1->topLevelItemCount();
}

void TwoHundredDevicesOnceASecond(benchmark::State& state) {
    Window window;
    for (auto _ : state) {
        int n = 0;
        QTimer reports;
        reports.setTimerType(Qt::PreciseTimer);
        reports.setInterval(1000 / kDevices);
        QObject::connect(&reports, &QTimer::timeout, [&] {
            window.radio().OnRadioReport(piece(n % kDevices, n / kDevices));
            ++n;
        });
        QEventLoop loop;
        QTimer::singleShot(kSeconds * 1000, &loop, &QEventLoop::quit);
        QElapsedTimer wall;
        const std::clock_t cpuStart = std::clock();
        wall.start();
        reports.start();
        loop.exec();
        const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        state.SetIterationTime(wall.nsecsElapsed() / 1e9);
        state.counters["cpu_percent"] = 100.0 * cpuSeconds / (wall.nsecsElapsed() / 1e9);
        state.counters["reports"] = n;
    }
}

BENCHMARK(ReportToPaintedRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(TwoHundredDevicesOnceASecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
