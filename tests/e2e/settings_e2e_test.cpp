#include "scripted_dialogs.h"
#include "test_dir.h"

#include "c_port.h"
#include "connection.h"
#include "header_panel.h"
#include "main_page.h"
#include "parameter_store.h"
#include "serial_list.h"
#include "settings_editor.h"
#include "settings_feature.h"
#include "settings_transfer.h"
#include "simple_log.h"
#include "tform1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QThread>
#include <QToolButton>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

QApplication& widgetApp() {
    static int argc = 1;
    static char name[] = "settings_e2e_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = [] {
        auto* created = new QApplication(argc, argv);
        static QTemporaryDir logDir;
        SimpleLog::setFileName(logDir.filePath(u"log.txt"_s));
        return created;
    }();
    return *app;
}

// Runs the event loop until done() or the time is up.
template <typename Done> bool runUntil(int milliseconds, Done done) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (done()) {
            return true;
        }
        QThread::msleep(1);
    }
    return false;
}

// talvik-emu on a pseudo-terminal reached through a fixed symbolic link.
class Emulator {
public:
    Emulator(const QString& link, QStringList arguments) {
        m_process.setProgram(qEnvironmentVariable("TALVIK_BIN_DIR") + u"/talvik-emu"_s);
        m_process.setArguments(QStringList{u"--link"_s, link} + arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        m_started = m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000);
    }
    ~Emulator() { stop(); }
    [[nodiscard]] bool started() const { return m_started; }
    // Stops it the way a user does, so that --save writes its store.
    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            m_process.waitForFinished(5000);
        }
    }

private:
    QProcess m_process;
    bool m_started = false;
};

// A settings file as the emulator saved it: value text by setting number.
std::map<int, std::string> storeOf(const QString& path) {
    QFile file(path);
    std::map<int, std::string> store;
    if (!file.open(QIODevice::ReadOnly)) {
        return store;
    }
    for (const QJsonValue& item : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject element = item.toObject();
        if (element.contains(u"HW"_s)) {
            continue;
        }
        for (auto it = element.begin(); it != element.end(); ++it) {
            if (it.key() != u"Value"_s) {
                store[element.value(u"Value"_s).toInt()] =
                    (it->isString() ? it->toString() : QString::number(it->toInteger()))
                        .toStdString();
            }
        }
    }
    return store;
}

// The settings on which two stores differ, as "number: a | b" lines; empty when they agree.
std::string differences(const std::map<int, std::string>& a, const std::map<int, std::string>& b) {
    std::string out;
    std::map<int, std::pair<std::string, std::string>> both;
    for (const auto& [n, v] : a) {
        both[n].first = v;
    }
    for (const auto& [n, v] : b) {
        both[n].second = v + (a.count(n) == 0 ? "(only here)" : "");
    }
    for (const auto& [n, pair] : both) {
        if (pair.first != pair.second) {
            out += std::to_string(n) + ": " + pair.first + " | " + pair.second + "\n";
        }
    }
    return out;
}

// Adds every number up to the file's last setting that it lacks, as a controller holds them,
// so that a listing has no gaps of its own.
void fillNumbering(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    QJsonArray elements = QJsonDocument::fromJson(file.readAll()).array();
    file.close();
    std::set<int> present;
    for (const QJsonValue& element : std::as_const(elements)) {
        present.insert(element.toObject().value(u"Value"_s).toInt(-1));
    }
    for (int number = 0; number < *present.rbegin(); ++number) {
        if (present.count(number) == 0) {
            elements.append(QJsonObject{{u"Value"_s, number}, {u"None"_s, u"0"_s}});
        }
    }
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(elements).toJson());
    }
}

class SettingsEndToEnd : public testing::Test {
protected:
    SettingsEndToEnd() {
        widgetApp();
        QFile::link(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/Interface"_s,
                    dir.file(u"Interface"_s));
    }

    // A window that looks for a controller on `port` only.
    std::unique_ptr<TForm1> window(const QString& port) {
        auto form = std::make_unique<TForm1>(StartOptions{port}, &dialogs);
        form->show();
        return form;
    }
    QString link(const QString& name) const { return dir.file(name); }

