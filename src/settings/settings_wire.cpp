#include "settings_wire.h"

#include "settings_link.h"

#include "setting_pages.h"

#include "compare_versions.h"
#include "leading_integer.h"

namespace talvik::settings {

namespace SettingsWire {

std::optional<ParameterReply> parseReply(QStringView piece) {
    const qsizetype colon = piece.indexOf(u':', 3);
    if (colon < 0) {
        return std::nullopt;
    }
    return ParameterReply{support::LeadingInteger(piece.mid(2)), piece.mid(colon + 1).toString()};
}

QString query(int number) {
    return QStringLiteral(" #P%1?").arg(number);
}

void trackDump(SettingsLink& link, int number, QStringView value) {
    if (link.dumpActive() == 0) {
        return;
    }
    link.TouchLastSendTime();
    for (int k = link.lastDumpNumber() + 1; k < number; ++k) {
        link.missingNumbers().push_back(k);
    }
    link.lastDumpNumber() = number;
    if (!value.startsWith(u'!')) {
        return;
    }
    link.dumpActive() = 0;
    // The listing request counts as answered, so the gap queries can go out.
    link.ClearCurrent();
    std::deque<int>& missing = link.missingNumbers();
    while (!missing.empty()) {
        const int k = missing.front();
        missing.pop_front();
        link.SendCommand(query(k), link::SendFlag::AwaitReply);
    }
    link.SendCommand(kQueueEnd.toString(), link::SendFlag::WriteAndForget);
}

bool dumpsAll(QStringView version) {
    return support::CompareVersions(version, u"1.66") >= 0;
}

namespace {
// Older firmware takes a text with blanks only in parentheses.
QString writeValue(const iface::SettingPages& pages, int number, QStringView version) {
    QString value = pages.writtenValue(number);
    if (pages.kind(number) == iface::SettingKind::Edit && value.contains(u' ') &&
        support::CompareVersions(version, u"1.67") <= 0) {
        return u'(' + value + u')';
    }
    return value;
}
} // namespace

QString deviceValue(const iface::SettingPages& pages, int number, QStringView version) {
    if (isZoneRelative(number)) {
        return QString::number(support::LeadingInteger(pages.value(number)) -
                               pages.shownNumber(kTimeZone));
    }
    return writeValue(pages, number, version);
}

QStringList writeCommands(iface::SettingPages& pages, QStringView version) {
    const bool readBack = support::CompareVersions(version, u"1.58") < 0;
    QStringList commands;
    QList<int> numbers = pages.numbers();
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const int number = numbers[i];
        if (number == kNeverWritten || !pages.changed(number)) {
            continue;
        }
        pages.markSent(number);
        const QString value = deviceValue(pages, number, version);
        if (isZoneRelative(number)) {
            if (!numbers.contains(kTimeZone)) {
                // A zone held from now on is written in this batch too once its turn comes.
                pages.keep(kTimeZone);
                numbers = pages.numbers();
                i = numbers.indexOf(number);
            }
            pages.markChanged(kTimeZone);
        }
        QString command = QStringLiteral(" #P%1=").arg(number) + value;
        if (readBack) {
            command += query(number);
        }
        commands.append(command);
    }
    return commands;
}

} // namespace SettingsWire

} // namespace talvik::settings
