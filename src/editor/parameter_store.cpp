#include "parameter_store.h"

#include "value_codecs.h"

#include "leading_integer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <cstdint>

namespace talvik::editor {

Parameter& ParameterStore::add(int number, Parameter::Kind kind, QWidget* control,
                               iface::EditSpecial special, int limitLow, int limitHigh, int offset,
                               QList<int> numbers) {
    Parameter& record = m_records[number];
    record = Parameter{};
    record.number = number;
    record.kind = kind;
    record.special = special;
    record.limitLow = limitLow;
    record.limitHigh = limitHigh;
    record.offset = offset;
    record.control = control;
    record.numbers = std::move(numbers);
    if (control != nullptr) {
        m_controls.insert(control, number);
    }
    return record;
}

void ParameterStore::mapControl(QObject* control, int number) {
    m_controls.insert(control, number);
}

Parameter* ParameterStore::find(int number) {
    const auto found = m_records.find(number);
    return found == m_records.end() ? nullptr : &found->second;
}

const Parameter* ParameterStore::find(int number) const {
    const auto found = m_records.find(number);
    return found == m_records.end() ? nullptr : &found->second;
}

Parameter& ParameterStore::findOrAdd(int number) {
    if (Parameter* record = find(number)) {
        return *record;
    }
    return add(number, Parameter::Kind::None, nullptr);
}

std::optional<int> ParameterStore::numberOf(const QObject* control) const {
    const auto found = m_controls.constFind(control);
    if (found == m_controls.constEnd()) {
        return std::nullopt;
    }
    return found.value();
}

Parameter* ParameterStore::recordOf(const QObject* control) {
    const std::optional<int> number = numberOf(control);
    return number ? find(*number) : nullptr;
}

QString ParameterStore::valueOf(const Parameter& record) {
    switch (record.kind) {
    case Parameter::Kind::Edit: {
        const auto* edit = qobject_cast<const QLineEdit*>(record.control.data());
        if (edit == nullptr) {
            return {};
        }
        if (record.special == iface::EditSpecial::Integer) {
            return ValueCodecs::integerToDevice(edit->text(), record.offset);
        }
        if (record.special == iface::EditSpecial::Double10) {
            return ValueCodecs::double10ToDevice(edit->text(), record.offset);
        }
        return edit->text();
    }
    case Parameter::Kind::Combo: {
        const auto* combo = qobject_cast<const QComboBox*>(record.control.data());
        if (combo == nullptr) {
            return {};
        }
        const int position = combo->currentIndex();
        if (!record.numbers.isEmpty() && position >= 0 && position < record.numbers.size()) {
            return QString::number(record.numbers[position]);
        }
        return QString::number(position);
    }
    case Parameter::Kind::Check: {
        const auto* box = qobject_cast<const QCheckBox*>(record.control.data());
        return box != nullptr && box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
    case Parameter::Kind::Bits: {
        std::uint32_t sum = 0;
        for (qsizetype i = 0; i < record.controls.size() && i < Parameter::kBitCount; ++i) {
            if (record.controls[i] != nullptr && record.controls[i]->isChecked()) {
                sum |= 1U << i;
            }
        }
        // Bit 31 makes the value negative, as the controller keeps it.
        return QString::number(static_cast<std::int32_t>(sum));
    }
    default:
        return record.valueText;
    }
}

QString ParameterStore::textOf(const Parameter& record, const QString& value) {
    switch (record.kind) {
    case Parameter::Kind::Edit:
        if (record.special == iface::EditSpecial::Integer && !value.isEmpty()) {
            return ValueCodecs::integerFromDevice(value, record.offset);
        }
        if (record.special == iface::EditSpecial::Double10 && !value.isEmpty()) {
            return ValueCodecs::double10FromDevice(value, record.offset,
                                                   ValueCodecs::decimalSeparator());
        }
        return value;
    case Parameter::Kind::Combo:
        if (const auto* combo = qobject_cast<const QComboBox*>(record.control.data())) {
            const int number = support::LeadingInteger(value);
            const qsizetype position =
                record.numbers.isEmpty() ? number : record.numbers.lastIndexOf(number);
            if (position >= 0 && position < combo->count()) {
                return combo->itemText(static_cast<int>(position));
            }
        }
        return value;
    case Parameter::Kind::Check:
        return support::LeadingInteger(value) != 0 ? QStringLiteral("да") : QStringLiteral("нет");
    default:
        return value;
    }
}

void ParameterStore::show(Parameter& record, const QString& value) {
    switch (record.kind) {
    case Parameter::Kind::Edit:
        if (auto* edit = qobject_cast<QLineEdit*>(record.control.data())) {
            if (record.special == iface::EditSpecial::Integer) {
                edit->setText(ValueCodecs::integerFromDevice(value, record.offset));
            } else if (record.special == iface::EditSpecial::Double10) {
                edit->setText(ValueCodecs::double10FromDevice(value, record.offset,
                                                              ValueCodecs::decimalSeparator()));
            } else {
                edit->setText(value);
            }
        }
        return;
    case Parameter::Kind::Combo:
        if (auto* combo = qobject_cast<QComboBox*>(record.control.data())) {
            const int number = support::LeadingInteger(value);
            if (record.numbers.isEmpty()) {
                // A position outside the list leaves nothing selected.
                combo->setCurrentIndex(number >= 0 && number < combo->count() ? number : -1);
                return;
            }
            int position = 0;
            for (qsizetype i = 0; i < record.numbers.size() && i < combo->count(); ++i) {
                if (record.numbers[i] == number) {
                    position = static_cast<int>(i);
                }
            }
            combo->setCurrentIndex(position);
        }
        return;
    case Parameter::Kind::Check:
        if (auto* box = qobject_cast<QCheckBox*>(record.control.data())) {
            box->setChecked(support::LeadingInteger(value) != 0);
        }
        return;
    case Parameter::Kind::Bits: {
        const long long bits = support::LeadingInteger(value);
        for (qsizetype i = 0; i < record.controls.size(); ++i) {
            if (record.controls[i] != nullptr) {
                record.controls[i]->setChecked(i < Parameter::kBitCount && ((bits >> i) & 1) != 0);
            }
        }
        return;
    }
    default:
        record.valueText = value;
        return;
    }
}

bool ParameterStore::anyChanged() const {
    for (const auto& [number, record] : m_records) {
        if (record.changed) {
            return true;
        }
    }
    return false;
}

void ParameterStore::setAllChanged(bool changed) {
    for (auto& [number, record] : m_records) {
        record.changed = changed;
    }
}

void ParameterStore::holdShownValues() {
    for (auto& [number, record] : m_records) {
        record.held = valueOf(record);
    }
}

void ParameterStore::removeWithoutControl() {
    std::erase_if(m_records,
                  [](const auto& entry) { return entry.second.kind == Parameter::Kind::None; });
}

void ParameterStore::clear() {
    m_records.clear();
    m_controls.clear();
}

} // namespace talvik::editor
