// A 256 KiB firmware upload to a chunk controller (hardware 450) on talvik-emu at 115200 baud,
// through the window's start button:
// - "vs_protocol": the upload's time against the bound the protocol itself sets: for each frame
//   the larger of the pacing gap after it and its line time plus that of its answer (10 bits a
//   byte). Goal at most 1.05.
// - "cpu": the process's processor time during the upload against its wall time (the window
//   runs on this one thread). Goal under 0.10.
// Run from the build folder: bin/upload_bench (needs bin/talvik-emu beside it). One iteration
// takes about a minute.

#include "emulator_process.h"
#include "scripted_dialogs.h"

#include "c_port.h"
#include "connection.h"
#include "controller_session.h"
#include "named_controls.h"
#include "tform1.h"
#include "wait_for.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>
#include <sys/resource.h>

using namespace talvik::app;
using namespace talvik::link;
using namespace talvik::support;

namespace {

constexpr int kBaud = 115200;
constexpr int kFileSize = 256 * 1024;
constexpr int kImageSize = kFileSize + 5; // type byte and length in front
constexpr int kChunk = 64;
constexpr int kFrameOverhead = 9;
constexpr int kChunkHeader = 6;
constexpr int kAnswerFrame = kFrameOverhead + 7;

// The pacing gap after a frame of `bytes` bytes, in milliseconds, as the link computes it.
int gapMs(int bytes) {
    return bytes * 10000 / kBaud + 10;
}

double lineMs(int bytes) {
    return bytes * 10000.0 / kBaud;
}

// What the protocol allows: every chunk waits for its answer and for its pacing gap; the last
// one is followed by the empty closing chunk and the apply command, which are not answered.
double protocolBoundMs() {
    double bound = 0;
    for (int pos = 0; pos < kImageSize; pos += kChunk) {
        const int frame = kFrameOverhead + kChunkHeader + std::min(kChunk, kImageSize - pos);
        bound += std::max<double>(gapMs(frame), lineMs(frame + kAnswerFrame));
    }
    return bound + gapMs(kFrameOverhead + kChunkHeader);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A window connected to the emulator, with the firmware file in its folder.
struct Setup {
    Setup() {
        QDir::setCurrent(folder.path());
        QFile file(QStringLiteral("big.enc"));
        if (file.open(QIODevice::WriteOnly)) {
            QByteArray data(kFileSize, '\0');
            for (int i = 0; i < kFileSize; ++i) {
                data[i] = static_cast<char>(i * 7 % 251);
            }
            file.write(data);
        }
        file.close();
        form = std::make_unique<TForm1>(StartOptions{link}, &dialogs);
        form->show();
        ready = WaitFor(30000, [this] {
            // Identified, and the settings read that follows is over.
            const CPort* port = form->session().port();
            return port != nullptr &&
                   !NamedChild<QLineEdit>(*form, QStringLiteral("Edit1"))->text().isEmpty() &&
                   port->dumpActive == 0 && port->QueueSize() == 0 && port->Current().isEmpty();
        });
    }
    ~Setup() { form.reset(); }

    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("emu"));
    EmulatorProcess emulator{link, {QStringLiteral("--hardware"), QStringLiteral("450")}};
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
    bool ready = false;
};

void FirmwareOf256KiBOnAChunkController(benchmark::State& state) {
    Setup setup;
    if (!setup.ready) {
        state.SkipWithError("no controller");
        return;
    }
    const NamedControls page(*setup.form);
    page.Edit23->setText(QStringLiteral("big.enc"));
    double seconds = 0;
    double cpu = 0;
    for (auto _ : state) {
        // The event loop runs as the application's would; a slow check sees the end.
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (!page.Button7->isEnabled()) {
                loop.quit();
            }
        });
        const double cpuBefore = cpuSeconds();
        QElapsedTimer clock;
        clock.start();
        page.Button5->click();
        check.start(100);
        loop.exec();
        seconds += clock.nsecsElapsed() / 1e9;
        cpu += cpuSeconds() - cpuBefore;
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        if (page.Label26->text() != QStringLiteral("Прошивка завершена успешно")) {
            state.SkipWithError(qPrintable(page.Label26->text()));
            return;
        }
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["seconds"] = seconds / runs;
    state.counters["bound_seconds"] = protocolBoundMs() / 1000;
    state.counters["vs_protocol"] = seconds / runs / (protocolBoundMs() / 1000);
    state.counters["cpu"] = cpu / seconds;
}

BENCHMARK(FirmwareOf256KiBOnAChunkController)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace
