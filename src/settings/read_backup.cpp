#include "read_backup.h"

#include <QDir>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace talvik::settings {

namespace {
// A serial number comes from the controller: nothing in it may climb out of the folder.
QString folderName(const QString& serial) {
    QString name = serial.trimmed();
    for (QChar& c : name) {
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_') {
            c = u'_';
        }
    }
    return name.isEmpty() ? u"unknown"_s : name;
}
} // namespace

ReadBackup::ReadBackup(QString folder) : m_folder(std::move(folder)) {}

QString ReadBackup::fileName(const QDateTime& when, bool partial) {
    return when.toString(u"yyyy-MM-dd_HH-mm-ss"_s) + (partial ? u"_partial.set"_s : u".set"_s);
}

ReadBackup::Result ReadBackup::save(const QByteArray& text, const QString& serial,
                                    const QDateTime& when, bool partial) const {
    const QString serialFolder = m_folder + u'/' + folderName(serial);
    const QString path = serialFolder + u'/' + fileName(when, partial);
    if (!QDir().mkpath(serialFolder)) {
        return {{}, u"папка %1 не создана"_s.arg(QDir::toNativeSeparators(serialFolder))};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() ||
        !file.commit()) {
        return {{}, file.errorString()};
    }
    prune(serialFolder);
    return {path, {}};
}

void ReadBackup::prune(const QString& serialFolder) const {
    QDir dir(serialFolder);
    // The names start with the time, so the name order is the time order, newest first.
    const QStringList copies =
        dir.entryList({u"*.set"_s}, QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = kKeptPerSerial; i < copies.size(); ++i) {
        dir.remove(copies[i]);
    }
}

} // namespace talvik::settings
