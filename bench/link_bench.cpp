// Device link costs: the receive scanner's throughput, and the CPU time one idle second of a
// connected link takes on a real serial line (a pseudo-terminal with a scripted device).
#include "com_port.h"
#include "frame_codec.h"
#include "frame_scanner.h"
#include "qt_serial_line.h"
#include "simple_log.h"
#include "system_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <ctime>
#include <fcntl.h>
#include <pty.h>
#include <random>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace talvik::link;
using namespace talvik::support;

namespace {

QByteArray Frame(std::uint8_t kind, std::uint8_t channel, const QByteArray& payload) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(payload.constData());
    return FrameCodec::BuildFrame(kind, channel, {data, static_cast<std::size_t>(payload.size())})
        .value();
}

// Status replies, keep-alive answers, a corrupted frame and line noise, about 1 MiB.
QByteArray MixedStream() {
    std::mt19937 random(7);
    QByteArray stream;
    const QByteArray status = Frame(2, 5, " #S0:1#S4:20 1 MegaFon#S6:125 0");
    const QByteArray text = Frame(1, 5, " Guard armed by key 3");
    QByteArray corrupt = status;
    corrupt[10] = 'x';
    while (stream.size() < (1 << 20)) {
        stream += status;
        stream += text;
        for (int i = static_cast<int>(random() % 17); i > 0; --i) {
            stream += static_cast<char>(random() % 256);
        }
        stream += Frame(0, 5, {});
        if (random() % 8 == 0) {
            stream += corrupt;
        }
    }
    return stream;
}

void BM_ScannerThroughput(benchmark::State& state) {
    const QByteArray stream = MixedStream();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.constData());
    FrameScanner scanner;
    std::size_t frames = 0;
    const auto count = [&frames](const ReceivedFrame& frame) { frames += frame.checksumOk; };
    for (auto _ : state) {
        // Driver-sized reads, as the channel gets them.
        for (qsizetype at = 0; at < stream.size(); at += 4096) {
            const auto size =
                static_cast<std::size_t>(std::min<qsizetype>(4096, stream.size() - at));
            scanner.Feed({bytes + at, size}, count);
        }
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_ScannerThroughput);

double ProcessCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A connected port on a pseudo-terminal whose other end answers every frame with an empty
// device frame, so the keep-alive is answered as a controller would.
class IdleLink {
public:
    IdleLink() {
        SimpleLog::setFileName(m_dir.filePath(u"log.txt"_s));
        char name[256] = {};
        if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
            return;
        }
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        auto line = std::make_unique<QtSerialLine>();
        if (!line->open(QString::fromLocal8Bit(name))) {
            return;
        }
        m_port = std::make_unique<ComPort>(std::move(line), QString::fromLocal8Bit(name), QString(),
                                           SystemClock::instance());
        m_device = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_device.get(), &QSocketNotifier::activated, [this] { Answer(); });
        Send(Frame(0, 5,
                   "\x01"
                   "bench"));
        QElapsedTimer waited;
        waited.start();
        while (!m_port->Connected() && waited.elapsed() < 2000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            m_port->CheckReceive();
        }
    }
    ~IdleLink() {
        m_device.reset();
        m_port.reset();
        ::close(m_master);
        ::close(m_slave);
    }

    [[nodiscard]] bool Connected() const { return m_port && m_port->Connected(); }

    // CPU milliseconds of one wall-clock second with reception polled every pollMs, or driven
    // by arrivals when pollMs is 0.
    double IdleSecond(int pollMs) {
        QTimer timer2;
        timer2.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer2, &QTimer::timeout, [this] { m_port->CheckReceive(); });
        if (pollMs == 0) {
            m_port->ReceiveOnArrival();
        }
        QTimer timer1;
        QObject::connect(&timer1, &QTimer::timeout, [this] { m_port->Tick(); });
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        const double start = ProcessCpuMs();
        if (pollMs > 0) {
            timer2.start(pollMs);
        }
        timer1.start(100);
        loop.exec();
        return ProcessCpuMs() - start;
    }

private:
    void Answer() {
        char buffer[512];
        while (::read(m_master, buffer, sizeof buffer) > 0) {
        }
        Send(Frame(0, 5, {}));
    }
    void Send(const QByteArray& bytes) const {
        benchmark::DoNotOptimize(::write(m_master, bytes.constData(), bytes.size()));
    }

    QTemporaryDir m_dir;
    SimpleLog m_keeper;
    int m_master = -1;
    int m_slave = -1;
    std::unique_ptr<ComPort> m_port;
    std::unique_ptr<QSocketNotifier> m_device;
};

// Arg: how often reception is polled, in ms (1: the window's reception timer), or 0 for
// reception driven by the line's arrival notice (QSerialPort::readyRead).
void BM_IdleConnectedSecond(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "link_bench";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        static QCoreApplication app(argc, argv);
    }
    IdleLink link;
    if (!link.Connected()) {
        state.SkipWithError("no connection over the pseudo-terminal");
        return;
    }
    double cpuMs = 0;
    for (auto _ : state) {
        const double spent = link.IdleSecond(static_cast<int>(state.range(0)));
        cpuMs += spent;
        state.SetIterationTime(spent / 1e3);
    }
    state.counters["cpu_ms_per_idle_s"] = cpuMs / static_cast<double>(state.iterations());
    state.counters["still_connected"] = link.Connected() ? 1 : 0;
}
BENCHMARK(BM_IdleConnectedSecond)
    ->Arg(1)
    ->Arg(0)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
