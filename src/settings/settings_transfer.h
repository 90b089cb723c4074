#pragma once

#include "read_backup.h"
#include "settings_file_hooks.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace talvik::iface {
class SettingPages;
}
namespace talvik::support {
class Dialogs;
class LogBase;
} // namespace talvik::support

namespace talvik::settings {

class SettingsLink;

// Reading the settings from the controller and writing the changed ones back, the settings
// files, the factory settings and the login reset. It reaches the settings through the pages'
// interface and tells how a read or write batch goes by its signals; the window's header shows
// them.
class SettingsTransfer : public QObject, public iface::SettingsFileHooks {
    Q_OBJECT
public:
    // The read offer to older firmware, and the first question of the factory settings.
    static inline const QString kReadOffer = QStringLiteral("Считать настройки с устройства?");
    static inline const QString kFactoryQuestion =
        QStringLiteral("Вы уверены, что хотите установить заводские настройки?");

    // The device type the window has chosen (its code), and the choice of another one that a
    // settings file names: the pages are rebuilt for it as a change made by the program, so
    // what the old pages showed is not kept, and the file's own values follow the "last.set"
    // loaded into the new pages.
    struct TypeChoice {
        std::function<int()> chosen;
        std::function<void(int code)> choose;
    };

    // link: the connected controller's channel, or null while none is connected.
    SettingsTransfer(iface::SettingPages& pages, support::Dialogs& dialogs, support::LogBase& log,
                     std::function<SettingsLink*()> link, TypeChoice type,
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
    // progress (the steps done so far), and its result text ("Готово" without errors) with
    // what the result line adds to it: that the copy of the read could not be kept, the first
    // time in a run, or nothing.
    void batchStarted(const QString& status, int maximum);
    void batchProgressed(int position);
    void batchFinished(const QString& result, const QString& note);

private:
    void advanceProgress();
    void startBatch(const QString& status, int maximum, SettingsLink& link);
    // Keeps a copy of what the read just brought; a failure is logged, and returned as the
    // result's note only the first time in a run.
    [[nodiscard]] QString backUpRead(const QString& serial, int errors);
    void loadSettingsFile(const QString& path, bool mayChangeType);

    iface::SettingPages& m_pages;
    support::Dialogs& m_dialogs;
    support::LogBase& m_log;
    std::function<SettingsLink*()> m_link;
    TypeChoice m_type;
    // The report hour as the controller sent it, relative to a time zone that has not come yet.
    std::optional<int> m_reportHourReply;
    // The batch on its way is a read (not a write).
    bool m_reading = false;
    // Steps of the batch on its way done so far.
    int m_progress = 0;
    ReadBackup m_backup{QStringLiteral("Backups")};
    bool m_backupFailureShown = false;
};

} // namespace talvik::settings
