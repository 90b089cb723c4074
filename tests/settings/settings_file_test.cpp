#include "settings_fixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct SettingsFiles : testing::Test {
    TransferFixture f;

    QJsonArray saved() {
        f.transfer->SaveSettingsFile(u"out.set"_s);
        return QJsonDocument::fromJson(f.dir.readFile(u"out.set"_s)).array();
    }
    void load(const QByteArray& json) {
        f.dir.writeFile(u"in.set"_s, json);
        f.transfer->LoadSettingsFile(u"in.set"_s);
    }
};

TEST_F(SettingsFiles, EveryKindRoundTripsAndOnlyDifferingValuesAreMarked) {
    f.store().findOrAdd(1).valueText = u"te\"x\\t\n"_s;
    f.addEdit(2)->setText(u"a b"_s);
    f.addEdit(3, Parameter::Integer, 10)->setText(u"25"_s);
    f.addEdit(4, Parameter::Integer, 10);
    f.addEdit(5, Parameter::Double10, 2)->setText(u"1,25"_s);
    f.addEdit(6, Parameter::Voice)->setText(u"тревога дверь"_s);
    f.addCombo(7, 3, {5, 7, 9})->setCurrentIndex(1);
    f.addCombo(8, 4)->setCurrentIndex(2);
    f.addCheck(9)->setChecked(true);
    const QList<QCheckBox*> bits = f.addBits(10, 3);
    bits[0]->setChecked(true);
    bits[2]->setChecked(true);
    f.addCheck(314)->setChecked(true);

    // The controller's values, 314 left out; an empty number field stays empty.
    const QJsonArray file = saved();
    EXPECT_EQ(file, QJsonDocument::fromJson(R"([{"HW": "406"}, {"Value": 1, "None": "te\"x\\t\n"},
        {"Value": 2, "Edit": "a b"}, {"Value": 3, "Edit": 35}, {"Value": 4, "Edit": ""},
        {"Value": 5, "Edit": 33}, {"Value": 6, "Edit": "тревога дверь"},
        {"Value": 7, "Combo": 7}, {"Value": 8, "Combo": 2}, {"Value": 9, "Check": 1},
        {"Value": 10, "Bits": 5}])")
                        .array());

    // Everything but the check box and the drop-down with codes goes back to other values.
    QFile::copy(f.dir.file(u"out.set"_s), f.dir.file(u"in.set"_s));
    f.store().find(1)->valueText = u"other"_s;
    for (int number : {2, 3, 4, 5, 6}) {
        qobject_cast<QLineEdit*>(f.store().find(number)->control.data())->setText(u"9"_s);
    }
    qobject_cast<QComboBox*>(f.store().find(8)->control.data())->setCurrentIndex(0);
    bits[1]->setChecked(true);
    f.transfer->LoadSettingsFile(u"in.set"_s);
    EXPECT_EQ(saved(), file);
    for (const auto& [number, record] : f.store()) {
        EXPECT_EQ(record.changed, number != 7 && number != 9 && number != 314) << number;
    }
    EXPECT_TRUE(f.dialogs.shown.isEmpty());
}

TEST_F(SettingsFiles, TimeZoneShiftGivesEachDropDownItsSelectionBack) {
    f.addEdit(447, Parameter::Integer)->setText(u"3"_s);
    QComboBox* hour = f.addCombo(214, 24);
    QComboBox* dependent = f.addCombo(683, 24);
    hour->setCurrentIndex(10);
    dependent->setCurrentIndex(12);
    const QJsonArray file = saved();
    EXPECT_EQ(file[1].toObject().value(u"Combo"_s).toInt(), 7); // 214
    EXPECT_EQ(file[3].toObject().value(u"Combo"_s).toInt(), 9); // 683
    EXPECT_EQ(hour->currentIndex() * 100 + dependent->currentIndex(), 1012);

    // Loading without a controller raises 683 again (214 stays as the file has it).
    f.connected = false;
    f.transfer->LoadSettingsFile(u"out.set"_s);
    EXPECT_EQ(hour->currentIndex() * 100 + dependent->currentIndex(), 712);
    f.connected = true;
    f.link.version = u"1.65"_s;
    f.transfer->LoadSettingsFile(u"out.set"_s);
    EXPECT_EQ(dependent->currentIndex(), 9);
}

