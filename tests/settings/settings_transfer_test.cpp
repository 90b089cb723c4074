#include "change_marks.h"
#include "cp1251.h"
#include "read_backup.h"
#include "recording_settings_link.h"
#include "scripted_dialogs.h"
#include "setting_index.h"
#include "settings_comparison.h"
#include "settings_editor.h"
#include "settings_link.h"
#include "settings_transfer.h"
#include "simple_log.h"
#include "test_dir.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace talvik::editor;
using talvik::iface::EditSpecial;
using talvik::iface::SettingIndex;
using namespace talvik::link;
using namespace talvik::settings;
using namespace talvik::support;

namespace {

// The process's one QApplication; the shared log goes to a folder of its own.
QApplication& widgetApp() {
    static int argc = 1;
    static char name[] = "settings_tests";
    static char* argv[] = {name, nullptr};
    static QTemporaryDir logDir;
    static auto* app =
        (SimpleLog::setFileName(logDir.filePath(u"log.txt"_s)), new QApplication(argc, argv));
    return *app;
}

struct Settings : testing::Test {
    QApplication& app = widgetApp();
    TestDir dir;
    QWidget window; // owns every control
    ScriptedDialogs dialogs;
    SimpleLog log;
    QTabWidget pages;
    QTimer timer3;
    SettingsEditor editor{&pages, &window, dialogs, &timer3};
    RecordingSettingsLink link;
    bool connected = true;
    int chosenType = 406;
    int typeChanges = 0;
    // What the header would show: the progress, and the result line of the last batch.
    int progress = 0;
    QString result;
    std::unique_ptr<SettingsTransfer> transfer;

    Settings() {
        transfer = std::make_unique<SettingsTransfer>(
            editor, dialogs, log, [this] { return connected ? &link : nullptr; },
            SettingsTransfer::TypeChoice{[this] { return chosenType; },
                                         [this](int code) {
                                             chosenType = code;
                                             ++typeChanges;
                                         }});
        QObject::connect(transfer.get(), &SettingsTransfer::batchProgressed,
                         [this](int position) { progress = position; });
        QObject::connect(
            transfer.get(), &SettingsTransfer::batchFinished,
            [this](const QString& text, const QString& note) { result = text + note; });
    }
    template <typename W> W* make() { return new W(&window); }
    ParameterStore& store() { return editor.store(); }
    template <typename W>
    W* add(int number, Parameter::Kind kind, EditSpecial special = EditSpecial::Plain,
           int offset = 0, QList<int> numbers = {}) {
        store().add(number, kind, make<W>(), special, -1000, 1000, offset, numbers);
        return qobject_cast<W*>(store().find(number)->control.data());
    }
    QLineEdit* addEdit(int number, EditSpecial special = EditSpecial::Plain, int offset = 0) {
        return add<QLineEdit>(number, Parameter::Kind::Edit, special, offset);
    }
    QComboBox* addCombo(int number, int items, QList<int> codes = {}) {
        auto* combo = add<QComboBox>(number, Parameter::Kind::Combo, EditSpecial::Plain, 0, codes);
        combo->addItems(QStringList(items, u"-"_s));
        return combo;
    }
    QCheckBox* addCheck(int number, QList<int> disables = {}) {
        return add<QCheckBox>(number, Parameter::Kind::Check, EditSpecial::Plain, 0, disables);
    }
    QString box(qsizetype i) { return dialogs.shown[i].caption + u" | "_s + dialogs.shown[i].text; }
    void reply(const char* piece) { transfer->OnParameterReply(QString::fromUtf8(piece)); }
    void change(int number) { store().find(number)->changed = true; }
    QStringList write(const QString& version) {
        link.version = version;
        link.sent.clear();
        transfer->Button3Click();
        return link.sent;
    }
    QJsonArray saved() {
        EXPECT_EQ(transfer->SaveSettingsFile(u"out.set"_s), QString());
        return QJsonDocument::fromJson(dir.readFile(u"out.set"_s)).array();
    }
    void load(const QByteArray& json) {
        dir.writeFile(u"in.set"_s, json);
        transfer->LoadSettingsFile(u"in.set"_s);
    }
};

TEST_F(Settings, AValueKeepsTheColonsAfterTheFirst) {
    reply("#P40:a:b");
    EXPECT_EQ(store().find(40)->valueText, u"a:b"_s);
}

TEST_F(Settings, AReplyOutsideAListingAsksForNothing) {
    addEdit(12);
    reply("#P12:");
    EXPECT_TRUE(link.sent.isEmpty());
}

// A listing (" #S15=2") under way whose lines skip settings 0, 2 and 3 and end with "#P5:!".
struct Listing : Settings {
    Listing() {
        link.dump = 1;
        link.current = " #S15=2";
        for (const char* line : {"#P1:1", "#P4:1", "#P5:!"}) {
            reply(line);
        }
    }
};

TEST_F(Listing, AsksForTheSettingsItSkippedThenEnds) {
    EXPECT_EQ(link.sent, (QStringList{u" #P0?/2"_s, u" #P2?/2"_s, u" #P3?/2"_s, u"end/1"_s}));
}

TEST_F(Listing, EndsAtItsTerminator) {
    EXPECT_EQ(link.dump, 0);
    EXPECT_TRUE(link.current.isEmpty()); // the listing request counts as answered
}

TEST_F(Listing, TheTerminatorCarriesNoSetting) {
    EXPECT_EQ(store().find(5), nullptr);
}

TEST_F(Settings, BatchResultCountsUnansweredCommands) {
    link.current = " #P20?";
    for (int i = 0; i < 3; ++i) {
        transfer->OnNoReply(link);
    }
    EXPECT_EQ(result, QString()); // the batch goes on
    transfer->ShowBatchResult();
    EXPECT_EQ(result, u"Готово c 3 ошибками"_s); // Latin c

    QFile file(SimpleLog::fileName());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll().contains("NoReply  #P20?\n"));
}

