// Provisioning by batch runs of `talvik` against talvik-emu at 115200 baud, as a technician's
// script does it: load a settings file, write it, read it back and save what was read; the
// values read back are then compared with the file's.
// - ProvisioningOneController: the run's wall time ("seconds", start of the process to its
//   end) against the line time (10 bits a byte) of every frame from the first setting written
//   to the end of the read-back, taken from the emulator's frame trace ("line_seconds",
//   "vs_line"). What the ratio holds beyond 1 is the run's own start: the scan, the
//   identification and the read that follows it.
// - EightControllersInParallel: eight emulators and eight runs started together, against one
//   run alone ("vs_one", goal at most 1.3: the work is bound by the line, so a rack costs
//   little more than one controller).
// Run from the build folder: bin/batch_bench (needs bin/talvik and bin/talvik-emu beside it).

#include "emulator_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr double kBaud = 115200.0;
constexpr int kBitsPerByte = 10;
constexpr int kFrameOverhead = 9; // marker, kind, channel, length, checksum
constexpr int kRunMs = 300000;
constexpr int kRack = 8;

QString binary(const char* name) {
    return QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name);
}

// Setting number -> value text, for every setting of a settings file. The text is what the
// controller holds: a setting saved as a number from its field may come back as text.
std::map<int, QString> valuesOf(const QString& path) {
    QFile file(path);
    std::map<int, QString> values;
    if (!file.open(QIODevice::ReadOnly)) {
        return values;
    }
    for (const QJsonValue& item : QJsonDocument::fromJson(file.readAll()).array()) {
        QJsonObject element = item.toObject();
        if (element.contains(QStringLiteral("Value"))) {
            const int number = element.take(QStringLiteral("Value")).toInt();
            const QJsonValue value = element.isEmpty() ? QJsonValue() : *element.begin();
            values[number] =
                value.isString() ? value.toString() : QString::number(value.toInteger());
        }
    }
    return values;
}

// Whether every setting of the file came back from the controller with the file's value.
bool readBackMatches(const QString& file, const QString& readBack) {
    const std::map<int, QString> wanted = valuesOf(file);
    const std::map<int, QString> got = valuesOf(readBack);
    for (const auto& [number, value] : wanted) {
        const auto found = got.find(number);
        if (found == got.end() || found->second != value) {
            return false;
        }
    }
    return !wanted.empty();
}

// Line time of the frames in the emulator's trace from the first setting written on. A trace
// line is "talvik-emu: in|out kind K channel C: PAYLOAD", bytes outside printable ASCII as \xHH.
double lineSecondsOfWriteAndRead(const QString& traceFile) {
    QFile file(traceFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    static const QRegularExpression kFrame(
        QStringLiteral("^talvik-emu: (in|out) kind \\d+ channel \\d+: (.*)$"));
    static const QRegularExpression kEscape(QStringLiteral("\\\\x[0-9a-f]{2}"));
    static const QRegularExpression kSettingWritten(QStringLiteral("^ #P\\d+="));
    bool writing = false;
    qint64 bytes = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromLatin1(file.readLine()).chopped(1);
        const QRegularExpressionMatch frame = kFrame.match(line);
        if (!frame.hasMatch()) {
            continue;
        }
        QString payload = frame.captured(2);
        writing = writing || kSettingWritten.match(payload).hasMatch();
        if (writing) {
            bytes += kFrameOverhead + payload.replace(kEscape, QStringLiteral(".")).size();
        }
    }
    return static_cast<double>(bytes) * kBitsPerByte / kBaud;
}

// A folder with the shipped interface and factory settings, and the file to provision: the
// factory settings of the 412 with a value of a customer's own.
class Bench {
public:
    Bench() {
        const QString data = QStringLiteral(TALVIK_SOURCE_DIR "/data/");
        for (const QString& name : {QStringLiteral("Interface"), QStringLiteral("Configs")}) {
            QFile::link(data + name, m_folder.filePath(name));
        }
        m_ready =
            talvik({QStringLiteral("--type"), QStringLiteral("412"), QStringLiteral("--factory"),
                    QStringLiteral("--set"), QStringLiteral("101=23"), QStringLiteral("--save"),
                    QStringLiteral("customer.set")})
                ->waitForFinished(kRunMs);
    }

