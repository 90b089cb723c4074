#include "compare_window.h"
#include "device_type.h"
#include "e2e_harness.h"
#include "parameter_store.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "type_into.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <map>
#include <set>

using namespace talvik::app;
using namespace talvik::editor;
using namespace talvik::iface;

namespace {

// Setting number -> what its control shows (the text of a box or list, the state of a check
// box, the bits of a group), for every setting the pages show.
Store fieldTexts(const ParameterStore& store) {
    Store texts;
    for (const auto& [number, record] : store) {
        QString text = ParameterStore::valueOf(record);
        if (const auto* edit = qobject_cast<const QLineEdit*>(record.control.data())) {
            text = edit->text();
        } else if (const auto* combo = qobject_cast<const QComboBox*>(record.control.data())) {
            text = combo->currentText();
        }
        texts[number] = text.toStdString();
    }
    return texts;
}

// A click on the box's square, where a press takes effect whatever the box's width.
void click(QCheckBox* box) {
    const QPointF square(5, box->height() / 2.0);
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, square, box->mapToGlobal(square), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(box, &event);
    }
}

class SettingsEndToEnd : public EndToEnd {
protected:
    SettingsEndToEnd() { LinkShippedFolders(); }

    // Loads `from` into the window and saves it as `to`; returns what the fields showed.
    Store loadAndSave(TForm1& form, const QString& from, const QString& to) {
        form.settings().transfer().LoadSettingsFile(from);
        EXPECT_EQ(form.settings().transfer().SaveSettingsFile(to), QString());
        return fieldTexts(form.settingsEditor().store());
    }

    // Loaded and saved as A, A loaded and saved as B: the same bytes, the same fields.
    void expectRoundTrip(TForm1& form, const QString& file) {
        const Store first = loadAndSave(form, file, u"a.set"_s);
        const Store second = loadAndSave(form, u"a.set"_s, u"b.set"_s);
        EXPECT_EQ(differences(first, second), "");
        EXPECT_EQ(dir.readFile(u"a.set"_s), dir.readFile(u"b.set"_s));
    }

    // A settings file as the emulator saved it.
    [[nodiscard]] Store storeOf(const QString& name) const { return StoreOf(dir.readFile(name)); }

    // The user changes the first plain text, drop-down list and check box that allow it,
    // leaving the time zone and the settings kept relative to it (447, 214, 683) alone.
    static void changeOneOfEachKind(TForm1& form) {
        std::set<int> kinds;
        for (auto& [n, record] : form.settingsEditor().store()) {
            auto* edit = qobject_cast<QLineEdit*>(record.control.data());
            auto* list = qobject_cast<QComboBox*>(record.control.data());
            auto* box = qobject_cast<QCheckBox*>(record.control.data());
            const int kind = edit && record.special == talvik::iface::EditSpecial::Plain ? 1
                             : list && list->count() > 1                                 ? 2
                             : box && record.numbers.isEmpty()                           ? 3
                                                                                         : 0;
            if (kind == 0 || n == 447 || n == 214 || n == 683 || !record.control->isEnabled() ||
                !kinds.insert(kind).second) {
                continue;
            }
            if (kind == 1) {
                TypeInto(edit, u"новый текст"_s);
            } else if (kind == 2) {
                list->setCurrentIndex((list->currentIndex() + 1) % list->count());
                Q_EMIT list->activated(list->currentIndex());
            } else {
                click(box);
            }
        }
    }

    // What the window shows differs from `expected` on these of its settings.
    static std::string readDifferences(TForm1& form, Store expected) {
        const Store read = Shown(form);
        std::erase_if(expected, [&](const auto& entry) { return read.count(entry.first) == 0; });
        return read.size() > 100 ? differences(read, expected) : "too few settings shown";
    }

