#include "settings_file.h"

#include "cp1251.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>

using namespace Qt::StringLiterals;

namespace talvik::emu {

namespace {

const QString kKinds[] = {u"None"_s, u"Edit"_s, u"Combo"_s, u"Check"_s, u"Bits"_s};

// A setting's value as the controller holds it: whole numbers in decimal, texts in cp1251.
std::optional<SettingsFile::Setting> settingFrom(const QJsonObject& element) {
    for (const QString& kind : kKinds) {
        const QJsonValue value = element.value(kind);
        if (value.isString()) {
            return SettingsFile::Setting{support::Cp1251::fromUnicode(value.toString()), kind,
                                         false};
        }
        if (value.isDouble()) {
            const double d = value.toDouble();
            const QByteArray text = d == std::floor(d) && std::abs(d) < 9.0e15
                                        ? QByteArray::number(static_cast<qint64>(d))
                                        : QByteArray::number(d, 'g', 15);
            return SettingsFile::Setting{text, kind, true};
        }
        if (value.isBool()) {
            return SettingsFile::Setting{value.toBool() ? "1" : "0", kind, true};
        }
    }
    return std::nullopt;
}

QByteArray jsonString(const QString& text) {
    QByteArray out = "\"";
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += "\\\"";
            break;
        case u'\\':
            out += "\\\\";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            if (c.unicode() < 0x20) {
                out += "\\u00" + QByteArray::number(c.unicode(), 16).rightJustified(2, '0');
            } else {
                out += QString(c).toUtf8();
            }
        }
    }
    return out + '"';
}

bool isWholeNumber(const QByteArray& text) {
    static const QRegularExpression whole(u"^-?[0-9]{1,15}$"_s);
    return whole.match(QString::fromLatin1(text)).hasMatch();
}

} // namespace

std::optional<SettingsFile::Contents> SettingsFile::read(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + u": "_s + file.errorString();
        return std::nullopt;
    }
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isArray()) {
        error = path + u": not a settings file (a JSON array): "_s + parseError.errorString();
        return std::nullopt;
    }
    Contents contents;
    for (const auto& item : document.array()) {
        const QJsonObject element = item.toObject();
        if (element.contains(u"HW"_s)) {
            const QJsonValue hw = element.value(u"HW"_s);
            contents.hardware = hw.isString() ? hw.toString() : QString::number(hw.toInteger());
            continue;
        }
        const QJsonValue number = element.value(u"Value"_s);
        const std::optional<Setting> setting = settingFrom(element);
        if (!number.isDouble() || !setting) {
            continue; // elements without a number or a value say nothing about a setting
        }
        contents.settings[number.toInt()] = *setting;
    }
    return contents;
}

QByteArray SettingsFile::toJson(const Contents& contents) {
    QByteArray out = "[\n {\"HW\": " + jsonString(contents.hardware) + "}";
    for (const auto& [number, setting] : contents.settings) {
        out += ",\n {\"Value\": " + QByteArray::number(number) + ", " + jsonString(setting.kind) +
               ": ";
        out += setting.number && isWholeNumber(setting.value)
                   ? setting.value
                   : jsonString(support::Cp1251::toUnicode(setting.value));
        out += '}';
    }
    return out + "\n]\n";
}

bool SettingsFile::write(const QString& path, const Contents& contents, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson(contents)) < 0 || !file.commit()) {
        error = path + u": "_s + file.errorString();
        return false;
    }
    return true;
}

} // namespace talvik::emu