    [[nodiscard]] bool ready() const { return m_ready; }
    [[nodiscard]] QString path(const QString& name) const { return m_folder.filePath(name); }

    // A provisioning run of the controller behind `link`, started; its log and read-back are
    // named after the link.
    std::unique_ptr<QProcess> provision(const QString& link) {
        const QString name = QFileInfo(link).fileName();
        return talvik({QStringLiteral("--port"), link, QStringLiteral("--log"),
                       name + QStringLiteral(".log"), QStringLiteral("--quiet"),
                       QStringLiteral("--load"), QStringLiteral("customer.set"),
                       QStringLiteral("--write"), QStringLiteral("--read"),
                       QStringLiteral("--save"), name + QStringLiteral(".set")});
    }

    // Whether the run ended well and read back what the file holds.
    [[nodiscard]] bool provisioned(QProcess& run, const QString& link) const {
        return run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0 &&
               readBackMatches(path(QStringLiteral("customer.set")),
                               path(QFileInfo(link).fileName() + QStringLiteral(".set")));
    }

private:
    std::unique_ptr<QProcess> talvik(const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(m_folder.path());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(binary("talvik"), arguments);
        return process;
    }

    QTemporaryDir m_folder;
    bool m_ready = false;
};

// Seconds one provisioning run takes, and the line time of its write and read-back.
struct Single {
    double seconds = 0;
    double lineSeconds = 0;
    bool ok = false;
};

Single provisionOne(Bench& bench) {
    const QString link = bench.path(QStringLiteral("one"));
    const QString trace = bench.path(QStringLiteral("one.trace"));
    EmulatorProcess emulator(link, {}, trace);
    Single single;
    if (!emulator.started()) {
        return single;
    }
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<QProcess> run = bench.provision(link);
    run->waitForFinished(kRunMs);
    single.seconds = clock.nsecsElapsed() / 1e9;
    emulator.stop();
    single.ok = bench.provisioned(*run, link);
    single.lineSeconds = lineSecondsOfWriteAndRead(trace);
    return single;
}

void ProvisioningOneController(benchmark::State& state) {
    Bench bench;
    if (!bench.ready()) {
        state.SkipWithError("the settings file to provision was not made");
        return;
    }
    double seconds = 0;
    double lineSeconds = 0;
    for (auto _ : state) {
        const Single single = provisionOne(bench);
        if (!single.ok || single.lineSeconds <= 0) {
            state.SkipWithError("the controller was not provisioned");
            return;
        }
        state.SetIterationTime(single.seconds);
        seconds += single.seconds;
        lineSeconds += single.lineSeconds;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["seconds"] = seconds / runs;
    state.counters["line_seconds"] = lineSeconds / runs;
    state.counters["vs_line"] = seconds / lineSeconds;
}

void EightControllersInParallel(benchmark::State& state) {
    Bench bench;
    if (!bench.ready()) {
        state.SkipWithError("the settings file to provision was not made");
        return;
    }
    for (auto _ : state) {
        const Single one = provisionOne(bench);
        std::vector<std::unique_ptr<EmulatorProcess>> emulators;
        QStringList links;
        for (int i = 0; i < kRack; ++i) {
            links.append(bench.path(QStringLiteral("rack%1").arg(i)));
            emulators.push_back(std::make_unique<EmulatorProcess>(links.last(), QStringList()));
        }
        QElapsedTimer clock;
        clock.start();
        std::vector<std::unique_ptr<QProcess>> runs;
        for (const QString& link : links) {
            runs.push_back(bench.provision(link));
        }
        bool ok = one.ok;
        for (int i = 0; i < kRack; ++i) {
            runs[i]->waitForFinished(kRunMs);
            ok = ok && bench.provisioned(*runs[i], links[i]);
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (!ok) {
            state.SkipWithError("a controller was not provisioned");
            return;
        }
        state.SetIterationTime(seconds);
        state.counters["one_seconds"] = one.seconds;
        state.counters["eight_seconds"] = seconds;
        state.counters["vs_one"] = seconds / one.seconds;
    }
}

BENCHMARK(ProvisioningOneController)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(EightControllersInParallel)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
