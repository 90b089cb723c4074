// The main() of the benchmarks that run the window: offscreen, with the log in a folder of its
// own so that a run leaves nothing in the build folder.

#include "simple_log.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir logs;
    talvik::support::SimpleLog::setFileName(logs.filePath(QStringLiteral("log.txt")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
