#include "parameter_store.h"
#include "value_codecs.h"
#include "widget_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ValueCodecs, IntegerFieldsAddTheOffsetAndKeepEmptyTextEmpty) {
    struct Case {
        QString text;
        int offset;
        QString device;
    };
    const Case cases[] = {
        {u"25"_s, 10, u"35"_s}, {u"-5"_s, 273, u"268"_s}, {u""_s, 10, u""_s},
        {u"0"_s, 0, u"0"_s},    {u"-0"_s, 0, u"0"_s},     {u"7"_s, -3, u"4"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueCodecs::integerToDevice(c.text, c.offset), c.device) << c.text.toStdString();
    }
    EXPECT_EQ(ValueCodecs::integerFromDevice(u"35", 10), u"25"_s);
    EXPECT_EQ(ValueCodecs::integerFromDevice(u"268", 273), u"-5"_s);
    EXPECT_EQ(ValueCodecs::integerFromDevice(u"", 0), u"0"_s);
}

TEST(ValueCodecs, DecimalFieldsSendTenTimesTheValueRoundedHalfAwayFromZero) {
    struct Case {
        QString text;
        int offset;
        QString device;
    };
    const Case cases[] = {
        {u"3,5"_s, 0, u"35"_s},    {u"3.5"_s, 0, u"35"_s},   {u"2,25"_s, 0, u"23"_s},
        {u"2,24"_s, 0, u"22"_s},   {u"0,25"_s, -1, u"-8"_s}, {u"0,35"_s, 0, u"4"_s},
        {u"-2,25"_s, 0, u"-23"_s}, {u"12"_s, 0, u"120"_s},   {u"1,5"_s, 2, u"35"_s},
        {u""_s, 5, u""_s},         {u",5"_s, 0, u"5"_s},     {u"0,05"_s, 0, u"1"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueCodecs::double10ToDevice(c.text, c.offset), c.device)
            << c.text.toStdString() << " offset " << c.offset;
    }
}

TEST(ValueCodecs, DecimalValuesShowWithoutTrailingZerosInTheGivenSeparator) {
    struct Case {
        QString value;
        int offset;
        QString separator;
        QString shown;
    };
    const Case cases[] = {
        {u"35"_s, 0, u"."_s, u"3.5"_s},   {u"35"_s, 0, u","_s, u"3,5"_s},
        {u"30"_s, 0, u","_s, u"3"_s},     {u"0"_s, 0, u","_s, u"0"_s},
        {u"2730"_s, 273, u","_s, u"0"_s}, {u"2731"_s, 273, u","_s, u"0,1"_s},
        {u"-15"_s, 0, u","_s, u"-1,5"_s}, {u"1"_s, 0, u"."_s, u"0.1"_s},
        {u"35"_s, 1, u"."_s, u"2.5"_s},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ValueCodecs::double10FromDevice(c.value, c.offset, c.separator), c.shown)
            << c.value.toStdString();
    }
}

class StoreCodecs : public ::testing::Test {
protected:
    QApplication& app = widgetApp();
    ParameterStore store;
};

TEST_F(StoreCodecs, EditFieldsByTheirSpecial) {
    QLineEdit integer;
    QLineEdit decimal;
    QLineEdit phone;
    Parameter& a = store.add(1, Parameter::Edit, &integer, Parameter::Integer, 0, 100, 10);
    Parameter& b = store.add(2, Parameter::Edit, &decimal, Parameter::Double10, 0, 100, 0);
    Parameter& c = store.add(3, Parameter::Edit, &phone, Parameter::Phone);

    integer.setText(u"25"_s);
    EXPECT_EQ(ParameterStore::valueOf(a), u"35"_s);
    integer.clear();
    EXPECT_EQ(ParameterStore::valueOf(a), QString()) << "an empty integer field is not the offset";
    ParameterStore::show(a, u"40"_s);
    EXPECT_EQ(integer.text(), u"30"_s);

    decimal.setText(u"3,5"_s);
    EXPECT_EQ(ParameterStore::valueOf(b), u"35"_s);
    ParameterStore::show(b, u"35"_s);
    EXPECT_EQ(decimal.text(), u"3,5"_s);
    EXPECT_EQ(ParameterStore::valueOf(b), u"35"_s) << "a shown value reads back unchanged";

    ParameterStore::show(c, u"+7001,+7002"_s);
    EXPECT_EQ(phone.text(), u"+7001,+7002"_s);
    EXPECT_EQ(ParameterStore::valueOf(c), u"+7001,+7002"_s);
}

