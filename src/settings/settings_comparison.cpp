#include "settings_comparison.h"

#include "settings_file.h"
#include "settings_wire.h"

#include "parameter_store.h"

#include "json_root.h"
#include "leading_integer.h"
#include "node.h"
#include "setting_index.h"

using namespace Qt::StringLiterals;

namespace talvik::settings {

QList<SettingsComparison::Row> SettingsComparison::pending() const {
    QList<Row> rows;
    for (const auto& [number, record] : m_store) {
        if (record.changed && number != SettingsWire::kNeverWritten) {
            rows.append(row(number, editor::ParameterStore::valueOf(record),
                            record.held.value_or(QString())));
        }
    }
    return rows;
}

std::optional<QList<SettingsComparison::Row>>
SettingsComparison::withFile(QByteArrayView fileText) const {
    iface::JsonRoot file;
    if (!file.parse(fileText) || !file.root().valid()) {
        return std::nullopt;
    }
    iface::JsonRoot own;
    // The header's device type plays no part: only setting elements are compared.
    static_cast<void>(own.parse(SettingsFile::compose(m_store, 0)));
    const std::map<int, QString> theirs = fileValues(file.root());
    // Compared as files hold them: 214 and 683 relative to the time zone on both sides.
    const int zone = SettingsWire::shownInteger(m_store.find(SettingsWire::kTimeZone));
    QList<Row> rows;
    for (const int number : differing(fileValues(own.root()), theirs)) {
        const editor::Parameter* record = m_store.find(number);
        QString other = theirs.at(number);
        if (record != nullptr && record->kind == editor::Parameter::Kind::Combo &&
            (number == SettingsWire::kReportHour || number == SettingsWire::kTimeZoneDependent)) {
            other = QString::number(support::LeadingInteger(other) + zone);
        }
        rows.append(row(number, record != nullptr ? editor::ParameterStore::valueOf(*record)
                                                  : QString(),
                        other));
    }
    return rows;
}

std::map<int, QString> SettingsComparison::fileValues(const iface::Node& root) {
    std::map<int, QString> values;
    for (int i = 0; i < root.count(); ++i) {
        const iface::Node element = root.child(i);
        if (element.child(u"HW").valid()) {
            continue;
        }
        const iface::Node value = SettingsFile::elementValue(element, editor::Parameter::Kind::None);
        if (value.valid()) {
            values[element.child(u"Value").asInteger()] = value.asString();
        }
    }
    return values;
}

QList<int> SettingsComparison::differing(const std::map<int, QString>& own,
                                         const std::map<int, QString>& other) {
    QList<int> numbers;
    for (const auto& [number, value] : other) {
        if (number == SettingsWire::kNeverWritten) {
            continue;
        }
        const auto mine = own.find(number);
        if (mine == own.end() || mine->second != value) {
            numbers.append(number);
        }
    }
    return numbers;
}

QString SettingsComparison::line(const Row& row) {
    return QString::number(row.number) + u'\t' + row.page + u'\t' + row.label + u'\t' +
           row.shown + u'\t' + row.other;
}

SettingsComparison::Row SettingsComparison::row(int number, const QString& shown,
                                                const QString& other) const {
    Row row{number, {}, QString::number(number), shown, other};
    if (const iface::SettingIndex::Entry* entry = m_index.entry(number)) {
        row.page = entry->pageCaption;
        row.label = entry->label;
    }
    if (const editor::Parameter* record = m_store.find(number)) {
        row.shown = editor::ParameterStore::textOf(*record, shown);
        row.other = editor::ParameterStore::textOf(*record, other);
    }
    return row;
}

} // namespace talvik::settings
