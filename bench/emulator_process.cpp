#include "emulator_process.h"

#include <QCoreApplication>

namespace {
constexpr int kStartMs = 5000;
} // namespace

EmulatorProcess::EmulatorProcess(const QString& link, const QStringList& arguments,
                                 const QString& traceFile) {
    m_process.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/talvik-emu"));
    // With a trace file the emulator prints every frame into it.
    QStringList all = {QStringLiteral("--link"), link};
    if (!traceFile.isEmpty()) {
        all.append(QStringLiteral("--verbose"));
        m_process.setStandardErrorFile(traceFile);
    }
    m_process.setArguments(all + arguments);
    m_process.start();
    // The terminal's path is its first line of output.
    m_started = m_process.waitForReadyRead(kStartMs);
}

EmulatorProcess::~EmulatorProcess() {
    stop();
}

void EmulatorProcess::stop() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        m_process.waitForFinished(kStartMs);
    }
}