    // The settings of a window without a controller for TQ-12, each given a value of its own
    // where the control allows it, saved to `path`; returns what the window showed.
    Store writeSource(const QString& path, int seed, int zone = 3) {
        auto form = Window(u"/nonexistent"_s);
        NamedChild<QComboBox>(*form, u"ComboBox2"_s)->setCurrentIndex(2);
        form->changeDeviceType(false);
        for (auto& [number, record] : form->settingsEditor().store()) {
            const int pick = number * 7 + seed;
            // Wide enough for a field that takes every int.
            const long long span = static_cast<long long>(record.limitHigh) - record.limitLow + 1;
            if (auto* edit = qobject_cast<QLineEdit*>(record.control.data())) {
                const bool numeric = record.special == talvik::iface::EditSpecial::Integer ||
                                     record.special == talvik::iface::EditSpecial::Double10;
                edit->setText(
                    number == 447 ? QString::number(zone)
                    : numeric     ? QString::number(record.limitLow + (span > 0 ? pick % span : 0))
                    : record.special == talvik::iface::EditSpecial::Phone ? u"+7%1"_s.arg(pick)
                                                                          : u"т%1 x"_s.arg(pick));
            } else if (auto* combo = qobject_cast<QComboBox*>(record.control.data())) {
                combo->setCurrentIndex(pick % std::max(1, combo->count()));
            } else if (auto* box = qobject_cast<QCheckBox*>(record.control.data())) {
                box->setChecked(pick % 2 == 1);
            }
            for (qsizetype i = 0; i < record.controls.size(); ++i) {
                record.controls[i]->setChecked((pick >> i) % 2 == 1);
            }
        }
        EXPECT_EQ(form->settings().transfer().SaveSettingsFile(path), QString());
        return Shown(*form);
    }
};

// Read from a controller with gaps in its listing, the user's changes written back.
TEST_F(SettingsEndToEnd, ChangesWrittenAfterAReadReachTheController) {
    // Without a time zone the relative settings read the same from a file as from a device.
    const Store expected = writeSource(u"first.set"_s, 1, 0);
    Emulator first({u"--settings"_s, u"first.set"_s, u"--save"_s, u"first-saved.set"_s,
                    u"--dump-gaps"_s, u"7"_s});
    auto form = Window(first.path());
    ASSERT_TRUE(WaitFor(30000, [&] { return Done(*form); }));
    EXPECT_EQ(Status(*form).text(), u"Готово"_s);
    // Firmware 2.19 shows fewer settings than the newest description offers without a device.
    EXPECT_EQ(readDifferences(*form, expected), "");

    changeOneOfEachKind(*form);
    ParameterStore& store = form->settingsEditor().store();
    Store written = storeOf(u"first.set"_s);
    int changed = 0;
    for (const auto& [n, record] : store) {
        if (record.changed) {
            written[n] = ParameterStore::valueOf(record).toStdString();
            ++changed;
        }
    }
    EXPECT_EQ(changed, 3);
    ASSERT_TRUE(RunBatch(*form, "PNGButton4"));
    EXPECT_EQ(Status(*form).text(), u"Готово"_s);
    form->close();
    first.stop();
    EXPECT_EQ(differences(storeOf(u"first-saved.set"_s), written), "");
}

// A window without a device takes the device type of a file saved after a read, and its values.
TEST_F(SettingsEndToEnd, AFileSavedAfterAReadLoadsWithoutADevice) {
    writeSource(u"source.set"_s, 1, 0);
    Emulator emulator({u"--settings"_s, u"source.set"_s});
    auto form = Window(emulator.path());
    ASSERT_TRUE(WaitFor(30000, [&] { return Done(*form); }));
    const Store read = Shown(*form);
    dialogs.files = {u"copy.set"_s};
    form->findChild<QAbstractButton*>(QStringLiteral("PNGButton5"))->click();
    EXPECT_EQ(dialogs.shown.last().caption, u"Сохранить настройки"_s);
    form.reset();
    form = Window(u"/nonexistent"_s);
    NamedChild<QComboBox>(*form, u"ComboBox2"_s)->setCurrentIndex(1);
    form->changeDeviceType(false);
    dialogs.files = {u"copy.set"_s};
    form->findChild<QAbstractButton*>(QStringLiteral("PNGButton6"))->click();
    EXPECT_EQ(dialogs.shown.last().caption, u"Загрузка параметров"_s);
    EXPECT_EQ(NamedChild<QComboBox>(*form, u"ComboBox2"_s)->currentIndex(), 2);
    Store loaded = Shown(*form);
    std::erase_if(loaded, [&](const auto& entry) { return read.count(entry.first) == 0; });
    EXPECT_EQ(differences(loaded, read), "");
}

