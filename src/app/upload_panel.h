#pragma once

#include "upload_kind.h"

#include <QObject>
#include <QString>
#include <array>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace talvik::support {
class Dialogs;
}

namespace talvik::app {

class ControllerSession;
class MainPage;

// The main page's group "Обновление ПО", which the panel builds and puts in its place: choosing
// the firmware, profile and sound files, starting and cancelling an upload on the connected
// controller, and showing its status line and progress as the upload reports them.
class UploadPanel : public QObject {
    Q_OBJECT
public:
    // The upload runs on the session's connected controller.
    UploadPanel(MainPage& page, support::Dialogs& dialogs, ControllerSession& session,
                QObject* parent = nullptr);

    // As the user presses the chooser ("...") of the kind's file, and its start button.
    void chooseFile(link::UploadKind kind);
    void start(link::UploadKind kind);

    // The files last chosen in the three choosers; each chooser starts at its last file. The
    // window keeps them in "terminal.txt" between runs.
    QString OpenDialog1FileName;
    QString OpenDialog2FileName;
    QString OpenDialog4FileName;

Q_SIGNALS:
    // An upload began on the connected controller; ended() follows it.
    void started();
    // What the upload shows, for whoever follows it without looking at the group: its status
    // lines, the size of its progress, each step of it, and the result text.
    void statusShown(const QString& text);
    void progressMaximumSet(int maximum);
    void progressed(int position);
    void ended(const QString& text);

private:
    void build(MainPage& page);
    // The upload's events on the connected link.
    void ShowStatus(const QString& text);
    void SetProgressMax(int maximum);
    void SetProgress(int position);
    void OnProgrammingEnd(const QString& text);
    void Button7Click();

    support::Dialogs& m_dialogs;
    ControllerSession& m_session;
    // Each kind's file field (Edit23, Edit24, Edit6), in the order of link::UploadKind.
    std::array<QLineEdit*, 3> m_files{};
    QProgressBar* ProgressBar3 = nullptr;
    QPushButton* Button7 = nullptr; // cancel
    QLabel* Label26 = nullptr;      // the upload's status line
};

} // namespace talvik::app
