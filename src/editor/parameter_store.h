#pragma once

#include "parameter.h"

#include <QHash>
#include <QList>
#include <QString>
#include <map>
#include <optional>

class QObject;
class QWidget;

namespace talvik::editor {

// The settings shown on the pages, one record per setting number in ascending order, and the
// map from each control back to its setting. The page builder fills it; reading, writing,
// settings files and the field handlers read and change it.
class ParameterStore {
public:
    using Records = std::map<int, Parameter>;

    // Stores a new record under number, replacing any record with that number (the later
    // control wins), and maps control to number. Fields not given start empty, changed false.
    Parameter& add(int number, Parameter::Kind kind, QWidget* control,
                   iface::EditSpecial special = iface::EditSpecial::Plain, int limitLow = 0,
                   int limitHigh = 0, int offset = 0, QList<int> numbers = {});
    // Maps a further control (a bit check box of a Bits setting) to number.
    void mapControl(QObject* control, int number);

    // The record of number, or null. Looking up never creates a record.
    [[nodiscard]] Parameter* find(int number);
    [[nodiscard]] const Parameter* find(int number) const;
    // The record of number, adding a control-less record (kind None) first when there is none;
    // for values that arrive for settings that the pages do not show.
    Parameter& findOrAdd(int number);

    // The setting of a registered control, or none.
    [[nodiscard]] std::optional<int> numberOf(const QObject* control) const;
    // The record of a registered control, or null.
    [[nodiscard]] Parameter* recordOf(const QObject* control);

    // The record's current value as the controller expects it, as text.
    [[nodiscard]] static QString valueOf(const Parameter& record);
    // A controller value as the record's control shows it: the item text of a drop-down, "да" or
    // "нет" for a check box, the field text of an edit box; the value itself otherwise.
    [[nodiscard]] static QString textOf(const Parameter& record, const QString& value);
    // Sets the record's control (or, without one, its value text) from a controller value.
    static void show(Parameter& record, const QString& value);

    // Records in ascending setting order.
    [[nodiscard]] const Records& records() const { return m_records; }
    [[nodiscard]] Records::iterator begin() { return m_records.begin(); }
    [[nodiscard]] Records::iterator end() { return m_records.end(); }
    [[nodiscard]] Records::const_iterator begin() const { return m_records.begin(); }
    [[nodiscard]] Records::const_iterator end() const { return m_records.end(); }
    [[nodiscard]] int size() const { return static_cast<int>(m_records.size()); }
    [[nodiscard]] bool isEmpty() const { return m_records.empty(); }
    [[nodiscard]] int controlCount() const { return static_cast<int>(m_controls.size()); }

    // Whether any record is marked changed.
    [[nodiscard]] bool anyChanged() const;
    void setAllChanged(bool changed);
    // Notes every record's current value as the one the controller holds (the pages were just
    // built and filled).
    void holdShownValues();
    // Drops the records that have no control (kind None), keeping those the pages show.
    void removeWithoutControl();
    // Empties the store and the control map (the pages are about to go).
    void clear();

private:
    Records m_records;
    QHash<const QObject*, int> m_controls;
};

} // namespace talvik::editor
