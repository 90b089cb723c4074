#include "user_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace talvik::app {

namespace {
// Installed next to bin/ as share/talvik/, the layout of every install prefix.
constexpr QStringView kShippedFromProgram = u"../share/talvik";
// Names the version whose shipped files the user folder holds.
constexpr QStringView kShippedVersionFile = u".shipped-version";

bool writeVersion(const QString& path, const QString& version) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(version.toUtf8()) == version.toUtf8().size();
}

QString readVersion(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

QString UserFolder::shippedFolder(const QString& programDir) {
    const QString shipped =
        QDir::cleanPath(QDir(programDir).filePath(kShippedFromProgram.toString()));
    return QFileInfo(shipped + u"/Interface"_s).isDir() ? shipped : QString();
}

bool UserFolder::prepare(const QString& shipped, const QString& user, const QString& version) {
    const QDir target(user);
    if (!target.mkpath(u"."_s)) {
        return false;
    }
    const QString versionPath = target.filePath(kShippedVersionFile.toString());
    const bool upgrade = readVersion(versionPath) != version;
    bool copied = true;
    QDirIterator files(shipped, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString destination = target.filePath(QDir(shipped).relativeFilePath(source));
        if (QFileInfo::exists(destination)) {
            if (!upgrade) {
                continue;
            }
            if (!QFile::remove(destination)) {
                copied = false;
                continue;
            }
        }
        copied = QDir().mkpath(QFileInfo(destination).path()) && QFile::copy(source, destination) &&
                 copied;
        // Shipped files are read-only in the installation; the user's copies are theirs.
        QFile::setPermissions(destination, QFile::permissions(destination) |
                                               QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    // The folders that ship empty are made too, so file dialogs open where the files belong.
    QDirIterator folders(shipped, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (folders.hasNext()) {
        copied = target.mkpath(QDir(shipped).relativeFilePath(folders.next())) && copied;
    }
    return copied && (!upgrade || writeVersion(versionPath, version));
}

} // namespace talvik::app