    // What the window showed matches `expected` on every setting it shows.
    static std::string readDifferences(TForm1& form, const std::map<int, std::string>& expected) {
        const std::map<int, std::string> read = shown(form);
        std::map<int, std::string> expectedShown;
        for (const auto& entry : read) {
            const auto found = expected.find(entry.first);
            expectedShown[entry.first] = found != expected.end() ? found->second : "";
        }
        return read.size() > 100 ? differences(read, expectedShown) : "too few settings shown";
    }

    // How often the program logged sending `command`.
    static int sentCount(const QByteArray& command) {
        QFile log(SimpleLog::fileName());
        if (!log.open(QIODevice::ReadOnly)) {
            return 0; // nothing logged yet
        }
        int count = 0;
        for (const QByteArray& line : log.readAll().split('\n')) {
            count += line.contains(" <--- (") && line.endsWith(":" + command) ? 1 : 0;
        }
        return count;
    }

    static bool connectedAndDone(TForm1& form) {
        return form.connection->connectedPort() != nullptr &&
               form.Panel1->Label5->text().startsWith(u"Готово"_s);
    }

    // Every shown setting gets a value of its own, different from the page's first state
    // where the control allows it.
    static void fill(ParameterStore& store, int seed, int zone) {
        for (auto& [number, record] : store) {
            const int pick = number * 7 + seed;
            if (auto* edit = qobject_cast<QLineEdit*>(record.control.data())) {
                if (record.special == Parameter::Integer || record.special == Parameter::Double10) {
                    const int span = record.limitHigh - record.limitLow + 1;
                    edit->setText(QString::number(
                        number == 447 ? zone : record.limitLow + (span > 0 ? pick % span : 0)));
                } else if (record.special == Parameter::Phone) {
                    edit->setText(u"+7%1"_s.arg(pick));
                } else {
                    edit->setText(u"т%1 x"_s.arg(pick));
                }
            } else if (auto* combo = qobject_cast<QComboBox*>(record.control.data())) {
                // The time-zone dependent lists stay above the zone, so that their relative
                // values are items too.
                const int low = number == 214 || number == 683 ? 3 : 0;
                combo->setCurrentIndex(low + pick % std::max(1, combo->count() - low));
            } else if (auto* box = qobject_cast<QCheckBox*>(record.control.data())) {
                box->setChecked(pick % 2 == 1);
            }
            for (qsizetype i = 0; i < record.controls.size(); ++i) {
                record.controls[i]->setChecked((pick >> i) % 2 == 1);
            }
        }
    }

    // The settings of a window without a controller for TQ-12, filled and saved to `path`;
    // returns what the window showed.
    std::map<int, std::string> writeSource(const QString& path, int seed, int zone = 3) {
        auto form = window(u"/nonexistent"_s);
        form->TabSheet3->ComboBox2->setCurrentIndex(2);
        form->changeDeviceType(false);
        fill(form->settingsEditor().store(), seed, zone);
        form->settings().transfer().SaveSettingsFile(path);
        return shown(*form);
    }

    // Setting number -> the value the controller gets, for every shown setting.
    // Setting 314 is the controller's own and never leaves the window.
    static std::map<int, std::string> shown(TForm1& form) {
        std::map<int, std::string> values;
        for (const auto& [number, record] : form.settingsEditor().store()) {
            if (record.kind != Parameter::None && number != 314) {
                values[number] = ParameterStore::valueOf(record).toStdString();
            }
        }
        return values;
    }

    TestDir dir;
    ScriptedDialogs dialogs;
};

