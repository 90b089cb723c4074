#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace talvik::settings {

// The copies of what each read from a controller brought: one settings file per read under
// <folder>/<serial number>/<date>_<time>.set, so that what a controller held before a write can
// always be loaded back. Only the newest copies of each serial number are kept.
class ReadBackup {
public:
    static constexpr int kKeptPerSerial = 50;

    explicit ReadBackup(QString folder);

    struct Result {
        QString path;    // the file written, empty when it failed
        QString failure; // why it failed, in words for the user, empty on success
    };
    // Writes text as the copy of a read that ended at `when` (local time); a read that ended
    // with errors is marked partial in the name. Then drops the oldest copies of that serial
    // beyond kKeptPerSerial.
    [[nodiscard]] Result save(const QByteArray& text, const QString& serial, const QDateTime& when,
                              bool partial) const;

    // The file name of a copy, sortable by time: "2026-12-05_14-03-27.set".
    [[nodiscard]] static QString fileName(const QDateTime& when, bool partial);

private:
    void prune(const QString& serialFolder) const;

    QString m_folder;
};

} // namespace talvik::settings