TEST_F(StoreCodecs, CombosWithAndWithoutCodes) {
    QComboBox coded;
    coded.addItems({u"a"_s, u"b"_s, u"c"_s});
    QComboBox plain;
    plain.addItems({u"a"_s, u"b"_s, u"c"_s});
    Parameter& withCodes = store.add(1, Parameter::Combo, &coded, 0, 0, 0, 0, {5, 7, 5});
    Parameter& positions = store.add(2, Parameter::Combo, &plain);

    struct Case {
        QString value;
        int selected;
    };
    for (const Case& c : {Case{u"5"_s, 2}, Case{u"7"_s, 1}, Case{u"9"_s, 0}}) {
        ParameterStore::show(withCodes, c.value);
        EXPECT_EQ(coded.currentIndex(), c.selected) << c.value.toStdString();
    }
    coded.setCurrentIndex(1);
    EXPECT_EQ(ParameterStore::valueOf(withCodes), u"7"_s);

    ParameterStore::show(positions, u"2"_s);
    EXPECT_EQ(plain.currentIndex(), 2);
    EXPECT_EQ(ParameterStore::valueOf(positions), u"2"_s);
}

TEST_F(StoreCodecs, ChecksAndBits) {
    QCheckBox check;
    Parameter& c = store.add(1, Parameter::Check, &check);
    ParameterStore::show(c, u"2"_s);
    EXPECT_TRUE(check.isChecked());
    EXPECT_EQ(ParameterStore::valueOf(c), u"1"_s);
    ParameterStore::show(c, u"0"_s);
    EXPECT_EQ(ParameterStore::valueOf(c), u"0"_s);

    QWidget group;
    Parameter& bits = store.add(2, Parameter::Bits, &group);
    QList<QCheckBox*> boxes;
    for (int i = 0; i < 8; ++i) {
        boxes.append(new QCheckBox(&group));
        bits.controls.append(boxes.last());
    }
    boxes[0]->setChecked(true);
    boxes[2]->setChecked(true);
    EXPECT_EQ(ParameterStore::valueOf(bits), u"5"_s);
    ParameterStore::show(bits, u"255"_s);
    for (QCheckBox* box : boxes) {
        EXPECT_TRUE(box->isChecked());
    }
    ParameterStore::show(bits, u"256"_s);
    for (QCheckBox* box : boxes) {
        EXPECT_FALSE(box->isChecked());
    }
    ParameterStore::show(bits, u"130"_s);
    EXPECT_EQ(ParameterStore::valueOf(bits), u"130"_s);
}

TEST_F(StoreCodecs, RecordsWithoutControlKeepTheirText) {
    Parameter& none = store.findOrAdd(900);
    EXPECT_EQ(none.kind, Parameter::None);
    ParameterStore::show(none, u"abc 12"_s);
    EXPECT_EQ(ParameterStore::valueOf(none), u"abc 12"_s);
    EXPECT_EQ(Parameter::kindName(Parameter::None), u"None"_s);
    EXPECT_EQ(Parameter::kindName(Parameter::Bits), u"Bits"_s);
    EXPECT_EQ(Parameter::kindFromName(u"Combo"), Parameter::Combo);
}

TEST_F(StoreCodecs, TheLaterControlOfANumberWinsAndOrderIsAscending) {
    QLineEdit first;
    QLineEdit second;
    store.add(20, Parameter::Edit, &first);
    store.add(3, Parameter::Edit, &first);
    store.add(20, Parameter::Edit, &second);
    EXPECT_EQ(store.size(), 2);
    EXPECT_EQ(store.find(20)->control, &second);
    EXPECT_EQ(store.numberOf(&second), 20);
    EXPECT_EQ(store.find(21), nullptr);
    EXPECT_EQ(store.size(), 2) << "looking up creates nothing";

    store.findOrAdd(7);
    QList<int> order;
    for (const auto& [number, record] : store) {
        order.append(number);
    }
    EXPECT_EQ(order, (QList<int>{3, 7, 20}));
    store.removeWithoutControl();
    EXPECT_EQ(store.find(7), nullptr);
    EXPECT_EQ(store.size(), 2);

    store.clear();
    EXPECT_FALSE(store.numberOf(&second));
}

} // namespace