TEST_F(SettingsEndToEnd, ReadShowsTheStoreAndWriteSendsExactlyTheChanges) {
    const std::map<int, std::string> expected = writeSource(u"source.set"_s, 1);
    ASSERT_GT(expected.size(), 100u);
    Emulator emulator(link(u"emu"_s), {u"--settings"_s, u"source.set"_s, u"--save"_s,
                                       u"saved.set"_s, u"--dump-gaps"_s, u"7"_s});
    ASSERT_TRUE(emulator.started());
    auto form = window(link(u"emu"_s));
    ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
    EXPECT_EQ(form->Panel1->Label5->text(), u"Готово"_s);
    // Firmware 2.19 shows fewer settings than the newest description offers without a device.
    EXPECT_EQ(readDifferences(*form, expected), "");

    // The user changes a text, a number, a list and a check box.
    ParameterStore& store = form->settingsEditor().store();
    QLineEdit* text = nullptr;
    QLineEdit* number = nullptr;
    QComboBox* list = nullptr;
    QCheckBox* box = nullptr;
    for (auto& [n, record] : store) {
        QWidget* control = record.control;
        if (control == nullptr || !control->isEnabled() || n == 447 || n == 214 || n == 683) {
            continue;
        }
        auto* edit = qobject_cast<QLineEdit*>(control);
        if (edit != nullptr && record.special == Parameter::Plain && text == nullptr) {
            text = edit;
        } else if (edit != nullptr && record.special == Parameter::Integer && number == nullptr &&
                   record.limitHigh > record.limitLow) {
            number = edit;
        } else if (auto* combo = qobject_cast<QComboBox*>(control);
                   combo != nullptr && combo->count() > 1 && list == nullptr) {
            list = combo;
        } else if (auto* check = qobject_cast<QCheckBox*>(control);
                   check != nullptr && record.numbers.isEmpty() && box == nullptr) {
            box = check;
        }
    }
    ASSERT_TRUE(text && number && list && box);
    const auto type = [](QLineEdit* edit, const QString& newText) {
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &in);
        edit->setText(newText);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(edit, &out);
    };
    type(text, u"новый текст"_s);
    const int low = store.recordOf(number)->limitLow;
    type(number, QString::number(number->text() == QString::number(low) ? low + 1 : low));
    list->setCurrentIndex((list->currentIndex() + 1) % list->count());
    Q_EMIT list->activated(list->currentIndex());
    const QPointF centre = QRectF(box->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, box->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, box->mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &release);

    std::map<int, std::string> written = storeOf(u"source.set"_s);
    int changed = 0;
    for (const auto& [n, record] : store) {
        if (record.changed) {
            written[n] = ParameterStore::valueOf(record).toStdString();
            ++changed;
        }
    }
    EXPECT_EQ(changed, 4);
    form->Panel1->Label5->clear();
    form->Panel1->PNGButton4->click();
    EXPECT_EQ(form->Panel1->Label5->text(), u"Запись параметров..."_s);
    ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
    EXPECT_EQ(form->Panel1->Label5->text(), u"Готово"_s);
    form->close();
    emulator.stop();
    EXPECT_EQ(differences(storeOf(u"saved.set"_s), written), "");
}

TEST_F(SettingsEndToEnd, OldFirmwareIsAskedOncePerSerialAndReadSettingBySetting) {
    // Older firmware keeps no setting relative to the time zone; without one both agree.
    const std::map<int, std::string> expected = writeSource(u"source.set"_s, 2, 0);
    Emulator emulator(link(u"emu"_s),
                      {u"--settings"_s, u"source.set"_s, u"--version"_s, u"1.65"_s});
    ASSERT_TRUE(emulator.started());
    const int listings = sentCount(" #S15=2");
    const int queries = sentCount(" #P20?");
    dialogs.answers = {true};
    auto form = window(link(u"emu"_s));
    ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
    EXPECT_EQ(form->Panel1->Label5->text(), u"Готово"_s);
    EXPECT_EQ(readDifferences(*form, expected), "");
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].caption, u"Вопрос"_s);
    EXPECT_EQ(dialogs.shown[0].text, u"Считать настройки с устройства?"_s);
    EXPECT_EQ(sentCount(" #S15=2"), listings);
    EXPECT_EQ(sentCount(" #P20?"), queries + 1);

    // The same controller again: neither asked nor read.
    form->connection->Disconnect();
    ASSERT_TRUE(runUntil(15000, [&] {
        return form->connection->connectedPort() != nullptr &&
               !form->TabSheet3->Edit1->text().isEmpty() && form->waitingWindow() == nullptr;
    }));
    runUntil(1500, [] { return false; });
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(sentCount(" #P20?"), queries + 1);
    EXPECT_NE(form->Panel1->Label5->text(), u"Считывание параметров..."_s);
}

TEST_F(SettingsEndToEnd, UnansweredListingEndsWithAThousandErrors) {
    Emulator emulator(link(u"emu"_s), {u"--dump-stall"_s});
    ASSERT_TRUE(emulator.started());
    const int queries = sentCount(" #P0?");
    auto form = window(link(u"emu"_s));
    // Three attempts of 4 s each before the request counts as unanswered.
    ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
    EXPECT_EQ(form->Panel1->Label5->text(), u"Готово c 1000 ошибками"_s);
    EXPECT_EQ(sentCount(" #P0?"), queries); // no gap queries
}

