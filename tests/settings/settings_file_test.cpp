#include "settings_fixture.h"

#include "serial_list.h"
#include "settings_file.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct SettingsFiles : testing::Test {
    TransferFixture f;

    QJsonArray saved() {
        f.transfer->SaveSettingsFile(QStringLiteral("out.set"));
        return QJsonDocument::fromJson(f.dir.readFile(QStringLiteral("out.set"))).array();
    }
    QJsonObject element(const QJsonArray& file, int number) {
        for (const auto& value : file) {
            if (value.toObject().value(QStringLiteral("Value")).toInt(-1) == number) {
                return value.toObject();
            }
        }
        return {};
    }
    void load(const char* json) {
        f.dir.writeFile(QStringLiteral("in.set"), json);
        f.transfer->LoadSettingsFile(QStringLiteral("in.set"));
    }
};

TEST_F(SettingsFiles, EveryKindRoundTripsAndOnlyDifferingValuesAreMarked) {
    f.store().findOrAdd(1).valueText = QStringLiteral("te\"x\\t\n");
    f.addEdit(2)->setText(QStringLiteral("a b"));
    f.addEdit(3, Parameter::Integer, 10)->setText(QStringLiteral("25"));
    f.addEdit(4, Parameter::Integer, 10);
    f.addEdit(5, Parameter::Double10)->setText(QStringLiteral("3,5"));
    f.addEdit(6, Parameter::Double10, 2)->setText(QStringLiteral("1,25"));
    f.addEdit(7, Parameter::Phone)->setText(QStringLiteral("+7001,+7002"));
    f.addEdit(8, Parameter::Voice)->setText(QStringLiteral("тревога дверь"));
    f.addCombo(9, 3, {5, 7, 9})->setCurrentIndex(1);
    f.addCombo(10, 4)->setCurrentIndex(2);
    f.addCheck(11)->setChecked(true);
    const QList<QCheckBox*> bits = f.addBits(12, 3);
    bits[0]->setChecked(true);
    bits[2]->setChecked(true);
    f.addCheck(314)->setChecked(true);

    const QJsonArray file = saved();
    ASSERT_EQ(file.size(), 13);
    EXPECT_EQ(file[0].toObject(), (QJsonObject{{QStringLiteral("HW"), QStringLiteral("406")}}));
    const QByteArray text = f.dir.readFile(QStringLiteral("out.set"));
    EXPECT_LT(text.indexOf("\"Value\": 3"), text.indexOf("\"Edit\": 35"));
    struct Expected {
        int number;
        const char* key;
        QJsonValue value;
    };
    const Expected expected[] = {
        {1, "None", QStringLiteral("te\"x\\t\n")},
        {2, "Edit", QStringLiteral("a b")},
        {3, "Edit", 35},
        {4, "Edit", QString()},
        {5, "Edit", 35},
        {6, "Edit", 33},
        {7, "Edit", QStringLiteral("+7001,+7002")},
        {8, "Edit", QStringLiteral("тревога дверь")},
        {9, "Combo", 7},
        {10, "Combo", 2},
        {11, "Check", 1},
        {12, "Bits", 5},
    };
    for (const Expected& e : expected) {
        EXPECT_EQ(element(file, e.number).value(QString::fromLatin1(e.key)), e.value) << e.number;
    }
    EXPECT_TRUE(element(file, 314).isEmpty());

    // Everything but the check box and the drop-down with codes goes back to other values.
    QFile::copy(f.dir.file(QStringLiteral("out.set")), f.dir.file(QStringLiteral("in.set")));
    f.store().find(1)->valueText = QStringLiteral("other");
    for (int number : {2, 3, 5, 6, 7, 8}) {
        qobject_cast<QLineEdit*>(f.store().find(number)->control.data())->setText(u"9"_s);
    }
    qobject_cast<QLineEdit*>(f.store().find(4)->control.data())->setText(u"1"_s);
    qobject_cast<QComboBox*>(f.store().find(10)->control.data())->setCurrentIndex(0);
    bits[1]->setChecked(true);
    f.transfer->LoadSettingsFile(QStringLiteral("in.set"));
    EXPECT_EQ(saved(), file);
    for (const auto& [number, record] : f.store()) {
        EXPECT_EQ(record.changed, number != 9 && number != 11 && number != 314) << number;
    }
    EXPECT_TRUE(f.dialogs.shown.isEmpty());
}