// Settings 20 and 5 changed, 7 not, and 314, which is never written, changed too.
struct Write : Settings {
    Write() {
        addEdit(20)->setText(u"x"_s);
        addCheck(5)->setChecked(true);
        addEdit(7)->setText(u"unchanged"_s);
        addEdit(314)->setText(u"1"_s);
        for (int number : {20, 5, 314}) {
            change(number);
        }
    }
};

TEST_F(Write, SendsTheChangedSettingsInAscendingOrderThenApplyAndEnd) {
    EXPECT_EQ(write(u"1.70"_s),
              (QStringList{u" #P5=1/2"_s, u" #P20=x/2"_s, u" #S15=1/2"_s, u"end/1"_s}));
}

TEST_F(Write, TakesTheMarksOfWhatItSent) {
    write(u"1.70"_s);
    EXPECT_FALSE(store().find(5)->changed);
    EXPECT_FALSE(store().find(20)->changed);
}

TEST_F(Write, BeforeFirmware158AsksForEachWrittenSettingAtOnce) {
    EXPECT_EQ(write(u"1.50"_s).value(0), u" #P5=1 #P5?/2"_s);
}

struct WrittenValueRow {
    const char* name;
    EditSpecial special;
    int offset;
    QString text;
    QString version;
    QString sent;
};

class WrittenValue : public Settings, public testing::WithParamInterface<WrittenValueRow> {};

