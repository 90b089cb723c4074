#include "settings_file.h"

#include "serial_list.h"
#include "settings_wire.h"

#include "node.h"
#include "setting_pages.h"

#include <nlohmann/json.hpp>
#include <vector>

namespace talvik::settings {

using Json = nlohmann::ordered_json;

namespace {
constexpr int kPellamQ5 = 415;

using iface::SettingKind;

std::string utf8(const QString& text) {
    return text.toStdString();
}

// The element value of a setting, as the controller keeps it: numbers as numbers, the text of
// a text field or of a setting without a control as text, an empty number field as "".
Json fileValue(const iface::SettingPages& pages, int number, SettingKind kind) {
    const QString value = pages.value(number);
    if (kind == SettingKind::None) {
        return utf8(value);
    }
    if (kind == SettingKind::Edit) {
        const iface::EditSpecial special = pages.special(number);
        if (value.isEmpty() ||
            (special != iface::EditSpecial::Integer && special != iface::EditSpecial::Double10)) {
            return utf8(value);
        }
    }
    return value.toLongLong();
}

// What enter() takes for an element's value. Drop-down values of 214 and 683 are raised by the
// time zone before they are shown, since a value below the zone has no item of its own.
QString entry(const iface::SettingPages& pages, int number, SettingKind kind,
              const iface::Node& value) {
    switch (kind) {
    case SettingKind::Combo: {
        const int raise =
            SettingsWire::isZoneRelative(number) ? pages.shownNumber(SettingsWire::kTimeZone) : 0;
        return raise == 0 ? value.asString() : QString::number(value.asInteger() + raise);
    }
    case SettingKind::Check:
        return value.asBoolean() ? QStringLiteral("1") : QStringLiteral("0");
    case SettingKind::Bits:
        return QString::number(value.asInteger());
    default:
        return value.asString();
    }
}
} // namespace

QByteArray SettingsFile::compose(const iface::SettingPages& pages, int typeCode) {
    const int zone = pages.shownNumber(SettingsWire::kTimeZone);
    Json file = Json::array();
    file.push_back(Json{{"HW", std::to_string(typeCode)}});
    for (const int number : pages.numbers()) {
        if (number == SettingsWire::kNeverWritten) {
            continue;
        }
        const SettingKind kind = pages.kind(number);
        Json element = Json::object();
        element["Value"] = number;
        Json value = fileValue(pages, number, kind);
        // Computed rather than by moving the drop-down, so that an hour below the zone keeps
        // its value (there is no item before the first).
        if (SettingsWire::isZoneRelative(number) && kind == SettingKind::Combo) {
            value = value.get<long long>() - zone;
        }
        element[utf8(iface::settingKindName(kind))] = std::move(value);
        file.push_back(std::move(element));
    }
    const std::string text = file.dump(1, ' ', false, Json::error_handler_t::replace);
    return QByteArray::fromStdString(text + '\n');
}

iface::Node SettingsFile::elementValue(const iface::Node& element, SettingKind kind) {
    const iface::Node own = element.child(iface::settingKindName(kind));
    if (own.valid()) {
        return own;
    }
    for (SettingKind candidate : {SettingKind::None, SettingKind::Edit, SettingKind::Combo,
                                  SettingKind::Check, SettingKind::Bits}) {
        const iface::Node value = element.child(iface::settingKindName(candidate));
        if (value.valid()) {
            return value;
        }
    }
    return {};
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

void SettingsFile::apply(const iface::Node& root, bool currentFormat, iface::SettingPages& pages) {
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
            (SettingsWire::isZoneRelative(number) ? zoneRelative : elements)
                .emplace_back(number, element);
        }
    }
    elements.insert(elements.end(), zoneRelative.begin(), zoneRelative.end());
    for (const auto& [number, element] : elements) {
        pages.keep(number);
        const SettingKind kind = pages.kind(number);
        const iface::Node value = elementValue(element, kind);
        if (value.valid()) {
            pages.enter(number, entry(pages, number, kind, value), currentFormat);
        }
    }
}

} // namespace talvik::settings
