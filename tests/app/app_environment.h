#pragma once

#include "simple_log.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

// The one QApplication of a widget test process, with the process's log file in a folder of
// its own so that tests read only their own lines.
class AppEnvironment {
public:
    static AppEnvironment& get() {
        static AppEnvironment environment;
        return environment;
    }
    // The log lines written since `offset` (a byte position taken with logSize()).
    [[nodiscard]] QList<QByteArray> logLinesSince(qint64 offset) const {
        QFile file(m_logDir.filePath(QStringLiteral("log.txt")));
        if (!file.open(QIODevice::ReadOnly) || !file.seek(offset)) {
            return {};
        }
        const QByteArray text = file.readAll().trimmed();
        return text.isEmpty() ? QList<QByteArray>() : text.split('\n');
    }
    [[nodiscard]] qint64 logSize() const {
        return QFile(m_logDir.filePath(QStringLiteral("log.txt"))).size();
    }

private:
    AppEnvironment() {
        // Kept to the end of the process: Qt's own globals go first at exit.
        static int argc = 1;
        static char name[] = "app_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        SimpleLog::setFileName(m_logDir.filePath(QStringLiteral("log.txt")));
    }
    QTemporaryDir m_logDir;
};

// A log line without its time stamp.
inline QByteArray withoutStamp(const QByteArray& line) {
    return line.mid(24);
}
