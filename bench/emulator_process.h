#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// talvik-emu (beside the benchmark) on a pseudo-terminal reached through a link at `link`;
// stopped the way a user stops it when the object goes.
class EmulatorProcess {
public:
    EmulatorProcess(const QString& link, const QStringList& arguments,
                    const QString& traceFile = {});
    ~EmulatorProcess();
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    // Whether it announced its terminal.
    [[nodiscard]] bool started() const { return m_started; }
    // Stops it now, so that what it writes on the way out is there to read.
    void stop();

private:
    QProcess m_process;
    bool m_started = false;
};
