#include "settings_file.h"

#include "serial_list.h"
#include "settings_wire.h"

#include "field_handlers.h"
#include "parameter_store.h"
#include "value_codecs.h"

#include "leading_integer.h"
#include "node.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>
#include <nlohmann/json.hpp>
#include <vector>

namespace talvik::settings {

using Json = nlohmann::ordered_json;

namespace {
constexpr int kPellamQ5 = 415;

std::string utf8(const QString& text) {
    return text.toStdString();
}

// The element value of a record, as the controller stores it.
Json fileValue(const editor::Parameter& record) {
    if (record.kind == editor::Parameter::Kind::Edit) {
        const auto* edit = qobject_cast<const QLineEdit*>(record.control.data());
        const QString text = edit != nullptr ? edit->text() : QString();
        if (text.isEmpty()) {
            return utf8(text);
        }
        if (record.special == iface::EditSpecial::Integer) {
            return static_cast<long long>(support::LeadingInteger(text)) + record.offset;
        }
        if (record.special == iface::EditSpecial::Double10) {
            return editor::ValueCodecs::double10ToDevice(text, record.offset).toLongLong();
        }
        return utf8(text);
    }
    if (record.kind == editor::Parameter::Kind::None) {
        return utf8(record.valueText);
    }
    return editor::ParameterStore::valueOf(record).toLongLong();
}

QString editText(const editor::Parameter& record, const QString& value, bool currentFormat) {
    if (!currentFormat || value.isEmpty()) {
        return value;
    }
    if (record.special == iface::EditSpecial::Integer) {
        return editor::ValueCodecs::integerFromDevice(value, record.offset);
    }
    if (record.special == iface::EditSpecial::Double10) {
        return editor::ValueCodecs::double10FromDevice(value, record.offset,
                                                       editor::ValueCodecs::decimalSeparator());
    }
    return value;
}

// Runs a control's change handler with the input flag telling whether the value differed,
// so that only a differing value is marked changed.
template <typename Run> void asChange(editor::FieldHandlers& handlers, bool differed, Run run) {
    handlers.setInput(differed);
    run();
    handlers.setInput(false);
}

bool isZoneRelative(int number) {
    return std::ranges::find(SettingsWire::kZoneRelative, number) !=
           std::end(SettingsWire::kZoneRelative);
}

// The time-zone control, when the pages show one: only then are 214 and 683 kept relative.
const editor::Parameter* shownZone(const editor::ParameterStore& store) {
    const editor::Parameter* zone = store.find(SettingsWire::kTimeZone);
    return zone != nullptr && zone->control != nullptr ? zone : nullptr;
}

void applyElement(editor::Parameter& record, const iface::Node& value, bool currentFormat,
                  editor::ParameterStore& store, editor::FieldHandlers& handlers) {
    const QString text = value.asString();
    switch (record.kind) {
    case editor::Parameter::Kind::None:
        if (text != record.valueText) {
            record.valueText = text;
            record.changed = true;
        }
        return;
    case editor::Parameter::Kind::Edit:
        if (auto* edit = qobject_cast<QLineEdit*>(record.control.data())) {
            const QString before = edit->text();
            edit->setText(editText(record, text, currentFormat));
            handlers.editExit(edit, before);
        }
        return;
    case editor::Parameter::Kind::Combo:
        if (auto* combo = qobject_cast<QComboBox*>(record.control.data())) {
            const int before = combo->currentIndex();
            // Raised before it is shown: a value below the zone has no item of its own.
            const editor::Parameter* zone = shownZone(store);
            const int raise = zone != nullptr && isZoneRelative(record.number)
                                  ? SettingsWire::shownInteger(zone)
                                  : 0;
            if (currentFormat) {
                editor::ParameterStore::show(
                    record,
                    raise == 0 ? text : QString::number(support::LeadingInteger(text) + raise));
            } else {
                const int position = value.asInteger() + raise;
                combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
            }
            asChange(handlers, combo->currentIndex() != before,
                     [&] { handlers.dropDownSelect(combo); });
        }
        return;
    case editor::Parameter::Kind::Check:
        if (auto* box = qobject_cast<QCheckBox*>(record.control.data())) {
            const bool checked = value.asBoolean();
            // The handler expects the box as it is before the click that changes it.
            asChange(handlers, checked != box->isChecked(),
                     [&] { handlers.checkBoxMouseDown(box); });
            box->setChecked(checked);
        }
        return;
    case editor::Parameter::Kind::Bits: {
        const QString before = editor::ParameterStore::valueOf(record);
        const long long bits = value.asInteger();
        QCheckBox* firstChanging = nullptr;
        for (qsizetype i = 0; i < record.controls.size() && firstChanging == nullptr; ++i) {
            QCheckBox* box = record.controls[i];
            if (box != nullptr && box->isChecked() != (i < 32 && ((bits >> i) & 1) != 0)) {
                firstChanging = box;
            }
        }
        if (firstChanging != nullptr) {
            asChange(handlers, true, [&] { handlers.checkBoxMouseDown(firstChanging); });
        }
        editor::ParameterStore::show(record, QString::number(bits));
        return;
    }
    default:
        return;
    }
}
} // namespace

iface::Node SettingsFile::elementValue(const iface::Node& element, editor::Parameter::Kind kind) {
    const iface::Node own = element.child(editor::Parameter::kindName(kind));
    if (own.valid()) {
        return own;
    }
    for (editor::Parameter::Kind candidate :
         {editor::Parameter::Kind::None, editor::Parameter::Kind::Edit,
          editor::Parameter::Kind::Combo, editor::Parameter::Kind::Check,
          editor::Parameter::Kind::Bits}) {
        const iface::Node value = element.child(editor::Parameter::kindName(candidate));
        if (value.valid()) {
            return value;
        }
    }
    return {};
}

QByteArray SettingsFile::compose(const editor::ParameterStore& store, int typeCode) {
    const editor::Parameter* zone = shownZone(store);
    Json file = Json::array();
    file.push_back(Json{{"HW", std::to_string(typeCode)}});
    for (const auto& [number, record] : store) {
        if (number == SettingsWire::kNeverWritten) {
            continue;
        }
        Json element = Json::object();
        element["Value"] = number;
        Json value = fileValue(record);
        // Computed rather than by moving the drop-down, so that an hour below the zone keeps
        // its value (there is no item before the first).
        if (zone != nullptr && isZoneRelative(number) &&
            record.kind == editor::Parameter::Kind::Combo) {
            value = value.get<long long>() - SettingsWire::shownInteger(zone);
        }
        element[utf8(editor::Parameter::kindName(record.kind))] = std::move(value);
        file.push_back(std::move(element));
    }
    const std::string text = file.dump(1, ' ', false, Json::error_handler_t::replace);
    return QByteArray::fromStdString(text + '\n');
}

SettingsFile::Survey SettingsFile::survey(const iface::Node& root) {
    Survey result;
    for (int i = 0; i < root.count(); ++i) {
        const iface::Node element = root.child(i);
        const iface::Node header = element.child(u"HW");
        if (header.valid()) {
            result.type = header.asInteger();
            result.currentFormat = header.isQuoted();
            continue;
        }
        if (result.type != 403 && result.type != 414) {
            continue;
        }
        const QString text = element.child(u"None").asString();
        const qsizetype blank = text.indexOf(u' ');
        if (SerialList::contains(blank < 0 ? QStringView(text) : QStringView(text).left(blank))) {
            result.type = kPellamQ5;
        }
    }
    return result;
}

void SettingsFile::apply(const iface::Node& root, bool currentFormat, editor::ParameterStore& store,
                         editor::FieldHandlers& handlers) {
    handlers.setInput(false);
    // The zone-relative hours come last, so that they are raised by the zone the file sets
    // (they stand before it in a file of ascending numbers).
    std::vector<std::pair<int, iface::Node>> elements;
    std::vector<std::pair<int, iface::Node>> zoneRelative;
    for (int i = 0; i < root.count(); ++i) {
        const iface::Node element = root.child(i);
        if (element.child(u"HW").valid()) {
            continue;
        }
        const int number = element.child(u"Value").asInteger();
        if (number != SettingsWire::kNeverWritten) {
            (isZoneRelative(number) ? zoneRelative : elements).emplace_back(number, element);
        }
    }
    elements.insert(elements.end(), zoneRelative.begin(), zoneRelative.end());
    for (const auto& [number, element] : elements) {
        editor::Parameter& record = store.findOrAdd(number);
        const iface::Node value = elementValue(element, record.kind);
        if (value.valid()) {
            applyElement(record, value, currentFormat, store, handlers);
        }
    }
    handlers.setInput(true);
}

} // namespace talvik::settings
