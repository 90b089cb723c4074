#pragma once

#include "simple_log.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// The log lines written since the object was made. The shared log file lives in the temporary
// folder for the whole test run; one log object stays alive so the file is never reopened.
class LogTail {
public:
    LogTail() : m_start(QFileInfo(Path()).size()) {}

    // Each line without its time stamp (date, space, time, space).
    [[nodiscard]] QByteArrayList Lines() const {
        QFile file(Path());
        QByteArrayList lines;
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_start)) {
            return lines;
        }
        const QByteArrayList raw = file.readAll().split('\n');
        for (const QByteArray& line : raw) {
            if (!line.isEmpty()) {
                lines.append(line.mid(line.indexOf(' ', line.indexOf(' ') + 1) + 1));
            }
        }
        return lines;
    }
    [[nodiscard]] int Count(const QByteArray& line) const {
        return static_cast<int>(Lines().count(line));
    }

private:
    static const QString& Path() {
        static const QString path = [] {
            static QTemporaryDir dir;
            const QString file = dir.filePath(QStringLiteral("log.txt"));
            SimpleLog::setFileName(file);
            static SimpleLog keeper;
            return file;
        }();
        return path;
    }

    qint64 m_start;
};
