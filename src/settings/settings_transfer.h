#pragma once

#include "read_backup.h"
#include "settings_file_hooks.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QTimer;

namespace talvik::editor {
class SettingsEditor;
}
namespace talvik::support {
class Dialogs;
class LogBase;
} // namespace talvik::support

namespace talvik::settings {

class SettingsLink;

// The window's controls that the settings transfer shows its progress in and takes its
// commands from.
struct SettingsControls {
    QLabel* Label5;             // batch status
    QProgressBar* ProgressBar2; // batch progress
    QGroupBox* GroupBox4;       // read, write, save, load
    QAbstractButton* PNGButton3;
    QAbstractButton* PNGButton4;
    QAbstractButton* PNGButton5;
    QAbstractButton* PNGButton6;
    QAbstractButton* Button1;  // the terminal's Send
    QAbstractButton* Button4;  // factory settings
    QAbstractButton* Button11; // login reset
    QComboBox* ComboBox2;      // device type
    QTimer* Timer4;            // clears the batch result
};

// Reading the settings from the controller and writing the changed ones back, the settings
// files, the factory settings and the login reset.
class SettingsTransfer : public QObject, public editor::SettingsFileHooks {
    Q_OBJECT
public:
    // The read offer to older firmware, and the first question of the factory settings.
    static inline const QString kReadOffer = QStringLiteral("Считать настройки с устройства?");
    static inline const QString kFactoryQuestion =
        QStringLiteral("Вы уверены, что хотите установить заводские настройки?");

    // link: the connected controller's channel, or null while none is connected.
    // changeDeviceType: rebuilds the pages for the type now selected in ComboBox2, as a change
    // made by the program (a settings file naming its type): what the old pages showed is not
    // kept, and the file's own values follow the "last.set" loaded into the new pages.
    SettingsTransfer(const SettingsControls& controls, editor::SettingsEditor& editor,
                     support::Dialogs& dialogs, support::LogBase& log,
                     std::function<SettingsLink*()> link, std::function<void()> changeDeviceType,
                     QObject* parent = nullptr);

    // The read decision once the controller is identified (version and serial number known): a
    // controller is read on every connect from firmware 1.66 on; older firmware is offered a
    // read, once per serial number and program run.
    void DecideRead();
    void PNGButton3Click(); // read
    void Button3Click();    // write the changed settings
    void PNGButton5Click(); // save to a file
    void PNGButton6Click(); // load from a file
    void Button4Click();    // factory settings
    void Button11Click();   // login reset

    // A "#P" reply piece.
    void OnParameterReply(const QString& piece);
    void TrackDump(SettingsLink& link, int number, const QString& value);
    // The end of a read or write batch.
    void ShowBatchResult();
    void OnNoReply(SettingsLink& link);
    void OnCommandSent(SettingsLink& link);

    // Writes the settings file for what the pages show; the old file stays whole when this
    // fails. Returns why it failed, in words for the user, or an empty text.
    [[nodiscard]] QString SaveSettingsFile(const QString& path);
    // Loads a settings file into the pages, first switching to the device type the file names
    // when no controller is connected.
    void LoadSettingsFile(const QString& path);
    // "last.set": a failure to save it is only logged; loading it never switches the type.
    void SaveLastSettings() override;
    void LoadLastSettings() override;

    // Serial numbers of the thermometer slots (slot index from 0), as the controller reports them.
    QHash<int, QString> ThermometerSerials;
    // The serial number the read decision was last taken for.
    QString rememberedSerial;
    // The read decision was taken since the last connect.
    bool readOffered = false;
    // The file last chosen to load settings from; the next choice starts there. The window keeps
    // it between runs with the other file choosers' names.
    QString OpenDialog3FileName;
    // Builds the radio assignment-target table when it is still empty (a read ended or was
    // declined).
    std::function<void()> BuildAssignmentTargets;

    // The factory settings file of the device type the pages show.
    [[nodiscard]] QString factoryFile() const;

Q_SIGNALS:
    // A read or write batch: its status text and the progress bar's maximum, each step of the
    // progress, and its result text ("Готово" without errors).
    void batchStarted(const QString& status, int maximum);
    void batchProgressed(int position);
    void batchFinished(const QString& result);

private:
    void advanceProgress();
    void startBatch(const QString& status, int maximum, SettingsLink& link);
    // Keeps a copy of what the read just brought; a failure is logged, and shown with the
    // result only the first time in a run.
    void backUpRead(const QString& serial, int errors);
    void loadSettingsFile(const QString& path, bool mayChangeType);
    [[nodiscard]] int selectedTypeCode() const;

    SettingsControls m_controls;
    editor::SettingsEditor& m_editor;
    support::Dialogs& m_dialogs;
    support::LogBase& m_log;
    std::function<SettingsLink*()> m_link;
    std::function<void()> m_changeDeviceType;
    // The report hour as the controller sent it, relative to a time zone that has not come yet.
    std::optional<int> m_reportHourReply;
    // The batch on its way is a read (not a write).
    bool m_reading = false;
    ReadBackup m_backup{QStringLiteral("Backups")};
    bool m_backupFailureShown = false;
};

} // namespace talvik::settings
