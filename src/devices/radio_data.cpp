#include "radio_data.h"

#include "log_base.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace talvik::devices {

namespace {

constexpr std::uint8_t kBatteryFirst = 0x80;
constexpr int kBatterySteps = 16;
constexpr std::uint8_t kSignalLevel = 0xB0;
constexpr std::uint8_t kSignalQuality = 0xB1;
constexpr std::uint8_t kSupplyVoltage = 0xB4;
constexpr std::uint8_t kTemperature = 0xC0;
constexpr std::uint8_t kFuelLevel = 0xC1;
constexpr std::uint8_t kBConstant = 0xC2;
constexpr std::uint8_t kExclusiveOr = 0xD0;

// The signal level byte is a signed half-dBm count above -74 dBm.
constexpr int kSignalBaseDbm = -74;
// Supply voltage: 3.75 V full scale over 128 steps.
constexpr double kVoltsPerStep = 3.75 * 0.0078125;
// Temperatures come in tenths of a kelvin; the controller's zero is 273, not 273.15.
constexpr double kKelvinOffset = 273;
// Below this magnitude a real value is printed in general form.
constexpr double kTinyMagnitude = 0.00001;

std::map<std::uint8_t, QString> buildTagNames() {
    std::map<std::uint8_t, QString> names{
        {0x01, u"Постановка на охрану"_s},
        {0x02, u"Снятие с охраны"_s},
        {0x06, u"Функция пользователя 1"_s},
        {0x07, u"Функция пользователя 2"_s},
        {0x09, u"Тихая постановка на охрану"_s},
        {0x0A, u"Тихое снятие с охраны"_s},
        {0x0B, u"Функция пользователя 3"_s},
        {0x0C, u"Функция пользователя 4"_s},
        {0x0D, u"Запрос состояния блокировки"_s},
        {0x0E, u"Включение блокировки двигателя для бензонасоса"_s},
        {0x0F, u"Выключение блокировки двигателя для бензонасоса"_s},
        {0x10, u"Отключение блокировки двигателя до связи с ЦБ"_s},
        {0x11, u"Разрешение запроса инициализации блокировки двигателя"_s},
        {0x12, u"Включение блокировки при старте (пассивный режим)"_s},
        {0x13, u"Отключение блокировки при старте (активный режим)"_s},
        {0x14, u"Запрос состояния замка капота"_s},
        {0x15, u"Запрос текущей температуры для калибровки"_s},
        {0x16, u"Перевод термодатчика в режим калибровки"_s},
        {0x17, u"Включение блокировки двигателя для стартера"_s},
        {0x18, u"Выключение блокировки двигателя для стартера"_s},
        {0x19, u"Запрет управления блокировкой"_s},
        {0x1A, u"Разрешение управления блокировкой"_s},
        {0x1B, u"Протечка"_s},
        {0x1C, u"Нет протечки"_s},
        {0x7E, u"Тест частоты кварцевого резонатора"_s},
        {0x7F, u"Команда перехода в загрузчик"_s},
        {0x90, u"охрана включена"_s},
        {0x91, u"охрана включена с нарушениями"_s},
        {0x92, u"охрана отключена"_s},
        {0x94, u"капот открыт"_s},
        {0x95, u"капот закрыт"_s},
        {kSignalLevel, u"уровень сигнала "_s},
        {kSignalQuality, u"качество сигнала "_s},
        {kSupplyVoltage, u"Напряжение питания "_s},
        {kTemperature, u"температура "_s},
        {kFuelLevel, u"значение ДУТ "_s},
        {kBConstant, u"B-константа "_s},
        {kExclusiveOr, u"исключающее ИЛИ "_s},
    };
    // Sixteen battery steps from empty to full, in whole percent.
    for (int k = 0; k < kBatterySteps; ++k) {
        const long percent = std::lround(k * 100.0 / (kBatterySteps - 1));
        names.emplace(static_cast<std::uint8_t>(kBatteryFirst + k),
                      u"состояние батареи %1 %"_s.arg(percent));
    }
    return names;
}

// How many value bytes follow a tag.
int valueWidth(std::uint8_t tag) {
    switch (tag >> 4) {
    case 0xA:
    case 0xB:
        return 1;
    case 0xC:
        return 2;
    case 0xD:
        return 4;
    default:
        return 0;
    }
}

// Six fraction digits without the trailing zeros (and without a point left alone); tiny
// magnitudes in general form with three significant digits.
QString realText(double value) {
    if (std::fabs(value) < kTinyMagnitude) {
        return QString::number(value, 'g', 3);
    }
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(u'0')) {
        text.chop(1);
    }
    if (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text;
}

QString valueText(std::uint8_t tag, std::uint32_t value) {
    switch (tag) {
    case kSignalLevel:
        // Division of the signed byte truncates towards zero, as the controller counts.
        return QString::number(static_cast<std::int8_t>(value) / 2 + kSignalBaseDbm);
    case kSupplyVoltage:
        return realText(std::round(value * kVoltsPerStep * 100) / 100);
    case kTemperature:
        return realText(value * 0.1 - kKelvinOffset);
    default:
        return QString::number(value);
    }
}

} // namespace

const std::map<std::uint8_t, QString>& RadioTagNames() {
    static const std::map<std::uint8_t, QString> names = buildTagNames();
    return names;
}

QString DecodeRadioData(std::span<const std::uint8_t> bytes, support::LogBase& log) {
    const auto& names = RadioTagNames();
    QString out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::uint8_t tag = bytes[at++];
        const auto width = static_cast<std::size_t>(valueWidth(tag));
        if (tag == 0x00 || bytes.size() - at < width) {
            log.writeBytes(QByteArrayLiteral("Incorrect radio data"), bytes.data(), bytes.size());
            return out;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < width; ++i) { // little-endian
            value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
        }
        at += width;
        const auto name = names.find(tag);
        if (name == names.end()) {
            continue;
        }
        if (!out.isEmpty()) {
            out += u"; "_s;
        }
        out += name->second;
        if (width > 0) {
            out += valueText(tag, value);
        }
    }
    return out;
}

} // namespace talvik::devices
