#include "settings_transfer.h"

#include "settings_file.h"
#include "settings_link.h"
#include "settings_wire.h"

#include "device_type.h"
#include "json_root.h"
#include "setting_pages.h"

#include "compare_versions.h"
#include "cp1251.h"
#include "dialogs.h"
#include "leading_integer.h"
#include "log_base.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace talvik::settings {

namespace {
const QString kSettingsFilter = u"*.set"_s;
const QString kLastSettings = u"last.set"_s;

// Why a settings file of `size` bytes could not be written, for the user; the system's own words
// follow. A full disk is told by the room left as well: a failing flush does not always say so.
QString saveFailure(const QSaveFile& file, const QString& path, qint64 size) {
    QString reason;
    if (!QFileInfo(path).absoluteDir().exists()) {
        reason = u"папка не найдена"_s;
    } else if (file.error() == QFileDevice::ResourceError ||
               QStorageInfo(QFileInfo(path).absolutePath()).bytesAvailable() < size) {
        reason = u"на диске нет места"_s;
    } else if (file.error() == QFileDevice::OpenError ||
               file.error() == QFileDevice::PermissionsError) {
        reason = u"нет доступа на запись (диск или папка только для чтения)"_s;
    } else {
        reason = u"ошибка записи"_s;
    }
    return file.errorString().isEmpty() ? reason : reason + u" ("_s + file.errorString() + u')';
}
} // namespace

SettingsTransfer::SettingsTransfer(iface::SettingPages& pages, support::Dialogs& dialogs,
                                   support::LogBase& log, std::function<SettingsLink*()> link,
                                   TypeChoice type, QObject* parent)
    : QObject(parent), m_pages(pages), m_dialogs(dialogs), m_log(log), m_link(std::move(link)),
      m_type(std::move(type)) {}

void SettingsTransfer::DecideRead() {
    SettingsLink* link = m_link();
    if (readOffered || link == nullptr) {
        return;
    }
    readOffered = true;
    const QString serial = link->SerialNumber();
    const bool read = (rememberedSerial.isEmpty() || rememberedSerial != serial) &&
                      (SettingsWire::dumpsAll(link->VersionText()) ||
                       m_dialogs.question(u"Вопрос"_s, kReadOffer));
    if (read) {
        PNGButton3Click();
    } else if (BuildAssignmentTargets) {
        BuildAssignmentTargets();
    }
    rememberedSerial = serial;
}

void SettingsTransfer::startBatch(const QString& status, int maximum, SettingsLink& link) {
    m_progress = 0;
    link.errorCount() = 0;
    Q_EMIT batchStarted(status, maximum);
}

void SettingsTransfer::advanceProgress() {
    Q_EMIT batchProgressed(++m_progress);
}

void SettingsTransfer::PNGButton3Click() {
    SettingsLink* link = m_link();
    if (link == nullptr) {
        return;
    }
    m_pages.dropUnshown();
    const QList<int> numbers = m_pages.numbers();
    m_reportHourReply.reset();
    // The batch is on screen before the first command goes out, so that even an "end" that
    // comes up at once finds it to close.
    startBatch(u"Считывание параметров..."_s, static_cast<int>(numbers.size()), *link);
    m_reading = true;
    if (SettingsWire::dumpsAll(link->VersionText())) {
        link->SendCommand(SettingsWire::kListingRequest.toString(), link::SendFlag::AwaitReply);
        link->dumpActive() = 1;
        link->lastDumpNumber() = -1;
        return;
    }
    for (const int number : numbers) {
        link->SendCommand(SettingsWire::query(number), link::SendFlag::AwaitReply);
    }
    link->SendCommand(SettingsWire::kQueueEnd.toString(), link::SendFlag::WriteAndForget);
}

void SettingsTransfer::Button3Click() {
    SettingsLink* link = m_link();
    if (link == nullptr) {
        return;
    }
    const QStringList commands = SettingsWire::writeCommands(m_pages, link->VersionText());
    if (commands.isEmpty()) {
        return;
    }
    m_pages.refreshChangeMarks(); // what was sent is no longer a change
    startBatch(u"Запись параметров..."_s, static_cast<int>(commands.size()), *link);
    m_reading = false;
    for (const QString& command : commands) {
        link->SendCommand(command, link::SendFlag::AwaitReply);
    }
    link->SendCommand(SettingsWire::kApplyWrites.toString(), link::SendFlag::AwaitReply);
    link->SendCommand(SettingsWire::kQueueEnd.toString(), link::SendFlag::WriteAndForget);
}

