#pragma once

#include "simple_log.h"

#include <QByteArrayList>
#include <QFile>
#include <QTemporaryDir>

// The log lines written since the object was made, without their time stamps. The shared log
// file lives in a temporary folder for the whole run; one log object keeps it from reopening.
class LogTail {
public:
    LogTail() : m_start(QFile(Path()).size()) {}

    [[nodiscard]] QByteArrayList Lines() const {
        QFile file(Path());
        QByteArrayList lines;
        if (file.open(QIODevice::ReadOnly) && file.seek(m_start)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (!line.isEmpty()) { // drop "date time "
                    lines.append(line.mid(line.indexOf(' ', line.indexOf(' ') + 1) + 1));
                }
            }
        }
        return lines;
    }
    [[nodiscard]] int Count(const QByteArray& line) const { return int(Lines().count(line)); }

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
