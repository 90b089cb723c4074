#pragma once

#include "simple_log.h"

#include <QFile>
#include <QTemporaryDir>

// The log lines written since the object was made, without their time stamps. The shared log
// file lives in a temporary folder for the whole run; one log object keeps it from reopening.
class LogTail {
public:
    [[nodiscard]] QByteArrayList Lines() const {
        QFile file(m_path);
        QByteArrayList lines;
        for (const QByteArray& line : file.open(QIODevice::ReadOnly) && file.seek(m_start)
                                          ? file.readAll().split('\n')
                                          : QByteArrayList()) {
            if (!line.isEmpty()) { // drop "date time "
                lines.append(line.mid(line.indexOf(' ', line.indexOf(' ') + 1) + 1));
            }
        }
        return lines;
    }

private:
    static QString Path() {
        static QTemporaryDir dir;
        talvik::support::SimpleLog::setFileName(dir.filePath(QStringLiteral("log.txt")));
        static talvik::support::SimpleLog keeper;
        return dir.filePath(QStringLiteral("log.txt"));
    }

    QString m_path = Path();
    qint64 m_start = QFile(m_path).size();
};