TEST_P(WrittenValue, GoesOutAsTheFirmwareReadsIt) {
    const WrittenValueRow& row = GetParam();
    addEdit(20, row.special, row.offset)->setText(row.text);
    change(20);
    EXPECT_EQ(write(row.version).value(0), row.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WrittenValue,
    testing::Values(WrittenValueRow{"SpacesInBracketsUpTo167", EditSpecial::Plain, 0, u"a b"_s,
                                    u"1.67"_s, u" #P20=(a b)/2"_s},
                    WrittenValueRow{"SpacesBareFrom168", EditSpecial::Plain, 0, u"a b"_s, u"1.68"_s,
                                    u" #P20=a b/2"_s},
                    WrittenValueRow{"TenthsRounded", EditSpecial::Double10, 0, u"1,25"_s, u"2.19"_s,
                                    u" #P20=13/2"_s},
                    WrittenValueRow{"EmptyIntegerIsItsOffset", EditSpecial::Integer, 5, QString(),
                                    u"2.19"_s, u" #P20=5/2"_s}),
    [](const auto& info) { return std::string(info.param.name); });

// The report hour 214 and the zone-dependent 683 are kept relative to the time zone 447.
struct ZoneRelative : Settings {
    QLineEdit* zone = addEdit(447, EditSpecial::Integer);
    QComboBox* hour = addCombo(214, 24);
    QComboBox* dependent = addCombo(683, 24);
    ZoneRelative() {
        zone->setText(u"3"_s);
        hour->setCurrentIndex(1); // below the zone: its relative value has no item
        dependent->setCurrentIndex(12);
    }
};

TEST_F(ZoneRelative, SavingLowersBothByTheZoneAndKeepsTheirSelection) {
    const QJsonArray file = saved();
    EXPECT_EQ(file[1].toObject()[u"Combo"_s].toInt(), -2);
    EXPECT_EQ(file[3].toObject()[u"Combo"_s].toInt(), 9);
    EXPECT_EQ(hour->currentIndex(), 1);
    EXPECT_EQ(dependent->currentIndex(), 12);
}

// Whatever is connected, a file saved and loaded again shows every hour as it was.
struct Connected {
    const char* name;
    const char* version; // empty: no controller
};
void PrintTo(const Connected& row, std::ostream* out) {
    *out << row.name;
}
struct ZoneRelativeLoad : ZoneRelative, testing::WithParamInterface<Connected> {};

TEST_P(ZoneRelativeLoad, GivesBackTheHoursThatWereSaved) {
    connected = *GetParam().version != 0;
    link.version = QString::fromLatin1(GetParam().version);
    const QJsonArray file = saved();
    hour->setCurrentIndex(0);
    dependent->setCurrentIndex(0);
    load(QJsonDocument(file).toJson());
    EXPECT_EQ(hour->currentIndex(), 1);
    EXPECT_EQ(dependent->currentIndex(), 12);
}

INSTANTIATE_TEST_SUITE_P(Settings, ZoneRelativeLoad,
                         testing::Values(Connected{"NoController", ""},
                                         Connected{"Firmware219", "2.19"},
                                         Connected{"Firmware165", "1.65"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ZoneRelative, LoadingRaisesByTheZoneTheFileSets) {
    zone->setText(u"0"_s);
    load(R"([{"HW": "406"}, {"Value": 214, "Combo": 9}, {"Value": 447, "Edit": 3},
             {"Value": 683, "Combo": 1}])");
    EXPECT_EQ(hour->currentIndex(), 12);
    EXPECT_EQ(dependent->currentIndex(), 4);
}

// 214 comes before the zone, so the zone goes out in the same batch; 683 comes after it, and
// the zone stays flagged for the next write.
TEST_F(ZoneRelative, WritesSendBothRelativeAndFlagTheZone) {
    hour->setCurrentIndex(7);
    for (auto& [number, record] : store()) {
        record.changed = number == 214;
    }
    EXPECT_EQ(write(u"1.50"_s), (QStringList{u" #P214=4 #P214?/2"_s, u" #P447=3 #P447?/2"_s,
                                             u" #S15=1/2"_s, u"end/1"_s}));
    dependent->setCurrentIndex(9);
    change(683);
    EXPECT_EQ(write(u"2.19"_s).value(0), u" #P683=6/2"_s);
    EXPECT_TRUE(store().find(447)->changed);
}

TEST_F(ZoneRelative, RepliesBelowTheZoneKeepTheirHour) {
    for (const char* piece : {"#P214:-2", "#P447:3", "#P683:-1"}) {
        reply(piece);
    }
    EXPECT_EQ(hour->currentIndex(), 1);
    EXPECT_EQ(dependent->currentIndex(), 2);
}

// A zone that arrives without the report hour leaves the hour shown as it was.
TEST_F(ZoneRelative, AZoneAloneRaisesNothing) {
    reply("#P447:3");
    EXPECT_EQ(hour->currentIndex(), 1);
}

// Replies are turned back from 1.66 on only.
TEST_F(ZoneRelative, RepliesAreRaisedFromFirmware166On) {
    for (const auto& [version, shownHour, shownDependent] :
         {std::tuple{u"2.19"_s, 8, 5}, {u"1.65"_s, 5, 2}}) {
        link.version = version;
        for (const char* piece : {"#P214:5", "#P447:3", "#P683:2"}) {
            reply(piece);
        }
        EXPECT_EQ(hour->currentIndex(), shownHour) << version.toStdString();
        EXPECT_EQ(dependent->currentIndex(), shownDependent) << version.toStdString();
    }
}

TEST_F(Settings, FactorySettingsAndLoginResetAskFirst) {
    editor.changeDeviceType(406, false); // no description here: the type without pages
    QLineEdit* edit = addEdit(3);
    dir.writeFile(u"Configs/406.set"_s, R"([{"HW": "406"}, {"Value": 3, "Edit": "b"}])");
    transfer->Button4Click();
    EXPECT_EQ(edit->text(), QString());
    dialogs.answers = {true, true, false, true};
    transfer->Button4Click();
    EXPECT_EQ(box(1), u"Предупреждение | Вы уверены, что хотите установить заводские настройки?"_s);
    EXPECT_EQ(box(2), u"ВНИМАНИЕ | Заводские настройки установлены. Записать их в устройство?"_s);
    EXPECT_EQ(link.sent, (QStringList{u" #P3=b/2"_s, u" #S15=1/2"_s, u"end/1"_s}));

    link.sent.clear();
    transfer->Button11Click();
    transfer->Button11Click();
    EXPECT_EQ(link.sent, QStringList{u" Сброс логина/1!"_s});
    EXPECT_EQ(box(4), u"Предупреждение | При сбросе логина вполняется отвязывание устройства от "
                      u"личного кабинета веб сервиса. Потребуется его заново добавить в личный "
                      u"кабинет. Вы уверены?"_s);
    connected = false;
    transfer->Button11Click();
    EXPECT_EQ(dialogs.shown.size(), 5);
}

// A Pellam Q5 known by its serial has Pellam Q5 pages under another chosen type.
TEST_F(Settings, FactorySettingsAreThoseOfThePagesType) {
    chosenType = 403;
    editor.changeDeviceType(415, false);
    QLineEdit* edit = addEdit(3);
    dir.writeFile(u"Configs/403.set"_s, R"([{"HW": "403"}, {"Value": 3, "Edit": "TQ-13"}])");
    dir.writeFile(u"Configs/415.set"_s, R"([{"HW": "415"}, {"Value": 3, "Edit": "Q5"}])");
    dialogs.answers = {true, false};
    transfer->Button4Click();
    EXPECT_EQ(edit->text(), u"Q5"_s);
}

TEST_F(Settings, SavingIntoAVanishedFolderTellsTheUserWhichFileAndWhy) {
    addEdit(3)->setText(u"x"_s);
    dialogs.files = {dir.file(u"stick/backup.set"_s)};
    transfer->PNGButton5Click();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].caption, u"Ошибка"_s);
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(
        u"Не удалось записать файл "_s + QDir::toNativeSeparators(dir.file(u"stick/backup.set"_s)) +
        u": папка не найдена"_s))
        << dialogs.shown[1].text.toStdString();
}

