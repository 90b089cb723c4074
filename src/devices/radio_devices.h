#pragma once

#include "assignment_targets.h"
#include "radio_device_list.h"

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

namespace talvik::support {
class Clock;
class Dialogs;
class LogBase;
} // namespace talvik::support

namespace talvik::devices {

class RadioLink;
class TargetSettings;

// The radio page's logic: the device list kept from the controller's "#R" reports, learning new
// devices for a minute, assigning devices to zones, users and thermometers through the texts of
// those settings, and removing devices. The page's panel shows its state and calls its handlers.
class RadioDevices : public QObject {
    Q_OBJECT
public:
    static constexpr int kLearningSeconds = 60;
    static inline const QString kUnassigned = QStringLiteral(" не назначено");

    // One item of the choice menu.
    struct MenuEntry {
        QString name;
        bool checked = false;
    };

    RadioDevices(RadioLink& link, TargetSettings& settings, support::Dialogs& dialogs,
                 support::Clock& clock, support::LogBase& log, QObject* parent = nullptr);

    [[nodiscard]] RadioDeviceList& list() { return m_list; }
    [[nodiscard]] const AssignmentTargets& targets() const { return m_targets; }
    // Learning runs; the countdown is shown exactly while it does.
    [[nodiscard]] bool learning() const { return m_learning; }
    [[nodiscard]] int secondsLeft() const { return m_secondsLeft; }

    // One "#R" reply piece: updates the device's row, or creates it (remotes "AM" and sensors
    // "RQ" only while learning).
    void OnRadioReport(const QString& piece);
    // "Очистить время": empties the time column.
    void Button15Click();
    // Starts or stops learning (only while a controller is connected).
    void Button16Click();
    // The countdown step, run with every Timer1 tick: one second off per 1000 ms of the tick,
    // catching up one step per run after a stall.
    void LearningTick();

    // Fills the targets once (a read ended or was declined) and shows their devices.
    void BuildAssignmentTargets();
    // Shows in the list which devices a target's setting names.
    void ShowTargetAssignments(int setting);
    // After the user edited a target's setting: its name leaves the column, then the devices
    // the text names get it again.
    void RefreshTarget(int setting);
    // After the user edited a setting that names a user: the user's cells and menu name follow.
    void RenameUser(int setting, const QString& text);

    // The assignment kind (1 zone, 2 user, 3 thermometer) of the column under x, given the
    // widths of the list's columns; 0 outside the three assignment columns.
    [[nodiscard]] static int KindAt(int x, const QList<int>& columnWidths);
    // The choice menu for a row and a kind: " не назначено" and the kind's targets (the extra
    // zones only for remotes), sorted, the row's current choice checked.
    [[nodiscard]] QList<MenuEntry> MenuFor(int row, int kind) const;
    // Applies the menu choice `name` of a kind to the selected row.
    void MenuClick(std::optional<int> selectedRow, int kind, const MenuEntry& item);
    // "Удаление выбранного": the rows at these indices leave the list and every target.
    void Button17Click(QList<int> selectedRows);
    // The controller's answer to a removal: the value of its "#S64" piece.
    void OnRemovalReply(const QString& value);
    // The controller was let go: the list empties and learning ends here too.
    void Clear();

Q_SIGNALS:
    void learningChanged(bool learning);
    void countdownChanged(int secondsLeft);

private:
    void setLearning(bool learning);
    // Takes device n out of every target's text.
    void removeFromTargets(int n);
    void writeTarget(int setting, const QString& text);

    RadioLink& m_link;
    TargetSettings& m_settings;
    support::Dialogs& m_dialogs;
    support::Clock& m_clock;
    support::LogBase& m_log;
    RadioDeviceList m_list;
    AssignmentTargets m_targets;
    bool m_learning = false;
    int m_secondsLeft = kLearningSeconds;
    std::optional<std::uint32_t> m_lastStep;
};

} // namespace talvik::devices
