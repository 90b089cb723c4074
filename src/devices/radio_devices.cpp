#include "radio_devices.h"

#include "clock.h"
#include "compare_versions.h"
#include "date_time.h"
#include "dialogs.h"
#include "leading_integer.h"
#include "radio_data.h"
#include "radio_link.h"
#include "radio_report.h"
#include "target_settings.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace talvik::devices {

namespace {

constexpr std::uint32_t kStepMs = 1000;
// Zones above the ten numbered ones (alarm button, arming, disarming) take remotes only.
constexpr int kHighestZone = 54;
constexpr int kHighestRemoteZone = 57;
// How long a user's device list may grow, by firmware.
constexpr int kShortUserList = 20;
constexpr int kLongUserList = 33;
constexpr QStringView kLongUserListVersion = u"2.33";

const QString kRemote = u"AM"_s;
const QString kSensor = u"RQ"_s;
const QString kThermometerType = u"TK"_s;

// A device's number: its number text without the wrapping character on each side.
QString bareNumber(const QString& numberText) {
    return numberText.size() >= 2 ? numberText.sliced(1, numberText.size() - 2) : QString();
}

RadioDeviceList::SubItem columnOf(int kind) {
    return static_cast<RadioDeviceList::SubItem>(kind);
}

} // namespace

RadioDevices::RadioDevices(RadioLink& link, TargetSettings& settings, support::Dialogs& dialogs,
                           support::Clock& clock, support::LogBase& log, QObject* parent)
    : QObject(parent), m_link(link), m_settings(settings), m_dialogs(dialogs), m_clock(clock),
      m_log(log) {}

void RadioDevices::OnRadioReport(const QString& piece) {
    const std::optional<RadioReport> report = RadioReport::read(piece);
    if (!report) {
        return;
    }
    const bool create = m_learning || (report->type != kRemote && report->type != kSensor);
    const std::optional<int> row = m_list.FindDeviceRow(report->number, create);
    if (!row) {
        return;
    }
    m_list.setCells(*row, {{RadioDeviceList::Type, report->type},
                           {RadioDeviceList::Data, DecodeRadioData(report->data, m_log)},
                           {RadioDeviceList::Time,
                            support::DateTime::format(support::DateTime::now(), u"h:m:s", 0)}});
}

void RadioDevices::Button15Click() {
    m_list.clearColumn(RadioDeviceList::Time);
}

void RadioDevices::Button16Click() {
    if (!m_link.connected()) {
        return;
    }
    if (m_learning) {
        m_link.SendCommand(u" #S63=0"_s, link::SendFlag::ForgetOnChannel3);
        setLearning(false);
    } else {
        m_link.SendCommand(u" #S63=%1"_s.arg(kLearningSeconds), link::SendFlag::ForgetOnChannel3);
        m_secondsLeft = kLearningSeconds;
        setLearning(true);
    }
}

void RadioDevices::setLearning(bool learning) {
    m_learning = learning;
    Q_EMIT learningChanged(learning);
    if (learning) {
        Q_EMIT countdownChanged(m_secondsLeft);
    }
}

void RadioDevices::LearningTick() {
    const std::uint32_t now = m_clock.tickMs();
    if (!m_lastStep) {
        m_lastStep = now;
    }
    if (now - *m_lastStep < kStepMs) {
        return;
    }
    *m_lastStep += kStepMs;
    if (!m_learning) {
        return;
    }
    --m_secondsLeft;
    Q_EMIT countdownChanged(m_secondsLeft);
    if (m_secondsLeft == 0) {
        Button16Click();
    }
}

void RadioDevices::BuildAssignmentTargets() {
    m_targets.Build(m_settings, [this](int setting) { ShowTargetAssignments(setting); });
}

void RadioDevices::ShowTargetAssignments(int setting) {
    const Unit* target = m_targets.find(setting);
    const std::optional<QString> text = target ? m_settings.text(setting) : std::nullopt;
    if (!text) {
        return;
    }
    for (const QString& part : text->split(u' ', Qt::SkipEmptyParts)) {
        // List entries are wrapped number texts, so a bare number there is not a device.
        if (part == u"0"_s ||
            (target->marker.isEmpty() && part.front().isDigit() && part.front().unicode() < 128)) {
            continue;
        }
        const std::optional<int> row =
            m_list.FindDeviceRow(target->marker + part + target->marker, true);
        m_list.setCell(*row, columnOf(target->kind), target->name);
    }
}

void RadioDevices::RefreshTarget(int setting) {
    if (const Unit* target = m_targets.find(setting)) {
        m_list.clearCells(columnOf(target->kind), target->name);
        ShowTargetAssignments(setting);
    }
}

void RadioDevices::RenameUser(int setting, const QString& text) {
    for (const auto& [number, target] : m_targets.entries()) {
        if (target.index != setting) {
            continue;
        }
        // An empty cell means "no user", never a user whose name is still empty.
        for (int row = 0; !target.name.isEmpty() && row < m_list.rowCount(); ++row) {
            if (m_list.cell(row, RadioDeviceList::User) == target.name) {
                m_list.setCell(row, RadioDeviceList::User, text);
            }
        }
        m_targets.rename(number, text);
    }
}