TEST_F(SettingsEndToEnd, SavedFileLoadsWithoutADeviceAndWritesTheSameStoreToAnother) {
    // Without a time zone the relative settings read the same from a file as from a device.
    writeSource(u"first.set"_s, 3, 0);
    writeSource(u"second.set"_s, 4, 0);
    std::map<int, std::string> read;
    {
        Emulator first(link(u"first"_s),
                       {u"--settings"_s, u"first.set"_s, u"--save"_s, u"first-saved.set"_s});
        ASSERT_TRUE(first.started());
        auto form = window(link(u"first"_s));
        ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
        read = shown(*form);
        dialogs.files = {u"copy.set"_s};
        form->Panel1->PNGButton5->click();
        EXPECT_EQ(dialogs.shown.last().caption, u"Сохранить настройки"_s);
        form->close();
    }
    {
        // A window without a device takes the file's device type and shows its values.
        auto form = window(u"/nonexistent"_s);
        form->TabSheet3->ComboBox2->setCurrentIndex(1);
        form->changeDeviceType(false);
        dialogs.files = {u"copy.set"_s};
        form->Panel1->PNGButton6->click();
        EXPECT_EQ(dialogs.shown.last().caption, u"Загрузка параметров"_s);
        EXPECT_EQ(form->TabSheet3->ComboBox2->currentIndex(), 2);
        std::map<int, std::string> loaded = shown(*form);
        std::erase_if(loaded, [&](const auto& entry) { return read.count(entry.first) == 0; });
        EXPECT_EQ(differences(loaded, read), "");
    }
    {
        Emulator second(link(u"second"_s),
                        {u"--settings"_s, u"second.set"_s, u"--save"_s, u"second-saved.set"_s});
        ASSERT_TRUE(second.started());
        auto form = window(link(u"second"_s));
        ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
        dialogs.files = {u"copy.set"_s};
        form->Panel1->PNGButton6->click();
        form->Panel1->PNGButton4->click();
        ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
        EXPECT_EQ(form->Panel1->Label5->text(), u"Готово"_s);
        form->close();
        second.stop();
    }
    const std::map<int, std::string> first = storeOf(u"first-saved.set"_s);
    ASSERT_GT(first.size(), 100u);
    EXPECT_EQ(differences(storeOf(u"second-saved.set"_s), first), "");
}

TEST_F(SettingsEndToEnd, ListedSerialGetsPellamPagesWhateverTheModel) {
    QFile list(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/src/settings/serials.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString serial = QString::fromLatin1(list.readLine().trimmed());
    Emulator emulator(link(u"emu"_s), {u"--hardware"_s, u"403"_s, u"--serial"_s, serial});
    ASSERT_TRUE(emulator.started());
    auto form = window(link(u"emu"_s));
    ASSERT_TRUE(runUntil(30000, [&] { return connectedAndDone(*form); }));
    EXPECT_EQ(form->TabSheet3->ComboBox2->currentIndex(), 3);
    EXPECT_EQ(form->settingsEditor().typeCode(), 415);
}

TEST_F(SettingsEndToEnd, ReadOverAFaultyLineEndsAndASecondReadGetsEveryValue) {
    const std::map<int, std::string> expected = writeSource(u"source.set"_s, 5);
    fillNumbering(u"source.set"_s);
    Emulator emulator(link(u"emu"_s), {u"--settings"_s, u"source.set"_s, u"--corrupt-percent"_s,
                                       u"2"_s, u"--drop-percent"_s, u"2"_s, u"--seed"_s, u"11"_s});
    ASSERT_TRUE(emulator.started());
    // Each lost reply costs the 4 s reply time-out, so a read takes seconds here.
    auto form = window(link(u"emu"_s));
    ASSERT_TRUE(runUntil(120000, [&] { return connectedAndDone(*form); }));
    std::string firstDifferences = readDifferences(*form, expected);
    QFile log(SimpleLog::fileName());
    EXPECT_TRUE(log.open(QIODevice::ReadOnly) && log.readAll().contains("BAD CRC !"));
    form->Panel1->Label5->clear();
    form->Panel1->PNGButton3->click();
    ASSERT_TRUE(runUntil(120000, [&] { return connectedAndDone(*form); }));
    EXPECT_EQ(readDifferences(*form, expected), "") << "after the first read:\n"
                                                    << firstDifferences;
}

} // namespace
