#pragma once

#include <QObject>
#include <QString>

class QLineEdit;
class QPushButton;

namespace talvik::support {
class Dialogs;
}

namespace talvik::app {

class ControllerSession;
class MainPage;

// The main page's group "Обновление ПО": choosing the firmware, profile and sound files,
// starting and cancelling an upload on the connected controller, and showing its status line
// and progress as the upload reports them.
class UploadPanel : public QObject {
    Q_OBJECT
public:
    // The upload runs on the session's connected controller.
    UploadPanel(MainPage& page, support::Dialogs& dialogs, ControllerSession& session,
                QObject* parent = nullptr);

    // The files last chosen in the three choosers; each chooser starts at its last file. The
    // window keeps them in "terminal.txt" between runs.
    QString OpenDialog1FileName;
    QString OpenDialog2FileName;
    QString OpenDialog4FileName;

Q_SIGNALS:
    // What the upload shows, for whoever follows it without looking at the group: its status
    // lines, the size of its progress, each step of it, and the result text.
    void statusShown(const QString& text);
    void progressMaximumSet(int maximum);
    void progressed(int position);
    void ended(const QString& text);

private:
    // The upload's events on the connected link.
    void ShowStatus(const QString& text);
    void SetProgressMax(int maximum);
    void SetProgress(int position);
    void OnProgrammingEnd(const QString& text);
    void Button8Click();
    void Button9Click();
    void Button14Click();
    // The three start buttons share this handler; the pressed button picks the upload.
    void Button5Click();
    void Button7Click();
    void choose(QString& lastFile, QLineEdit* field, const QString& filter,
                const QString& defaultSuffix);

    MainPage& m_page;
    support::Dialogs& m_dialogs;
    ControllerSession& m_session;
};

} // namespace talvik::app
