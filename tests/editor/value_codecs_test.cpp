#include "parameter_store.h"
#include "value_codecs.h"
#include "widget_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Case {
    QString in;
    int offset;
    QString out;
};

TEST(ValueCodecs, NumericFieldsBothWays) {
    // Integer field text -> device: plus the offset; an empty field stays empty.
    for (const Case& c : {Case{u"25"_s, 10, u"35"_s}, Case{u"-5"_s, 273, u"268"_s},
                          Case{u""_s, 10, u""_s}, Case{u"-0"_s, 0, u"0"_s}}) {
        EXPECT_EQ(ValueCodecs::integerToDevice(c.in, c.offset), c.out) << c.in.toStdString();
    }
    EXPECT_EQ(ValueCodecs::integerFromDevice(u"268", 273), u"-5"_s);
    // Decimal field text -> device: ten times (number + offset), halves away from zero.
    for (const Case& c :
         {Case{u"3,5"_s, 0, u"35"_s}, Case{u"3.5"_s, 0, u"35"_s}, Case{u"2,25"_s, 0, u"23"_s},
          Case{u"2,24"_s, 0, u"22"_s}, Case{u"0,25"_s, -1, u"-8"_s}, Case{u"-2,25"_s, 0, u"-23"_s},
          Case{u"1,5"_s, 2, u"35"_s}, Case{u""_s, 5, u""_s}, Case{u",5"_s, 0, u"5"_s},
          Case{u"0,35"_s, 0, u"4"_s}}) {
        EXPECT_EQ(ValueCodecs::double10ToDevice(c.in, c.offset), c.out) << c.in.toStdString();
    }
    // Device -> decimal field text: no trailing zeros nor separator.
    for (const Case& c : {Case{u"35"_s, 0, u"3,5"_s}, Case{u"30"_s, 0, u"3"_s},
                          Case{u"2730"_s, 273, u"0"_s}, Case{u"2731"_s, 273, u"0,1"_s},
                          Case{u"-15"_s, 0, u"-1,5"_s}, Case{u"35"_s, 1, u"2,5"_s}}) {
        EXPECT_EQ(ValueCodecs::double10FromDevice(c.in, c.offset, u","), c.out)
            << c.in.toStdString();
    }
}

class StoreCodecs : public ::testing::Test {
protected:
    QApplication& app = widgetApp();
    ParameterStore store;
};

TEST_F(StoreCodecs, ControlsShowAndGiveTheDeviceValue) {
    QLineEdit integer;
    Parameter& a = store.add(1, Parameter::Edit, &integer, Parameter::Integer, 0, 100, 10);
    ParameterStore::show(a, u"40"_s);
    EXPECT_EQ(integer.text(), u"30"_s);
    EXPECT_EQ(ParameterStore::valueOf(a), u"40"_s);
    QLineEdit decimal;
    Parameter& b = store.add(2, Parameter::Edit, &decimal, Parameter::Double10, 0, 100, 0);
    ParameterStore::show(b, u"35"_s);
    EXPECT_EQ(decimal.text(), u"3,5"_s) << "shown the way the field check leaves it";
    EXPECT_EQ(ParameterStore::valueOf(b), u"35"_s);

    QComboBox coded;
    coded.addItems({u"a"_s, u"b"_s, u"c"_s});
    Parameter& withCodes = store.add(3, Parameter::Combo, &coded, 0, 0, 0, 0, {5, 7, 5});
    for (const auto& [value, selected] : {std::pair{u"5"_s, 2}, {u"7"_s, 1}, {u"9"_s, 0}}) {
        ParameterStore::show(withCodes, value);
        EXPECT_EQ(coded.currentIndex(), selected) << value.toStdString();
    }
    EXPECT_EQ(ParameterStore::valueOf(withCodes), u"5"_s);
    QComboBox plain;
    plain.addItems({u"a"_s, u"b"_s, u"c"_s});
    Parameter& positions = store.add(4, Parameter::Combo, &plain);
    ParameterStore::show(positions, u"2"_s);
    EXPECT_EQ(ParameterStore::valueOf(positions), u"2"_s);

    QCheckBox check;
    Parameter& c = store.add(5, Parameter::Check, &check);
    ParameterStore::show(c, u"2"_s);
    EXPECT_EQ(ParameterStore::valueOf(c), u"1"_s);

    QWidget group;
    Parameter& bits = store.add(6, Parameter::Bits, &group);
    for (int i = 0; i < 8; ++i) {
        bits.controls.append(new QCheckBox(&group));
    }
    for (const auto& [value, shown] :
         {std::pair{u"255"_s, u"255"_s}, {u"256"_s, u"0"_s}, {u"133"_s, u"133"_s}}) {
        ParameterStore::show(bits, value);
        EXPECT_EQ(ParameterStore::valueOf(bits), shown) << value.toStdString();
    }
    EXPECT_TRUE(bits.controls[0]->isChecked() && bits.controls[2]->isChecked());

    Parameter& none = store.findOrAdd(900);
    ASSERT_EQ(none.kind, Parameter::None);
    ParameterStore::show(none, u"abc 12"_s);
    EXPECT_EQ(ParameterStore::valueOf(none), u"abc 12"_s);
}

TEST_F(StoreCodecs, TheLaterControlOfANumberWinsAndOrderIsAscending) {
    QLineEdit first;
    QLineEdit second;
    store.add(20, Parameter::Edit, &first);
    store.add(3, Parameter::Edit, &first);
    store.add(20, Parameter::Edit, &second);
    EXPECT_EQ(store.find(20)->control, &second);
    EXPECT_EQ(store.find(21), nullptr);
    EXPECT_EQ(store.begin()->first, 3);
    EXPECT_EQ(store.size(), 2) << "looking 21 up created nothing";
}

} // namespace
