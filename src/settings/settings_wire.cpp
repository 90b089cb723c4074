#include "settings_wire.h"

#include "settings_link.h"

#include "parameter_store.h"
#include "value_codecs.h"

#include "compare_versions.h"
#include "leading_integer.h"

#include <QLineEdit>

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

int shownInteger(const editor::Parameter* record) {
    const auto* edit =
        record != nullptr ? qobject_cast<const QLineEdit*>(record->control.data()) : nullptr;
    return edit != nullptr ? support::LeadingInteger(edit->text()) : 0;
}

QString writeValue(const editor::Parameter& record, QStringView version) {
    const auto* edit = qobject_cast<const QLineEdit*>(record.control.data());
    switch (record.kind) {
    case editor::Parameter::Kind::Edit: {
        const QString text = edit != nullptr ? edit->text() : QString();
        if (record.special == iface::EditSpecial::Integer) {
            // An empty field reads as 0, so the controller gets the offset.
            return QString::number(static_cast<long long>(support::LeadingInteger(text)) +
                                   record.offset);
        }
        if (record.special == iface::EditSpecial::Double10) {
            return editor::ValueCodecs::double10ToDevice(text.isEmpty() ? u"0" : QStringView(text),
                                                         record.offset);
        }
        // Older firmware takes a text with blanks only in parentheses.
        if (text.contains(u' ') && support::CompareVersions(version, u"1.67") <= 0) {
            return u'(' + text + u')';
        }
        return text;
    }
    case editor::Parameter::Kind::None:
    case editor::Parameter::Kind::Combo:
    case editor::Parameter::Kind::Check:
    case editor::Parameter::Kind::Bits:
        return editor::ParameterStore::valueOf(record);
    default:
        return {};
    }
}

QString deviceValue(const editor::ParameterStore& store, const editor::Parameter& record,
                    QStringView version) {
    if (record.number == kReportHour || record.number == kTimeZoneDependent) {
        return QString::number(support::LeadingInteger(editor::ParameterStore::valueOf(record)) -
                               shownInteger(store.find(kTimeZone)));
    }
    return writeValue(record, version);
}

QStringList writeCommands(editor::ParameterStore& store, QStringView version) {
    const bool readBack = support::CompareVersions(version, u"1.58") < 0;
    QStringList commands;
    for (auto& [number, record] : store) {
        if (number == kNeverWritten || !record.changed) {
            continue;
        }
        record.changed = false;
        record.held = editor::ParameterStore::valueOf(record);
        const QString value = deviceValue(store, record, version);
        if (number == kReportHour || number == kTimeZoneDependent) {
            store.findOrAdd(kTimeZone).changed = true;
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