// A disk that fills up while the file is written: the old file stays as it was.
TEST_F(Settings, AFailedWriteLeavesTheOldFileWhole) {
    addEdit(3)->setText(u"a text longer than the room left on the disk"_s);
    dir.writeFile(u"backup.set"_s, "old");
    dialogs.files = {u"backup.set"_s};
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit full = before;
    full.rlim_cur = 16;
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    transfer->PNGButton5Click();
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, signal);
    EXPECT_EQ(dir.readFile(u"backup.set"_s), "old");
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(dialogs.shown[1].text.startsWith(u"Не удалось записать файл backup.set: "_s))
        << dialogs.shown[1].text.toStdString();
}

TEST_F(Settings, AFailedSaveOfTheLastSettingsIsOnlyLogged) {
    ASSERT_TRUE(QDir().mkdir(u"last.set"_s)); // a folder where the file should go
    transfer->SaveLastSettings();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    QFile file(SimpleLog::fileName());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Error: saving last.set - "));
}

TEST_F(Settings, EveryKindRoundTripsAndOnlyDifferingValuesAreMarked) {
    store().findOrAdd(1).valueText = u"te\"x\\t\n"_s;
    addEdit(2)->setText(u"a b"_s);
    addEdit(3, EditSpecial::Integer, 10)->setText(u"25"_s);
    addEdit(4, EditSpecial::Integer, 10);
    addEdit(5, EditSpecial::Double10, 2)->setText(u"1,25"_s);
    addEdit(6, EditSpecial::Voice)->setText(u"тревога дверь"_s);
    addCombo(7, 3, {5, 7, 9})->setCurrentIndex(1);
    addCombo(8, 4)->setCurrentIndex(2);
    addCheck(9)->setChecked(true);
    Parameter& bits = store().add(10, Parameter::Kind::Bits, make<QGroupBox>());
    for (int i = 0; i < 3; ++i) {
        bits.controls.append(make<QCheckBox>());
        store().mapControl(bits.controls.last(), 10);
        qobject_cast<QCheckBox*>(bits.controls.last())->setChecked(i != 1);
    }
    addCheck(314)->setChecked(true);

    // The controller's values, 314 left out; an empty number field stays empty.
    const QJsonArray file = saved();
    EXPECT_EQ(file, QJsonDocument::fromJson(R"([{"HW": "406"}, {"Value": 1, "None": "te\"x\\t\n"},
        {"Value": 2, "Edit": "a b"}, {"Value": 3, "Edit": 35}, {"Value": 4, "Edit": ""},
        {"Value": 5, "Edit": 33}, {"Value": 6, "Edit": "тревога дверь"},
        {"Value": 7, "Combo": 7}, {"Value": 8, "Combo": 2}, {"Value": 9, "Check": 1},
        {"Value": 10, "Bits": 5}])")
                        .array());

    // Everything but the check box and the drop-down with codes goes back to other values.
    store().find(1)->valueText = u"other"_s;
    for (int number : {2, 3, 4, 5, 6}) {
        qobject_cast<QLineEdit*>(store().find(number)->control.data())->setText(u"9"_s);
    }
    qobject_cast<QComboBox*>(store().find(8)->control.data())->setCurrentIndex(0);
    qobject_cast<QCheckBox*>(bits.controls[1])->setChecked(true);
    transfer->LoadSettingsFile(u"out.set"_s);
    EXPECT_EQ(saved(), file);
    for (const auto& [number, record] : store()) {
        EXPECT_EQ(record.changed, number != 7 && number != 9 && number != 314) << number;
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(Settings, OlderFilesKeyPrecedenceAndIgnoredElements) {
    QLineEdit* number = addEdit(3, EditSpecial::Integer, 10);
    QLineEdit* decimal = addEdit(5, EditSpecial::Double10);
    QComboBox* coded = addCombo(9, 3, {5, 7, 9});
    const auto shown = [&] { return number->text() + decimal->text() + coded->currentText(); };
    coded->setItemText(2, u"c"_s);
    // "HW" as a number: an older file of shown texts and item positions.
    load(R"([{"HW": 406}, {"Value": 3, "Edit": "25"}, {"Value": 5, "Edit": "3,5"},
             {"Value": 9, "Combo": 2}])");
    EXPECT_EQ(shown(), u"253,5c"_s);
    load(R"([{"HW": "406"}, {"Value": 3, "Edit": 25}, {"Value": 9, "Combo": 5}])");
    EXPECT_EQ(shown(), u"153,5-"_s);

    QCheckBox* box = addCheck(20, {21});
    QLineEdit* dependent = addEdit(21);
    addEdit(314)->setText(u"keep"_s);
    load(R"([{"HW": "406"}, {"Value": 20, "Combo": 1}, {"Value": 314, "Edit": "x"}])");
    EXPECT_TRUE(box->isChecked() && store().find(20)->changed && !dependent->isEnabled());
    EXPECT_EQ(qobject_cast<QLineEdit*>(store().find(314)->control.data())->text(), u"keep"_s);
    EXPECT_TRUE(editor.handlers().input());
}

