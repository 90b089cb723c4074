#include "thermometer_list.h"

using namespace Qt::StringLiterals;

namespace talvik::devices {

namespace {
// The controller reports a failed sensor with this reading instead of a temperature.
constexpr QStringView kFaulty = u"1";
// Readings are counted from 273 below zero, not 273.15.
constexpr double kZeroCelsius = 273.0;
constexpr int kSignificantDigits = 15;
} // namespace

QString ThermometerList::Celsius(int kelvinTenths, const QLocale& locale) {
    return locale.toString(kelvinTenths * 0.1 - kZeroCelsius, 'g', kSignificantDigits);
}

QList<ThermometerList::Row> ThermometerList::Rows(const QString& readings,
                                                  const QHash<int, QString>& serials,
                                                  const std::function<QString(int)>& nameOf,
                                                  const QLocale& locale) {
    QList<Row> rows;
    const QStringList tokens = readings.split(u' ');
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        bool number = false;
        const int reading = tokens[i].toInt(&number);
        if (!number || reading == 0) {
            continue;
        }
        const int slot = static_cast<int>(i);
        rows.append({slot, QString::number(slot + 1),
                     tokens[i] == kFaulty ? u"неисправен"_s : Celsius(reading, locale),
                     serials.value(slot), nameOf(kFirstNameSetting + slot)});
    }
    return rows;
}

} // namespace talvik::devices