// The compare window's changes not yet written name exactly the settings the write then
// changes in the controller.
TEST_F(SettingsEndToEnd, ThePendingChangesAreWhatTheWriteSends) {
    static_cast<void>(writeSource(u"first.set"_s, 1, 0));
    Emulator first({u"--settings"_s, u"first.set"_s, u"--save"_s, u"first-saved.set"_s});
    auto form = Window(first.path());
    ASSERT_TRUE(WaitFor(30000, [&] { return Done(*form); }));
    changeOneOfEachKind(*form);
    form->findChild<QAbstractButton*>(QStringLiteral("CompareButton"))->click();
    std::set<int> listed;
    const QTreeWidget* rows = form->compareWindow().Rows;
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        listed.insert(rows->topLevelItem(i)->data(0, Qt::UserRole).toInt());
    }
    ASSERT_EQ(listed.size(), 3U);
    ASSERT_TRUE(RunBatch(*form, "PNGButton4"));
    form->close();
    first.stop();
    const Store before = storeOf(u"first.set"_s);
    std::set<int> written;
    for (const auto& [n, value] : storeOf(u"first-saved.set"_s)) {
        if (before.count(n) == 0 || before.at(n) != value) {
            written.insert(n);
        }
    }
    EXPECT_EQ(listed, written);
}

TEST_F(SettingsEndToEnd, OldFirmwareIsAskedOncePerSerialAndReadSettingBySetting) {
    // Older firmware keeps no setting relative to the time zone; without one both agree.
    const Store expected = writeSource(u"source.set"_s, 2, 0);
    Emulator emulator({u"--settings"_s, u"source.set"_s, u"--version"_s, u"1.65"_s});
    dialogs.answers = {true};
    auto form = Window(emulator.path());
    ASSERT_TRUE(WaitFor(30000, [&] { return Done(*form); }));
    EXPECT_EQ(Status(*form).text(), u"Готово"_s);
    EXPECT_EQ(readDifferences(*form, expected), "");
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption + u'|' + dialogs.shown[0].text,
              u"Вопрос|Считать настройки с устройства?"_s);
    EXPECT_EQ(Logged("): #S15=2"), 0);
    EXPECT_EQ(Logged("): #P20?"), 1);

    // The same controller again: neither asked nor read, its rebuilt pages show what was kept
    // at the disconnect.
    form->connection().Disconnect();
    ASSERT_TRUE(WaitFor(15000, [&] { return Identified(*form); }));
    WaitFor(1500, [] { return false; });
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(Logged("): #P20?"), 1);
    EXPECT_EQ(readDifferences(*form, expected), "");
}

// A file saved after a read from a controller goes through load and save unchanged.
TEST_F(SettingsEndToEnd, AFileSavedAfterAReadRoundTrips) {
    writeSource(u"source.set"_s, 3);
    Emulator emulator({u"--settings"_s, u"source.set"_s});
    auto form = Window(emulator.path());
    ASSERT_TRUE(WaitFor(30000, [&] { return Done(*form); }));
    ASSERT_EQ(form->settings().transfer().SaveSettingsFile(u"read.set"_s), QString());
    expectRoundTrip(*form, u"read.set"_s);
}