TEST_F(Settings, AMalformedFileIsRefusedAndChangesNothing) {
    QLineEdit* edit = addEdit(3);
    load(R"([{"HW": "406"}, {"Value": 3, "Edit": "x")");
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(box(0), u"Ошибка | Файл имеет некорректный формат"_s);
    EXPECT_EQ(edit->text(), QString());
}

// A file of another type, and the type it leaves chosen (406 before loading). A Pellam Q5
// controller's settings saved under TQ-13 or TQ-14 are Pellam Q5 settings.
struct ForeignType {
    const char* name;
    QByteArray json; // "<serial>" stands for the first serial of the Pellam Q5 list
    bool online;
    int type;
};

struct ForeignTypeFile : Settings, testing::WithParamInterface<ForeignType> {};

TEST_P(ForeignTypeFile, ShowsTheTypeOfTheFileUnlessAControllerIsConnected) {
    QFile list(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/src/settings/serials.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QByteArray json = GetParam().json;
    json.replace("<serial>", list.readLine().trimmed());
    connected = GetParam().online;
    load(json);
    EXPECT_EQ(chosenType, GetParam().type);
    EXPECT_EQ(typeChanges, GetParam().type == 406 ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ForeignTypeFile,
    testing::Values(ForeignType{"Offline", R"([{"HW": "412"}])", false, 412},
                    ForeignType{"WhileConnected", R"([{"HW": "412"}])", true, 406},
                    ForeignType{"ListedPellamSerialUnderTQ13",
                                R"([{"HW": "403"}, {"Value": 54, "None": "<serial> 1"}])", false,
                                415},
                    ForeignType{"UnlistedSerialUnderTQ14",
                                R"([{"HW": "414"}, {"Value": 54, "None": "0123456789AB"}])", false,
                                414}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

// The copies of reads: a read that ends leaves a settings file of exactly what it brought.
struct Backups : Settings {
    QStringList copies() {
        return QDir(u"Backups/0123456789AB"_s).entryList({u"*.set"_s}, QDir::Files, QDir::Name);
    }
    void read(int errors) {
        transfer->PNGButton3Click();
        reply("#P12:read");
        reply("#P30:2");
        link.errors = errors;
        transfer->ShowBatchResult();
    }
};

TEST_F(Backups, ACopyOfTheReadLoadsBackTheValuesRead) {
    QLineEdit* edit = addEdit(12);
    QComboBox* combo = addCombo(30, 4);
    read(0);
    ASSERT_EQ(copies().size(), 1);
    edit->setText(u"edited"_s);
    combo->setCurrentIndex(0);
    transfer->LoadSettingsFile(u"Backups/0123456789AB/"_s + copies().constFirst());
    EXPECT_EQ(edit->text(), u"read"_s);
    EXPECT_EQ(combo->currentIndex(), 2);
}

TEST_F(Backups, AReadWithErrorsIsKeptAsPartial) {
    addEdit(12);
    read(3);
    ASSERT_EQ(copies().size(), 1);
    EXPECT_TRUE(copies().constFirst().endsWith(u"_partial.set"_s))
        << copies().constFirst().toStdString();
}

TEST_F(Backups, AWriteLeavesNoCopy) {
    addEdit(12)->setText(u"x"_s);
    change(12);
    transfer->Button3Click();
    transfer->ShowBatchResult();
    EXPECT_FALSE(QDir(u"Backups"_s).exists());
}

TEST_F(Backups, AnUnwritableFolderIsShownOnceAndTheReadStillEnds) {
    dir.writeFile(u"Backups"_s, "a file where the folder should be");
    addEdit(12);
    read(0);
    EXPECT_TRUE(result.startsWith(u"Готово (резервная копия не записана"_s))
        << result.toStdString();
    read(0);
    EXPECT_EQ(result, u"Готово"_s);
    QFile file(SimpleLog::fileName());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly) &&
                file.readAll().count("Error: backup of the read") >= 2);
}

TEST(ReadBackup, NamesSortByTimeAndMarkPartialReads) {
    const QDateTime when(QDate(2026, 12, 5), QTime(14, 3, 27));
    EXPECT_EQ(ReadBackup::fileName(when, false), u"2026-12-05_14-03-27.set"_s);
    EXPECT_EQ(ReadBackup::fileName(when, true), u"2026-12-05_14-03-27_partial.set"_s);
}

TEST(ReadBackup, TheCopyBeyondTheKeptNumberRemovesTheOldest) {
    TestDir dir;
    const ReadBackup backup(u"Backups"_s);
    const QDateTime first(QDate(2026, 1, 1), QTime(0, 0, 0));
    for (int i = 0; i <= ReadBackup::kKeptPerSerial; ++i) {
        ASSERT_TRUE(
            backup.save("[]", u"AB"_s, first.addSecs(i * 3600), i % 7 == 0).failure.isEmpty());
    }
    const QStringList kept = QDir(u"Backups/AB"_s).entryList({u"*.set"_s}, QDir::Files, QDir::Name);
    EXPECT_EQ(kept.size(), ReadBackup::kKeptPerSerial);
    EXPECT_EQ(kept.constFirst(), ReadBackup::fileName(first.addSecs(3600), false));
}

TEST(ReadBackup, ASerialNumberCannotLeaveTheFolder) {
    TestDir dir;
    const ReadBackup::Result result =
        ReadBackup(u"Backups"_s).save("[]", u"../x"_s, QDateTime::currentDateTime(), false);
    EXPECT_TRUE(result.path.startsWith(u"Backups/___x/"_s)) << result.path.toStdString();
}

// The changed marks of a setting on a settings page, followed through what sets and clears the
// changed flag.
struct Marks : Settings {
    QWidget* page = new QWidget;
    QLineEdit* edit = new QLineEdit(page);
    QLabel* label = new QLabel(u"Пароль"_s, page);

    Marks() {
        pages.addTab(new QWidget, u"Главная"_s);
        pages.addTab(new QWidget, u"Радиоустройства"_s);
        pages.addTab(page, u"Охрана"_s);
        label->setBuddy(edit);
        store().add(12, Parameter::Kind::Edit, edit);
        editor.handlers().attachEdit(edit);
    }
    void type(const QString& text) {
        editor.handlers().editEnter(edit);
        edit->setText(text);
        editor.handlers().editExit(edit);
    }
    bool tabMarked() { return pages.tabBar()->tabTextColor(2) == ChangeMarks::kColour; }
};

TEST_F(Marks, AnEditMarksTheSettingsCaption) {
    type(u"1234"_s);
    EXPECT_TRUE(ChangeMarks::isMarked(label));
}

TEST_F(Marks, AnEditMarksThePagesTab) {
    type(u"1234"_s);
    EXPECT_TRUE(tabMarked());
}

TEST_F(Marks, TheWriteThatSendsAChangeClearsItsMarks) {
    type(u"1234"_s);
    transfer->Button3Click();
    EXPECT_FALSE(ChangeMarks::isMarked(label));
    EXPECT_FALSE(tabMarked());
}

TEST_F(Marks, AReadReplacesTheMarks) {
    type(u"1234"_s);
    transfer->PNGButton3Click();
    reply("#P12:0000");
    transfer->ShowBatchResult();
    EXPECT_FALSE(ChangeMarks::isMarked(label));
    EXPECT_FALSE(tabMarked());
}

TEST_F(Marks, ALoadMarksTheValuesItChanges) {
    load(R"([{"HW": "406"}, {"Value": 12, "Edit": "9999"}])");
    EXPECT_TRUE(ChangeMarks::isMarked(label));
}

TEST_F(Marks, PuttingTheReadValueBackTakesTheMarkAway) {
    transfer->PNGButton3Click();
    reply("#P12:0000");
    transfer->ShowBatchResult();
    type(u"1234"_s);
    type(u"0000"_s);
    EXPECT_FALSE(ChangeMarks::isMarked(label));
    EXPECT_FALSE(tabMarked());
}

TEST_F(Marks, PuttingTheReadValueBackLeavesNothingToWrite) {
    transfer->PNGButton3Click();
    reply("#P12:0000");
    transfer->ShowBatchResult();
    type(u"1234"_s);
    type(u"0000"_s);
    EXPECT_EQ(write(u"2.19"_s), QStringList());
}

TEST_F(Marks, PuttingTheWrittenValueBackTakesTheMarkAway) {
    type(u"1234"_s);
    transfer->Button3Click();
    type(u"5"_s);
    type(u"1234"_s);
    EXPECT_FALSE(ChangeMarks::isMarked(label));
}

TEST_F(Marks, AValueOtherThanTheHeldOneKeepsItsMark) {
    transfer->PNGButton3Click();
    reply("#P12:0000");
    transfer->ShowBatchResult();
    type(u"1234"_s);
    type(u"5678"_s);
    EXPECT_TRUE(ChangeMarks::isMarked(label));
}

TEST_F(Marks, ALoadKeepsTheMarkOfAValueTheControllerAlreadyHolds) {
    transfer->PNGButton3Click();
    reply("#P12:0000");
    transfer->ShowBatchResult();
    type(u"1234"_s);
    load(R"([{"HW": "406"}, {"Value": 12, "Edit": "0000"}])");
    EXPECT_TRUE(ChangeMarks::isMarked(label));
}

TEST_F(Marks, ClickingACheckBoxBackTakesItsChangeAway) {
    QCheckBox* box = addCheck(20);
    editor.handlers().attachCheckBox(box);
    store().holdShownValues();
    editor.handlers().checkBoxMouseDown(box);
    box->click();
    editor.handlers().checkBoxMouseDown(box);
    box->click();
    EXPECT_FALSE(store().find(20)->changed);
}

TEST_F(Marks, ChoosingTheHeldItemAgainTakesTheChangeAway) {
    QComboBox* combo = addCombo(30, 3);
    editor.handlers().attachCombo(combo);
    store().holdShownValues();
    combo->setCurrentIndex(2);
    Q_EMIT combo->activated(2);
    combo->setCurrentIndex(0);
    Q_EMIT combo->activated(0);
    EXPECT_FALSE(store().find(30)->changed);
}

TEST_F(Marks, AnUnchangedSettingHasNoMark) {
    load(R"([{"HW": "406"}, {"Value": 12, "Edit": ""}])");
    EXPECT_FALSE(ChangeMarks::isMarked(label));
    EXPECT_FALSE(tabMarked());
}

// What differs between the pages and a settings file or the changes not yet written.
struct Comparison : Settings {
    SettingIndex index;
    QLineEdit* edit = addEdit(20, EditSpecial::Integer);
    QComboBox* combo = addCombo(30, 3, {5, 7, 9});
    QCheckBox* check = addCheck(40);

    Comparison() {
        edit->setText(u"12"_s);
        combo->setCurrentIndex(0);
        check->setChecked(false);
        combo->setItemText(1, u"Тихий"_s);
    }
    QList<SettingsComparison::Row> withFile(const QByteArray& json) {
        return SettingsComparison(editor, index)
            .withFile(json)
            .value_or(QList<SettingsComparison::Row>{});
    }
};

TEST_F(Comparison, AFileWithThreeDifferingValuesGivesThreeRows) {
    EXPECT_EQ(withFile(R"([{"HW": "406"}, {"Value": 20, "Edit": 13}, {"Value": 30, "Combo": 7},
                           {"Value": 40, "Check": 1}])")
                  .size(),
              3);
}

TEST_F(Comparison, ASettingTheFileHoldsAsShownIsNoRow) {
    EXPECT_TRUE(withFile(R"([{"HW": "406"}, {"Value": 20, "Edit": 12}])").isEmpty());
}

TEST_F(Comparison, ASettingTheFileDoesNotHoldIsNoRow) {
    EXPECT_TRUE(withFile(R"([{"HW": "406"}])").isEmpty());
}

TEST_F(Comparison, TheLoginIsNeverARow) {
    EXPECT_TRUE(withFile(R"([{"HW": "406"}, {"Value": 314, "None": "x"}])").isEmpty());
}

TEST_F(Comparison, ASettingThePagesDoNotShowIsARowByNumber) {
    EXPECT_EQ(withFile(R"([{"HW": "406"}, {"Value": 77, "None": "x"}])").value(0).label, u"77"_s);
}

TEST_F(Comparison, TheFilesDropDownValueIsShownAsItsItemText) {
    EXPECT_EQ(withFile(R"([{"HW": "406"}, {"Value": 30, "Combo": 7}])").value(0).other, u"Тихий"_s);
}

TEST_F(Comparison, ACheckBoxValueIsShownAsYesOrNo) {
    EXPECT_EQ(withFile(R"([{"HW": "406"}, {"Value": 40, "Check": 1}])").value(0).other, u"да"_s);
}

TEST_F(Comparison, TextThatIsNoSettingsFileGivesNothing) {
    EXPECT_FALSE(SettingsComparison(editor, index).withFile("not json").has_value());
}

TEST_F(Comparison, PendingListsTheChangedSettingsWithTheValueHeld) {
    store().holdShownValues();
    edit->setText(u"99"_s);
    change(20);
    const QList<SettingsComparison::Row> rows = SettingsComparison(editor, index).pending();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].other, u"12"_s);
}