void SettingsTransfer::OnParameterReply(const QString& piece) {
    const std::optional<SettingsWire::ParameterReply> reply = SettingsWire::parseReply(piece);
    if (!reply) {
        return;
    }
    SettingsLink* link = m_link();
    if (link != nullptr) {
        TrackDump(*link, reply->number, reply->value);
    }
    if (reply->value.startsWith(u'!')) {
        return;
    }
    if (reply->number >= SettingsWire::kFirstThermometerSlot &&
        reply->number <= SettingsWire::kLastThermometerSlot) {
        ThermometerSerials.insert(reply->number - SettingsWire::kFirstThermometerSlot,
                                  reply->value);
        return;
    }
    m_pages.keep(reply->number);
    // From 1.66 on the controller keeps 214 and 683 relative to the time zone. A listing comes
    // in ascending order: 683 finds the zone shown, 214 waits for it. Each is raised before it
    // is shown, since an hour below the zone has no item at its relative value.
    const bool relative = link != nullptr && SettingsWire::dumpsAll(link->VersionText());
    QString value = reply->value;
    if (relative && reply->number == SettingsWire::kTimeZoneDependent) {
        value = QString::number(support::LeadingInteger(value) +
                                m_pages.shownNumber(SettingsWire::kTimeZone));
    }
    m_pages.show(reply->number, value);
    if (!relative) {
        return;
    }
    if (reply->number == SettingsWire::kReportHour) {
        m_reportHourReply = support::LeadingInteger(reply->value);
    } else if (reply->number == SettingsWire::kTimeZone && m_reportHourReply) {
        m_pages.show(SettingsWire::kReportHour,
                     QString::number(*m_reportHourReply + support::LeadingInteger(reply->value)));
        m_reportHourReply.reset();
    }
}

void SettingsTransfer::TrackDump(SettingsLink& link, int number, const QString& value) {
    if (link.dumpActive() != 0) {
        advanceProgress();
    }
    SettingsWire::trackDump(link, number, value);
}

void SettingsTransfer::ShowBatchResult() {
    SettingsLink* link = m_link();
    const int errors = link != nullptr ? link->errorCount() : 0;
    const QString result = errors == 0 ? u"Готово"_s : u"Готово c %1 ошибками"_s.arg(errors);
    QString note;
    if (m_reading) {
        m_reading = false;
        note = backUpRead(link != nullptr ? link->SerialNumber() : QString(), errors);
    }
    m_pages.refreshChangeMarks();
    if (BuildAssignmentTargets) {
        BuildAssignmentTargets();
    }
    Q_EMIT batchFinished(result, note);
}

QString SettingsTransfer::backUpRead(const QString& serial, int errors) {
    // Runs before the buttons are used again, so the copy holds the values as read.
    const ReadBackup::Result result =
        m_backup.save(SettingsFile::compose(m_pages, m_type.chosen()), serial,
                      QDateTime::currentDateTime(), errors != 0);
    if (result.failure.isEmpty()) {
        m_log.write(u"Backup of the read saved: "_s + result.path);
        return {};
    }
    m_log.write(u"Error: backup of the read - "_s + result.failure);
    if (m_backupFailureShown) {
        return {};
    }
    m_backupFailureShown = true;
    return u" (резервная копия не записана: "_s + result.failure + u')';
}

void SettingsTransfer::OnNoReply(SettingsLink& link) {
    ++link.errorCount();
    const QByteArray command = link.Current();
    m_log.write(QByteArrayLiteral("NoReply ") + command);
    if (command == support::Cp1251::fromUnicode(SettingsWire::kListingRequest)) {
        link.errorCount() = SettingsLink::kListingUnanswered;
        // Replies that still trickle in are no listing lines, and the status poll may resume.
        link.dumpActive() = 0;
        link.missingNumbers().clear();
        ShowBatchResult();
    }
}

