// Settings transfer against talvik-emu on a pseudo-terminal at 115200 baud, through the window:
// - a full read of the richest type, against the line time of every byte exchanged (10 bits a
//   byte): counter "vs_line" (goal at most 1.10);
// - a write of 100 changed settings, against what the protocol itself allows: for each command
//   the larger of its pacing gap and the line time of the command and its reply: counter
//   "vs_protocol" (goal at most 1.10). It comes out below 1: the pacing gap counts from the
//   moment a write was asked for, before its own pacing sleep, so a write that had to wait
//   lets the next one follow its reply at once.
// The emulator holds every number up to the last setting, as a controller does, so the listing
// runs without gaps.
// Run from the build folder: bin/settings_transfer_bench (needs bin/talvik-emu beside it).

#include "emulator_process.h"
#include "scripted_dialogs.h"

#include "c_port.h"
#include "connection.h"
#include "controller_session.h"
#include "cp1251.h"
#include "header_panel.h"
#include "parameter_store.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "system_port_enumerator.h"
#include "tform1.h"
#include "wait_for.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <memory>

using namespace talvik::app;
using namespace talvik::editor;
using namespace talvik::link;
using namespace talvik::support;

namespace {

constexpr double kBaud = 115200.0;
constexpr int kRichest = 5; // Pellam Q5

// Counts every byte that crosses the line in either direction.
struct Traffic {
    std::int64_t written = 0;
    std::int64_t read = 0;
};

class CountingLine final : public SerialLine {
public:
    CountingLine(std::unique_ptr<SerialLine> line, Traffic& traffic)
        : m_line(std::move(line)), m_traffic(traffic) {}
    bool open(const QString& portName) override { return m_line->open(portName); }
    bool close() override { return m_line->close(); }
    bool setLineSettings(std::uint32_t baud, std::uint8_t stopBits) override {
        return m_line->setLineSettings(baud, stopBits);
    }
    bool setBaudRate(std::uint32_t baud) override { return m_line->setBaudRate(baud); }
    bool setQueueSizes(std::size_t input, std::size_t output) override {
        return m_line->setQueueSizes(input, output);
    }
    std::int64_t bytesWaiting() override { return m_line->bytesWaiting(); }
    std::int64_t read(std::uint8_t* data, std::size_t size) override {
        const std::int64_t n = m_line->read(data, size);
        m_traffic.read += std::max<std::int64_t>(n, 0);
        return n;
    }
    std::int64_t write(const std::uint8_t* data, std::size_t size) override {
        const std::int64_t n = m_line->write(data, size);
        m_traffic.written += std::max<std::int64_t>(n, 0);
        return n;
    }
    int errorCode() const override { return m_line->errorCode(); }
    bool accessDenied() const override { return m_line->accessDenied(); }
    void setArrivalHandler(std::function<void()> handler) override {
        m_line->setArrivalHandler(std::move(handler));
    }

private:
    std::unique_ptr<SerialLine> m_line;
    Traffic& m_traffic;
};

class CountingPorts final : public PortEnumerator {
public:
    explicit CountingPorts(Traffic& traffic) : m_traffic(traffic) {}
    QList<Port> AvailablePorts() const override { return m_system.AvailablePorts(); }
    std::unique_ptr<SerialLine> CreateLine() const override {
        return std::make_unique<CountingLine>(m_system.CreateLine(), m_traffic);
    }

private:
    SystemPortEnumerator m_system;
    Traffic& m_traffic;
};

bool done(TForm1& form) {
    return form.findChild<QLabel*>(QStringLiteral("Label5"))
        ->text()
        .startsWith(QStringLiteral("Готово"));
}

// A window connected to the emulator, which holds every setting of the richest type.
struct Setup {
    Setup() {
        QDir::setCurrent(folder.path());
        QFile::link(QStringLiteral(TALVIK_SOURCE_DIR "/data/Interface"),
                    QStringLiteral("Interface"));
        {
            TForm1 source(StartOptions{QStringLiteral("/nonexistent")}, &dialogs);
            source.showDeviceType(kRichest);
            settings = source.settingsEditor().store().size();
            const QString failure =
                source.settings().transfer().SaveSettingsFile(QStringLiteral("rich.set"));
            if (!failure.isEmpty()) {
                qFatal("rich.set: %s", qUtf8Printable(failure));
            }
        }
        emulator = std::make_unique<EmulatorProcess>(
            link, QStringList{QStringLiteral("--settings"), QStringLiteral("rich.set"),
                              QStringLiteral("--fill"), QStringLiteral("--hardware"),
                              QStringLiteral("415")});
        form = std::make_unique<TForm1>(StartOptions{link}, &dialogs);
        form->connection().setPortSource(std::make_unique<CountingPorts>(traffic),
                                         QStringLiteral("Порт (") + link + u')');
        form->show();
        ready = WaitFor(30000, [this] { return form->session().port() != nullptr && done(*form); });
    }
    ~Setup() { form.reset(); }

