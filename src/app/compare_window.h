#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace talvik::editor {
class SettingsEditor;
}
namespace talvik::support {
class Dialogs;
}

namespace talvik::app {

// The window the header's "Сравнить" opens: one row per setting that differs between the pages
// and either the changes the next write sends or a settings file the user chooses. A double
// click on a row shows that setting on its page.
class CompareWindow : public QDialog {
    Q_OBJECT
public:
    // showSetting shows a setting on its page.
    CompareWindow(editor::SettingsEditor& editor, support::Dialogs& dialogs,
                  std::function<void(int)> showSetting, QWidget* parent = nullptr);

    // Lists the changes not yet written against what the controller holds.
    void showPending();
    // Asks for a settings file and lists what differs from it.
    void FileButtonClick();
    // Lists what differs from the settings file at path; a file that is not one is reported.
    void compareWithFile(const QString& path);

    QPushButton* PendingButton;
    QPushButton* FileButton;
    QLabel* SourceLabel; // what the rows compare with
    QTreeWidget* Rows;   // page, setting, value shown, other value; the setting number as data

private:
    void rowActivated();

    editor::SettingsEditor& m_editor;
    support::Dialogs& m_dialogs;
    std::function<void(int)> m_showSetting;
    QString m_lastFile;
};

} // namespace talvik::app
