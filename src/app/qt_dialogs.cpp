#include "qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace talvik::app {

namespace {
// The program's own folders of settings files: the copies of every read and the factory
// settings. Restoring a controller starts from one of them.
const QStringList kPlaces = {QStringLiteral("Backups"), QStringLiteral("Configs")};
} // namespace

void QtDialogs::information(const QString& caption, const QString& text) {
    QMessageBox::information(m_owner, caption, text);
}

void QtDialogs::warning(const QString& caption, const QString& text) {
    QMessageBox::warning(m_owner, caption, text);
}

void QtDialogs::error(const QString& caption, const QString& text) {
    QMessageBox::critical(m_owner, caption, text);
}

bool QtDialogs::question(const QString& caption, const QString& text) {
    return QMessageBox::question(m_owner, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QString QtDialogs::openFile(const QString& caption, const QString& startPath, const QString& filter,
                            const QString& defaultSuffix) {
    return chooseFile(QFileDialog::AcceptOpen, caption, startPath, filter, defaultSuffix);
}

QString QtDialogs::saveFile(const QString& caption, const QString& startPath, const QString& filter,
                            const QString& defaultSuffix) {
    return chooseFile(QFileDialog::AcceptSave, caption, startPath, filter, defaultSuffix);
}

QString QtDialogs::chooseFile(int acceptMode, const QString& caption, const QString& startPath,
                              const QString& filter, const QString& defaultSuffix) {
    QFileDialog dialog(m_owner, caption, startPath, filter);
    dialog.setAcceptMode(static_cast<QFileDialog::AcceptMode>(acceptMode));
    if (acceptMode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    dialog.setDefaultSuffix(defaultSuffix);
    // Qt's own chooser, since only it shows the program's folders in its list of places.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QList<QUrl> places = dialog.sidebarUrls();
    for (const QString& folder : kPlaces) {
        const QDir dir(folder);
        if (dir.exists()) {
            places.append(QUrl::fromLocalFile(dir.absolutePath()));
        }
    }
    dialog.setSidebarUrls(places);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace talvik::app