int RadioDevices::KindAt(int x, const QList<int>& columnWidths) {
    int column = 0;
    for (int left = x; left > 0 && column < columnWidths.size(); ++column) {
        left -= columnWidths[column];
    }
    // Column 3 ("Радиозона") is kind 1, as is its sub-item.
    const int kind = column - 2;
    return kind >= Unit::Zone && kind <= Unit::Thermometer ? kind : Unit::NoKind;
}

QList<RadioDevices::MenuEntry> RadioDevices::MenuFor(int row, int kind) const {
    QString current = m_list.cell(row, columnOf(kind));
    if (current.isEmpty()) {
        current = kUnassigned;
    }
    const int highestZone =
        m_list.cell(row, RadioDeviceList::Type) == kRemote ? kHighestRemoteZone : kHighestZone;
    QStringList names = m_targets.names(kind, highestZone);
    names.append(kUnassigned);
    std::sort(names.begin(), names.end());
    QList<MenuEntry> menu;
    for (const QString& name : names) {
        menu.append({name, name == current});
    }
    return menu;
}

void RadioDevices::writeTarget(int setting, const QString& text) {
    m_settings.setText(setting, text);
    m_settings.markChanged(setting);
}

void RadioDevices::MenuClick(std::optional<int> selectedRow, int kind, const MenuEntry& item) {
    if (item.checked || !selectedRow) {
        return;
    }
    const bool unassign = item.name == kUnassigned;
    const RadioDeviceList::SubItem column = columnOf(kind);
    const QString old = m_list.cell(*selectedRow, column);
    m_list.setCell(*selectedRow, column, unassign ? QString() : item.name);
    const std::optional<int> setting = m_targets.findByName(unassign ? old : item.name);
    if (!setting) {
        return;
    }
    const Unit target = *m_targets.find(*setting);
    const QString numberText = m_list.row(*selectedRow).number;
    const QString number = target.marker.isEmpty() ? numberText : bareNumber(numberText);

    // A device belongs to one target of each kind: it leaves the others first.
    for (const auto& [other, unit] : m_targets.entries()) {
        const std::optional<QString> text =
            unit.kind == target.kind ? m_settings.text(other) : std::nullopt;
        if (const auto changed =
                text ? AssignmentTargets::withoutDevice(unit, *text, number) : std::nullopt) {
            writeTarget(other, *changed);
        }
    }
    if (unassign) {
        return;
    }
    m_settings.markChanged(*setting);
    const std::optional<QString> text = m_settings.text(*setting);
    if (!text) {
        return;
    }
    if (!target.marker.isEmpty()) {
        // The thermometer's previous device loses it.
        if (!text->isEmpty() && *text != u"0"_s) {
            const std::optional<int> previous =
                m_list.FindDeviceRow(target.marker + *text + target.marker, true);
            m_list.setCell(*previous, column, {});
        }
        m_settings.setText(*setting, number);
        return;
    }
    const QString joined = *text + u' ' + number;
    const int limit =
        support::CompareVersions(m_link.connected() ? m_link.VersionText() : u"9.99"_s,
                                 kLongUserListVersion) < 0
            ? kShortUserList
            : kLongUserList;
    if (target.kind != Unit::User || joined.size() <= limit) {
        m_settings.setText(*setting, joined);
        return;
    }
    m_list.setCell(*m_list.FindDeviceRow(numberText, false), column, {});
    m_dialogs.warning(u"Не могу выполнить"_s,
                      u"На этого пользователя назначено уже слишком много устройств. Чтобы "
                      u"добавить новое, удалите какие либо из уже назначенных."_s);
}

void RadioDevices::removeFromTargets(int n) {
    for (const auto& [setting, unit] : m_targets.entries()) {
        const std::optional<QString> text = m_settings.text(setting);
        if (const auto changed =
                text ? AssignmentTargets::withoutDeviceNumber(unit, *text, n) : std::nullopt) {
            writeTarget(setting, *changed);
        }
    }
}

void RadioDevices::Button17Click(QList<int> selectedRows) {
    std::sort(selectedRows.begin(), selectedRows.end());
    for (const int row : selectedRows) {
        const RadioDeviceList::Row& device = m_list.row(row);
        const QString number = bareNumber(device.number);
        if (device.cells[RadioDeviceList::Type].startsWith(kThermometerType)) {
            m_link.SendCommand(u" #S64="_s + number, link::SendFlag::AwaitReply);
        }
        removeFromTargets(support::LeadingInteger(number));
    }
    m_list.removeRows(selectedRows);
}

void RadioDevices::OnRemovalReply(const QString& value) {
    const int n = support::LeadingInteger(value);
    if (n == 0) {
        return;
    }
    const qsizetype space = value.indexOf(u' ');
    const QStringView result = space < 0 ? QStringView() : QStringView(value).sliced(space + 1);
    if (!result.startsWith(u'0')) {
        m_dialogs.error(u"Не выполнено"_s, u"Ошибка удаления датчика "_s + QString::number(n));
        return;
    }
    removeFromTargets(n);
    QList<int> rows;
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (support::LeadingInteger(bareNumber(m_list.row(row).number)) == n) {
            rows.append(row);
        }
    }
    m_list.removeRows(rows);
}

void RadioDevices::Clear() {
    m_list.clear();
    if (m_learning) {
        setLearning(false);
    }
}

} // namespace talvik::devices
