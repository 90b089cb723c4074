#include "editor_test_support.h"
#include "parameter_store.h"
#include "value_codecs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ValueCodecs, NumericFieldsBothWays) {
    // i/I: integer field to/from the device (plus the offset); d/D: decimal field to/from the
    // device, ten times (number + offset), halves away from zero, no trailing zeros shown.
    const std::tuple<char, QString, int, QString> cases[] = {
        {'i', u"25"_s, 10, u"35"_s},     {'i', u"-5"_s, 273, u"268"_s},
        {'i', u""_s, 10, u""_s},         {'i', u"-0"_s, 0, u"0"_s},
        {'I', u"268"_s, 273, u"-5"_s},   {'d', u"3,5"_s, 0, u"35"_s},
        {'d', u"3.5"_s, 0, u"35"_s},     {'d', u"2,25"_s, 0, u"23"_s},
        {'d', u"2,24"_s, 0, u"22"_s},    {'d', u"0,25"_s, -1, u"-8"_s},
        {'d', u"-2,25"_s, 0, u"-23"_s},  {'d', u"1,5"_s, 2, u"35"_s},
        {'d', u""_s, 5, u""_s},          {'d', u",5"_s, 0, u"5"_s},
        {'d', u"0,35"_s, 0, u"4"_s},     {'D', u"35"_s, 0, u"3,5"_s},
        {'D', u"30"_s, 0, u"3"_s},       {'D', u"2730"_s, 273, u"0"_s},
        {'D', u"2731"_s, 273, u"0,1"_s}, {'D', u"-15"_s, 0, u"-1,5"_s},
        {'D', u"35"_s, 1, u"2,5"_s},
    };
    for (const auto& [way, in, offset, out] : cases) {
        const QString got = way == 'i'   ? ValueCodecs::integerToDevice(in, offset)
                            : way == 'I' ? ValueCodecs::integerFromDevice(in, offset)
                            : way == 'd' ? ValueCodecs::double10ToDevice(in, offset)
                                         : ValueCodecs::double10FromDevice(in, offset, u",");
        EXPECT_EQ(got, out) << way << " " << in.toStdString();
    }
}

// What a control shows: an edit's text, a list's item, a box's state, a bit group's boxes.
QString shownBy(const Parameter& record) {
    if (const auto* edit = qobject_cast<QLineEdit*>(record.control)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<QComboBox*>(record.control)) {
        return combo->currentText();
    }
    if (const auto* box = qobject_cast<QCheckBox*>(record.control)) {
        return box->isChecked() ? u"on"_s : u"off"_s;
    }
    QString bits;
    for (const QCheckBox* bit : record.controls) {
        bits += bit->isChecked() ? u'1' : u'0';
    }
    return bits;
}

TEST(ParameterStore, ControlsShowAndGiveTheDeviceValue) {
    widgetApp();
    ParameterStore store;
    QLineEdit integer;
    QLineEdit decimal;
    QComboBox coded;
    QComboBox plain;
    QCheckBox check;
    QWidget group;
    for (QComboBox* combo : {&coded, &plain}) {
        combo->addItems({u"a"_s, u"b"_s, u"c"_s});
    }
    store.add(1, Parameter::Edit, &integer, Parameter::Integer, 0, 100, 10);
    store.add(2, Parameter::Edit, &decimal, Parameter::Double10, 0, 100, 0);
    store.add(3, Parameter::Combo, &coded, 0, 0, 0, 0, {5, 7, 5});
    store.add(4, Parameter::Combo, &plain);
    store.add(5, Parameter::Check, &check);
    Parameter& bits = store.add(6, Parameter::Bits, &group);
    for (int i = 0; i < 8; ++i) {
        bits.controls.append(new QCheckBox(&group));
    }
    ASSERT_EQ(store.findOrAdd(900).kind, Parameter::None);
    // Setting, value shown, what the control then shows, the value read back.
    const std::tuple<int, QString, QString, QString> cases[] = {
        {1, u"40"_s, u"30"_s, u"40"_s},
        {2, u"35"_s, u"3,5"_s, u"35"_s},
        {3, u"5"_s, u"c"_s, u"5"_s},
        {3, u"7"_s, u"b"_s, u"7"_s},
        {3, u"9"_s, u"a"_s, u"5"_s},
        {4, u"2"_s, u"c"_s, u"2"_s},
        {5, u"2"_s, u"on"_s, u"1"_s},
        {6, u"255"_s, u"11111111"_s, u"255"_s},
        {6, u"256"_s, u"00000000"_s, u"0"_s},
        {6, u"133"_s, u"10100001"_s, u"133"_s},
        {900, u"abc 12"_s, u""_s, u"abc 12"_s},
    };
    for (const auto& [number, value, shown, read] : cases) {
        Parameter& record = *store.find(number);
        ParameterStore::show(record, value);
        EXPECT_EQ(shownBy(record), shown) << number << " " << value.toStdString();
        EXPECT_EQ(ParameterStore::valueOf(record), read) << number << " " << value.toStdString();
    }

    // The later control of a number wins; the order is ascending; a look-up creates nothing.
    QLineEdit second;
    store.add(1, Parameter::Edit, &second);
    EXPECT_EQ(store.find(1)->control, &second);
    EXPECT_EQ(store.find(21), nullptr);
    EXPECT_EQ(store.begin()->first + store.size(), 1 + 7);
}

} // namespace
