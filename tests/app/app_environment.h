#pragma once

#include "simple_log.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// The texts of a log's lines, without their time stamps.
inline QList<QByteArray> logTexts(const QByteArray& log) {
    QList<QByteArray> texts;
    for (const QByteArray& line : log.split('\n')) {
        if (!line.isEmpty()) {
            texts.append(line.mid(24));
        }
    }
    return texts;
}

// The one QApplication of a widget test process, with the process's log file in a folder of
// its own so that tests read only their own lines.
class AppEnvironment {
public:
    static AppEnvironment& get() {
        static AppEnvironment environment;
        return environment;
    }
    [[nodiscard]] qint64 logSize() const { return QFile(logPath()).size(); }
    // The texts of the log lines written since `offset` (a position taken with logSize()).
    [[nodiscard]] QList<QByteArray> logTextsSince(qint64 offset) const {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) && file.seek(offset) ? logTexts(file.readAll())
                                                                   : QList<QByteArray>();
    }

private:
    AppEnvironment() {
        // Kept to the end of the process: Qt's own globals go first at exit.
        static int argc = 1;
        static char name[] = "app_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        SimpleLog::setFileName(logPath());
    }
    [[nodiscard]] QString logPath() const { return m_logDir.filePath(QStringLiteral("log.txt")); }

    QTemporaryDir m_logDir;
};
