#pragma once

#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>
#include <functional>

namespace talvik::devices {

// The thermometers of the 1-Wire bus as the list on the main page shows them, built from the
// controller's readings (status 23: one reading per slot, in tenths of a kelvin, separated by
// single spaces; 0 for an empty slot, 1 for a sensor that has failed).
class ThermometerList {
public:
    // Names of the thermometer slots are settings from this number on, one per slot.
    static constexpr int kFirstNameSetting = 332;

    struct Row {
        int slot = 0;        // from 0
        QString number;      // "№": the slot from 1
        QString temperature; // "°С", or "неисправен"
        QString serial;      // "Серийный №"
        QString name;        // "Название"
    };

    // serials: serial numbers by slot; nameOf: the text a setting shows (empty when it has none).
    [[nodiscard]] static QList<Row> Rows(const QString& readings,
                                         const QHash<int, QString>& serials,
                                         const std::function<QString(int setting)>& nameOf,
                                         const QLocale& locale);
    // A reading in tenths of a kelvin as degrees Celsius in the locale's shortest general form.
    [[nodiscard]] static QString Celsius(int kelvinTenths, const QLocale& locale);
};

} // namespace talvik::devices