struct Factory {
    const char* name;
    int position; // in the device-type list
};
void PrintTo(const Factory& row, std::ostream* out) {
    *out << row.name;
}

class FactorySettings : public SettingsEndToEnd, public testing::WithParamInterface<Factory> {
protected:
    // A window without a controller for the row's type, after "Заводские настройки".
    std::unique_ptr<TForm1> factoryWindow() {
        auto form = Window(u"/nonexistent"_s);
        NamedChild<QComboBox>(*form, u"ComboBox2"_s)->setCurrentIndex(GetParam().position);
        form->changeDeviceType(false);
        dialogs.answers = {true};
        NamedChild<QPushButton>(*form, u"Button4"_s)->click();
        return form;
    }
    [[nodiscard]] QString fileName() const {
        return u"Configs/%1.set"_s.arg(DeviceType::kCodes[GetParam().position]);
    }
};

// The window saves what the factory file holds, value for value: every field showed what the
// file means.
TEST_P(FactorySettings, ShowWhatTheFileMeans) {
    auto form = factoryWindow();
    ASSERT_EQ(form->settings().transfer().SaveSettingsFile(u"shown.set"_s), QString());
    EXPECT_EQ(QJsonDocument::fromJson(dir.readFile(u"shown.set"_s)),
              QJsonDocument::fromJson(dir.readFile(fileName())));
}

TEST_P(FactorySettings, ShowTheReportHourInLocalTime) {
    auto form = factoryWindow();
    EXPECT_EQ(fieldTexts(form->settingsEditor().store())[214], "12:00");
}

INSTANTIATE_TEST_SUITE_P(SettingsEndToEnd, FactorySettings,
                         testing::Values(Factory{"OrvixTQ11", 1}, Factory{"OrvixTQ12", 2},
                                         Factory{"OrvixTQ13", 3}, Factory{"OrvixTQ14", 4},
                                         Factory{"PellamQ5", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsEndToEnd, ListedSerialGetsPellamPagesAndAnUnansweredListingEndsAThousandErrors) {
    QFile list(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/src/settings/serials.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString serial = QString::fromLatin1(list.readLine().trimmed());
    Emulator emulator({u"--dump-stall"_s, u"--hardware"_s, u"403"_s, u"--serial"_s, serial});
    auto form = Window(emulator.path());
    // Three attempts of 4 s each before the listing counts as unanswered.
    ASSERT_TRUE(WaitFor(30000, [&] { return Done(*form); }));
    EXPECT_EQ(NamedChild<QComboBox>(*form, u"ComboBox2"_s)->currentIndex(), 3);
    EXPECT_EQ(form->settingsEditor().typeCode(), 415);
    EXPECT_EQ(Status(*form).text(), u"Готово c 1000 ошибками"_s);
    EXPECT_EQ(Logged("): #P0?"), 0); // no gap queries
}

TEST_F(SettingsEndToEnd, ReadOverAFaultyLineEndsAndASecondReadGetsEveryValue) {
    const Store expected = writeSource(u"source.set"_s, 5);
    Emulator emulator({u"--settings"_s, u"source.set"_s, u"--fill"_s, u"--corrupt-percent"_s,
                       u"2"_s, u"--drop-percent"_s, u"2"_s, u"--seed"_s, u"11"_s});
    // Each lost reply costs the 4 s reply time-out, so a read takes seconds here.
    auto form = Window(emulator.path());
    ASSERT_TRUE(WaitFor(120000, [&] { return Done(*form); }));
    const std::string firstDifferences = readDifferences(*form, expected);
    EXPECT_GT(Logged("BAD CRC !"), 0);
    ASSERT_TRUE(RunBatch(*form, "PNGButton3", 120000));
    EXPECT_EQ(readDifferences(*form, expected), "") << "after the first read:\n"
                                                    << firstDifferences;
}

} // namespace