TEST_F(SettingsFiles, OlderFilesKeyPrecedenceAndIgnoredElements) {
    QLineEdit* number = f.addEdit(3, Parameter::Integer, 10);
    QLineEdit* decimal = f.addEdit(5, Parameter::Double10);
    QComboBox* coded = f.addCombo(9, 3, {5, 7, 9});
    // "HW" as a number: an older file of shown texts and item positions.
    load(R"([{"HW": 406}, {"Value": 3, "Edit": "25"}, {"Value": 5, "Edit": "3,5"},
             {"Value": 9, "Combo": 2}])");
    EXPECT_EQ(number->text() + decimal->text(), u"253,5"_s);
    EXPECT_EQ(coded->currentIndex(), 2);
    load(R"([{"HW": "406"}, {"Value": 3, "Edit": 25}, {"Value": 9, "Combo": 5}])");
    EXPECT_EQ(number->text(), u"15"_s);
    EXPECT_EQ(coded->currentIndex(), 0);

    QCheckBox* box = f.addCheck(20, {21});
    QLineEdit* dependent = f.addEdit(21);
    f.addEdit(314)->setText(u"keep"_s);
    load(R"([{"HW": "406"}, {"Value": 20, "Combo": 1}, {"Value": 314, "Edit": "x"},
             {"Value": 30, "Other": 1}, {"Value": 31, "Check": true}])");
    EXPECT_TRUE(box->isChecked() && f.store().find(20)->changed);
    EXPECT_FALSE(dependent->isEnabled());
    EXPECT_EQ(f.editText(314), u"keep"_s);
    ASSERT_NE(f.store().find(30), nullptr);
    EXPECT_FALSE(f.store().find(30)->changed);
    EXPECT_EQ(f.store().find(31)->valueText, u"true"_s);
    EXPECT_TRUE(f.editor.handlers().input());
}

TEST_F(SettingsFiles, MalformedMissingAndForeignTypeFiles) {
    f.addEdit(3);
    f.transfer->LoadSettingsFile(u"absent.set"_s);
    load(R"([{"HW": "406"}, {"Value": 3, "Edit": "x")");
    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.box(0), u"Ошибка | Файл имеет некорректный формат"_s);
    EXPECT_EQ(f.editText(3), QString());

    // A Pellam Q5 controller's settings saved under TQ-13 or TQ-14 are Pellam Q5 settings.
    QFile list(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/src/settings/serials.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArray listed = list.readLine().trimmed();
    const std::tuple<QByteArray, bool, int> cases[] = {
        {R"([{"HW": "412"}])", false, 2},
        {R"([{"HW": "412"}])", true, 1},
        {R"([{"HW": "0"}])", false, 1},
        {R"([{"HW": "403"}, {"Value": 54, "None": ")" + listed + R"( 1"}])", false, 5},
        {R"([{"HW": "414"}, {"Value": 54, "None": "0123456789AB"}])", false, 4},
    };
    for (const auto& [file, connected, position] : cases) {
        f.ComboBox2->setCurrentIndex(1);
        f.typeChanges = 0;
        f.connected = connected;
        load(file);
        EXPECT_EQ(f.ComboBox2->currentIndex(), position) << file.toStdString();
        EXPECT_EQ(f.typeChanges, position == 1 ? 0 : 1) << file.toStdString();
    }
}

TEST_F(SettingsFiles, FactorySettingsAndTheFileChoosers) {
    f.addEdit(3)->setText(u"a"_s);
    f.dir.writeFile(u"Configs/406.set"_s, R"([{"HW": "406"}, {"Value": 3, "Edit": "b"}])");
    f.transfer->Button4Click();
    EXPECT_EQ(f.editText(3), u"a"_s);
    f.dialogs.answers = {true, true};
    f.transfer->Button4Click();
    ASSERT_EQ(f.dialogs.shown.size(), 3);
    EXPECT_EQ(f.box(1),
              u"Предупреждение | Вы уверены, что хотите установить заводские настройки?"_s);
    EXPECT_EQ(f.box(2), u"ВНИМАНИЕ | Заводские настройки установлены. Записать их в устройство?"_s);
    EXPECT_EQ(f.link.sent.value(0), u" #P3=b/2"_s);

    // The load chooser starts at the file chosen last.
    f.dialogs.files = {f.dir.file(u"Configs/406.set"_s)};
    f.transfer->PNGButton6Click();
    f.transfer->PNGButton6Click();
    EXPECT_EQ(f.box(4), u"Загрузка параметров | "_s + f.dir.file(u"Configs/406.set"_s));
}

} // namespace