TEST_F(SettingsFiles, TimeZoneShiftGivesEachDropDownItsSelectionBack) {
    f.addEdit(447, Parameter::Integer)->setText(QStringLiteral("3"));
    QComboBox* hour = f.addCombo(214, 24);
    QComboBox* dependent = f.addCombo(683, 24);
    hour->setCurrentIndex(10);
    dependent->setCurrentIndex(12);
    const QJsonArray file = saved();
    EXPECT_EQ(element(file, 214).value(QStringLiteral("Combo")).toInt(), 7);
    EXPECT_EQ(element(file, 683).value(QStringLiteral("Combo")).toInt(), 9);
    EXPECT_EQ(hour->currentIndex(), 10);
    EXPECT_EQ(dependent->currentIndex(), 12);

    // Loading without a controller raises 683 again (214 stays as the file has it).
    f.connected = false;
    f.transfer->LoadSettingsFile(QStringLiteral("out.set"));
    EXPECT_EQ(dependent->currentIndex(), 12);
    EXPECT_EQ(hour->currentIndex(), 7);
    f.connected = true;
    f.link.version = QStringLiteral("1.65");
    f.transfer->LoadSettingsFile(QStringLiteral("out.set"));
    EXPECT_EQ(dependent->currentIndex(), 9);
}

TEST_F(SettingsFiles, OlderFilesHoldShownTextsAndPositions) {
    QLineEdit* number = f.addEdit(3, Parameter::Integer, 10);
    QLineEdit* decimal = f.addEdit(5, Parameter::Double10);
    QComboBox* coded = f.addCombo(9, 3, {5, 7, 9});
    load(R"([{"HW": 406}, {"Value": 3, "Edit": "25"}, {"Value": 5, "Edit": "3,5"},
             {"Value": 9, "Combo": 2}])");
    EXPECT_EQ(number->text(), QStringLiteral("25"));
    EXPECT_EQ(decimal->text(), QStringLiteral("3,5"));
    EXPECT_EQ(coded->currentIndex(), 2);
    load(R"([{"HW": "406"}, {"Value": 3, "Edit": 25}, {"Value": 9, "Combo": 5}])");
    EXPECT_EQ(number->text(), QStringLiteral("15"));
    EXPECT_EQ(coded->currentIndex(), 0);
}

TEST_F(SettingsFiles, KeyPrecedenceIgnoredElementsAndDependentControls) {
    QCheckBox* box = f.addCheck(20, {21});
    QLineEdit* dependent = f.addEdit(21);
    f.addEdit(314)->setText(QStringLiteral("keep"));
    load(R"([{"HW": "406"}, {"Value": 20, "Combo": 1}, {"Value": 314, "Edit": "x"},
             {"Value": 30, "Other": 1}, {"Value": 31, "Check": true}])");
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(f.store().find(20)->changed);
    EXPECT_FALSE(dependent->isEnabled());
    EXPECT_EQ(qobject_cast<QLineEdit*>(f.store().find(314)->control.data())->text(), u"keep"_s);
    ASSERT_NE(f.store().find(30), nullptr);
    EXPECT_FALSE(f.store().find(30)->changed);
    EXPECT_EQ(f.store().find(31)->valueText, QStringLiteral("true"));
    EXPECT_TRUE(f.editor.handlers().input());
}