    QTemporaryDir folder;
    const QString link = folder.filePath(QStringLiteral("emu"));
    ScriptedDialogs dialogs;
    std::unique_ptr<EmulatorProcess> emulator;
    Traffic traffic;
    std::unique_ptr<TForm1> form;
    int settings = 0;
    bool ready = false;
};

// Made on first use, gone with the application object.
std::unique_ptr<Setup> g_setup;
Setup& setup() {
    if (!g_setup) {
        g_setup = std::make_unique<Setup>();
        qAddPostRoutine([] { g_setup.reset(); });
    }
    return *g_setup;
}

void FullReadOfTheRichestType(benchmark::State& state) {
    Setup& s = setup();
    if (!s.ready) {
        state.SkipWithError("no controller");
        return;
    }
    double seconds = 0;
    double lineSeconds = 0;
    for (auto _ : state) {
        s.traffic = {};
        s.form->findChild<QLabel*>(QStringLiteral("Label5"))->clear();
        QElapsedTimer clock;
        clock.start();
        s.form->findChild<QAbstractButton*>(QStringLiteral("PNGButton3"))->click();
        WaitFor(60000, [&] { return done(*s.form); });
        seconds += clock.nsecsElapsed() / 1e9;
        lineSeconds += (s.traffic.written + s.traffic.read) * 10 / kBaud;
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
    }
    state.counters["settings"] = s.settings;
    state.counters["bytes"] = static_cast<double>(s.traffic.written + s.traffic.read);
    state.counters["vs_line"] = seconds / lineSeconds;
}

void WriteOfHundredChangedSettings(benchmark::State& state) {
    Setup& s = setup();
    if (!s.ready) {
        state.SkipWithError("no controller");
        return;
    }
    ParameterStore& store = s.form->settingsEditor().store();
    double seconds = 0;
    double bound = 0;
    for (auto _ : state) {
        QStringList commands;
        for (auto& [number, record] : store) {
            if (commands.size() == 100) {
                break;
            }
            if (number != 314 && number != 214 && number != 683 && number != 447) {
                record.changed = true;
                commands.append(QStringLiteral(" #P%1=").arg(number) +
                                ParameterStore::valueOf(record));
            }
        }
        commands.append(QStringLiteral(" #S15=1"));
        s.traffic = {};
        s.form->findChild<QLabel*>(QStringLiteral("Label5"))->clear();
        QElapsedTimer clock;
        clock.start();
        s.form->findChild<QAbstractButton*>(QStringLiteral("PNGButton4"))->click();
        WaitFor(60000, [&] { return done(*s.form); });
        seconds += clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        // Per command: the pacing gap after its frame (line time + 10 ms, whole milliseconds)
        // or the line time of the frame and its reply, whichever is longer. Replies are taken
        // at their average size.
        const double reply =
            static_cast<double>(s.traffic.read) / static_cast<double>(commands.size());
        for (const QString& command : commands) {
            const double frame = 9.0 + Cp1251::fromUnicode(command).size() + 1.0;
            const double gap = static_cast<int>(frame * 10000 / kBaud) / 1000.0 + 0.010;
            bound += std::max(gap, (frame + reply) * 10 / kBaud);
        }
    }
    state.counters["vs_protocol"] = seconds / bound;
}

BENCHMARK(FullReadOfTheRichestType)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteOfHundredChangedSettings)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
