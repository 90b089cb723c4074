// A controller that floods the terminal: 1000 text lines a second for 10 s, written straight
// into a pseudo-terminal (faster than any serial line would carry them, so the window's own
// handling is what is measured). The window is connected and identified first.
// - "cpu_percent": CPU time of the window's thread over the flood and the drain after it, in
//   percent of one core (goal under 20);
// - "longest_stall_ms": the longest time the event loop was kept from a 10 ms heartbeat timer,
//   beyond its interval (goal under 50);
// - "idle_stall_ms": the same measure over 3 s before the flood, on the connected window alone:
//   what the machine's own load adds (on a busy machine the stall says little without it);
// - "lines_shown": flood lines that reached the terminal (all 10000 when nothing was lost);
// - "output_lines": lines the terminal holds at the end (100).
// Run from the build folder: bin/terminal_flood_bench.

#include "scripted_dialogs.h"

#include "c_port.h"
#include "connection.h"
#include "controller_session.h"
#include "cp1251.h"
#include "frame_codec.h"
#include "named_controls.h"
#include "terminal.h"
#include "terminal_panel.h"
#include "tform1.h"
#include "tform2.h"
#include "wait_for.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

using namespace talvik::app;
using namespace talvik::link;
using namespace talvik::support;

namespace {

constexpr int kLinesPerSecond = 1000;
constexpr int kSeconds = 10;
constexpr int kHeartbeatMs = 10;
constexpr int kIdleMs = 3000;

// A frame from the controller: the mark (' ' for a text, 0x01 for the announcement), then the text.
QByteArray frame(std::uint8_t kind, const QString& text, char mark = ' ') {
    const QByteArray payload = mark + Cp1251::fromUnicode(text);
    return *FrameCodec::BuildFrame(kind, 5,
                                   {reinterpret_cast<const std::uint8_t*>(payload.constData()),
                                    static_cast<std::size_t>(payload.size())});
}

void writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0) {
            done += n;
        } else {
            pollfd out{fd, POLLOUT, 0};
            ::poll(&out, 1, 100);
        }
    }
}

// The controller's side of a pseudo-terminal: it announces itself to the first probe, tells
// its version and serial number, and floods once told to. What the window writes is read and
// dropped, so the window's writes never block.
class FloodingController {
public:
    FloodingController() {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            qFatal("no pseudo-terminal");
        }
        m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
        m_thread = std::thread([this] { run(); });
    }
    ~FloodingController() {
        m_stop = true;
        m_thread.join();
        ::close(m_master);
    }
    [[nodiscard]] const QString& slavePath() const { return m_slavePath; }
    void flood() { m_flood = true; }
    [[nodiscard]] bool flooded() const { return m_flooded; }

private:
    void drain() {
        char buffer[4096];
        while (::read(m_master, buffer, sizeof buffer) > 0) {
            m_heard = true;
        }
    }

    void run() {
        while (!m_stop && !m_heard) {
            pollfd in{m_master, POLLIN, 0};
            ::poll(&in, 1, 20);
            drain();
        }
        writeAll(m_master, frame(0, QStringLiteral("controller"), '\x01'));
        writeAll(m_master, frame(2, QStringLiteral("Версия ПО: 3.0 Конфигурация: 1.65 HV: 412")));
        writeAll(m_master, frame(2, QStringLiteral("#S54:0123456789AB")));
        while (!m_stop && !m_flood) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            drain();
        }
        const auto start = std::chrono::steady_clock::now();
        for (int line = 0; !m_stop && line < kLinesPerSecond * kSeconds; ++line) {
            std::this_thread::sleep_until(
                start + std::chrono::microseconds(line * 1000000LL / kLinesPerSecond));
            writeAll(m_master, frame(1, QStringLiteral("GSM: сеть 1, уровень 21, строка %1")
                                            .arg(line, 5, 10, QLatin1Char('0'))));
            drain();
        }
        m_flooded = true;
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            drain();
        }
    }

    int m_master = -1;
    QString m_slavePath;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_heard = false;
    std::atomic<bool> m_flood = false;
    std::atomic<bool> m_flooded = false;
    std::thread m_thread;
};

double threadCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void FloodOfTextLines(benchmark::State& state) {
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    ScriptedDialogs dialogs;
    FloodingController controller;
    TForm1 form(StartOptions{controller.slavePath()}, &dialogs);
    form.show();
    const bool identified = WaitFor(10000, [&] {
        return form.session().port() != nullptr &&
               !NamedChild<QLineEdit>(form, QStringLiteral("Edit1"))->text().isEmpty() &&
               form.waitingWindow() == nullptr;
    });
    if (!identified) {
        state.SkipWithError("the window did not take the controller");
        return;
    }
    int shown = 0;
    QObject::connect(&form.terminal().terminal(), &Terminal::printed,
                     [&shown](const QString& line, Terminal::Direction direction) {
                         shown += direction == Terminal::Direction::Received &&
                                  line.contains(QStringLiteral("строка"));
                     });
    QElapsedTimer sinceBeat;
    qint64 longestGapMs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(kHeartbeatMs);
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { longestGapMs = std::max(longestGapMs, sinceBeat.restart()); });

    sinceBeat.start();
    heartbeat.start();
    WaitFor(kIdleMs, [] { return false; });
    heartbeat.stop();
    const qint64 idleGapMs = longestGapMs;
    longestGapMs = 0;

    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const double cpuBefore = threadCpuSeconds();
        sinceBeat.start();
        heartbeat.start();
        controller.flood();
        WaitFor(kSeconds * 1000 + 5000,
                [&] { return controller.flooded() && shown == kLinesPerSecond * kSeconds; });
        heartbeat.stop();
        const double cpu = threadCpuSeconds() - cpuBefore;
        const double seconds = clock.nsecsElapsed() / 1e9;
        state.SetIterationTime(seconds);
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longestGapMs - kHeartbeatMs);
    state.counters["idle_stall_ms"] = static_cast<double>(idleGapMs - kHeartbeatMs);
    state.counters["lines_shown"] = shown;
    state.counters["output_lines"] =
        NamedChild<QPlainTextEdit>(form, QStringLiteral("RichEdit1"))->document()->blockCount();
    form.close();
}

BENCHMARK(FloodOfTextLines)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