TEST_F(SettingsFiles, MalformedMissingAndForeignTypeFiles) {
    QLineEdit* edit = f.addEdit(3);
    f.transfer->LoadSettingsFile(QStringLiteral("absent.set"));
    load("[{\"HW\": \"406\"}, {\"Value\": 3, \"Edit\": \"x\"");
    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.dialogs.shown[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(f.dialogs.shown[0].text, QStringLiteral("Файл имеет некорректный формат"));
    EXPECT_EQ(edit->text(), QString());

    struct Case {
        QByteArray file;
        bool connected;
        int position;
    };
    QFile list(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/src/settings/serials.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArray listed = list.readLine().trimmed();
    const Case cases[] = {
        {R"([{"HW": "412"}])", false, 2},
        {R"([{"HW": "412"}])", true, 1},
        {R"([{"HW": "0"}])", false, 1},
        {R"([{"HW": "403"}, {"Value": 54, "None": ")" + listed + R"( 1"}])", false, 5},
        {R"([{"HW": "414"}, {"Value": 54, "None": "0123456789AB"}])", false, 4},
    };
    for (const Case& c : cases) {
        f.ComboBox2->setCurrentIndex(1);
        f.typeChanges = 0;
        f.connected = c.connected;
        f.dir.writeFile(QStringLiteral("type.set"), c.file);
        f.transfer->LoadSettingsFile(QStringLiteral("type.set"));
        EXPECT_EQ(f.ComboBox2->currentIndex(), c.position) << c.file.toStdString();
        EXPECT_EQ(f.typeChanges, c.position == 1 ? 0 : 1) << c.file.toStdString();
    }
}

TEST_F(SettingsFiles, FactorySettingsAskTwiceAndWriteOnYes) {
    f.addEdit(3)->setText(QStringLiteral("a"));
    f.dir.writeFile(QStringLiteral("Configs/406.set"),
                    R"([{"HW": "406"}, {"Value": 3, "Edit": "b"}])");
    f.dialogs.answers = {false};
    f.transfer->Button4Click();
    EXPECT_EQ(qobject_cast<QLineEdit*>(f.store().find(3)->control.data())->text(), u"a"_s);
    f.dialogs.answers = {true, true};
    f.transfer->Button4Click();
    ASSERT_EQ(f.dialogs.shown.size(), 3);
    EXPECT_EQ(f.dialogs.shown[1].text,
              QStringLiteral("Вы уверены, что хотите установить заводские настройки?"));
    EXPECT_EQ(f.dialogs.shown[1].caption, QStringLiteral("Предупреждение"));
    EXPECT_EQ(f.dialogs.shown[2].text,
              QStringLiteral("Заводские настройки установлены. Записать их в устройство?"));
    EXPECT_EQ(f.dialogs.shown[2].caption, QStringLiteral("ВНИМАНИЕ"));
    EXPECT_EQ(f.link.sent.value(0), QStringLiteral(" #P3=b/2"));
}

TEST(SerialList, BuiltInListAndItsUnpacking) {
    QFile list(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/src/settings/serials.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArrayList lines = list.readAll().trimmed().split('\n');
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(SerialList::contains(QString::fromLatin1(line))) << line.toStdString();
    }
    const QString first = QString::fromLatin1(lines.first());
    for (const QString& other :
         {first.toLower(), first.left(11), first + u"0"_s, QString(), u"0123456789AB"_s}) {
        EXPECT_FALSE(SerialList::contains(other)) << other.toStdString();
    }
    EXPECT_FALSE(SerialList::gunzip("not gzip at all").has_value());
    QFile packed(u":/talvik/serials.txt.gz"_s);
    ASSERT_TRUE(packed.open(QIODevice::ReadOnly));
    const QByteArray bytes = packed.readAll();
    EXPECT_FALSE(SerialList::gunzip(bytes.left(bytes.size() - 4)).has_value());
    EXPECT_EQ(SerialList::gunzip(bytes).value_or(QByteArray()).trimmed().split('\n'), lines);
}

} // namespace