void SettingsTransfer::OnCommandSent(SettingsLink& link) {
    if (link.dumpActive() == 0) {
        advanceProgress();
    }
}

QString SettingsTransfer::SaveSettingsFile(const QString& path) {
    const QByteArray text = SettingsFile::compose(m_pages, m_type.chosen());
    // Written aside and renamed over the old file, so that a crash or a full disk never leaves
    // half a file. The buffer is flushed before the commit: a commit does not see a failure of
    // its own final flush, and would put the cut file in place of the old one.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush() &&
        file.commit()) {
        return {};
    }
    return saveFailure(file, path, text.size());
}

void SettingsTransfer::SaveLastSettings() {
    const QString failure = SaveSettingsFile(kLastSettings);
    if (!failure.isEmpty()) {
        m_log.write(u"Error: saving "_s + kLastSettings + u" - "_s + failure);
    }
}

void SettingsTransfer::LoadLastSettings() {
    loadSettingsFile(kLastSettings, false);
}

void SettingsTransfer::LoadSettingsFile(const QString& path) {
    loadSettingsFile(path, true);
}

void SettingsTransfer::loadSettingsFile(const QString& path, bool mayChangeType) {
    if (!QFile::exists(path)) {
        return;
    }
    const iface::JsonRoot file(path);
    const iface::Node root = file.root();
    if (!root.valid()) {
        m_dialogs.error(u"Ошибка"_s, u"Файл имеет некорректный формат"_s);
        return;
    }
    const SettingsFile::Survey survey = SettingsFile::survey(root);
    SettingsLink* link = m_link();
    if (mayChangeType && survey.type != 0 && link == nullptr && survey.type != m_type.chosen() &&
        std::ranges::find(iface::DeviceType::kCodes, survey.type) !=
            std::end(iface::DeviceType::kCodes)) {
        m_type.choose(survey.type);
    }
    SettingsFile::apply(root, survey.currentFormat, m_pages);
    m_pages.refreshChangeMarks();
}

void SettingsTransfer::PNGButton5Click() {
    const QString path =
        m_dialogs.saveFile(u"Сохранить настройки"_s, {}, kSettingsFilter, u"set"_s);
    if (path.isEmpty()) {
        return;
    }
    const QString failure = SaveSettingsFile(path);
    if (!failure.isEmpty()) {
        m_dialogs.error(u"Ошибка"_s, u"Не удалось записать файл %1: %2."_s.arg(
                                         QDir::toNativeSeparators(path), failure));
    }
}

void SettingsTransfer::PNGButton6Click() {
    const QString path =
        m_dialogs.openFile(u"Загрузка параметров"_s, OpenDialog3FileName, kSettingsFilter);
    if (!path.isEmpty()) {
        OpenDialog3FileName = path;
        LoadSettingsFile(path);
    }
}

void SettingsTransfer::Button4Click() {
    if (!m_dialogs.question(u"Предупреждение"_s, kFactoryQuestion)) {
        return;
    }
    LoadSettingsFile(factoryFile());
    if (m_link() != nullptr &&
        m_dialogs.question(u"ВНИМАНИЕ"_s,
                           u"Заводские настройки установлены. Записать их в устройство?"_s)) {
        Button3Click();
    }
}

QString SettingsTransfer::factoryFile() const {
    // The pages of a Pellam Q5 known by its serial are Pellam Q5 pages whatever type is chosen.
    return u"Configs/"_s + QString::number(m_pages.typeCode()) + u".set"_s;
}

void SettingsTransfer::Button11Click() {
    SettingsLink* link = m_link();
    if (link == nullptr) {
        return;
    }
    if (m_dialogs.question(u"Предупреждение"_s,
                           u"При сбросе логина вполняется отвязывание устройства от личного "
                           u"кабинета веб сервиса. Потребуется его заново добавить в личный "
                           u"кабинет. Вы уверены?"_s)) {
        link->SendText(support::Cp1251::fromUnicode(u" Сброс логина"),
                       link::SendFlag::WriteAndForget);
    }
}

} // namespace talvik::settings
