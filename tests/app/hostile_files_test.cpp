// Damaged, foreign and oversized files where the window expects its own ("Interface/interface.h",
// "last.set", "terminal.txt"): the window still starts, and each file gets the reaction the
// program promises for it. The files are made here; none of them is kept in the repository.
#include "log_tail.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "settings_file.h"
#include "terminal_history.h"
#include "test_app.h"
#include "test_dir.h"
#include "tform1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTabWidget>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using talvik::editor::SettingsEditor;
using talvik::settings::SettingsFile;

namespace {

constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;
// The device type the window starts with.
constexpr int kStartType = 414;

// The process's one QApplication; the shared log goes to the log reader's folder from the first
// window on.
QApplication& App() {
    static const LogTail logFolder;
    return TestApp<QApplication>();
}

QByteArray Shipped(const QString& name) {
    QFile file(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/"_s + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void LinkShippedInterface() {
    ASSERT_TRUE(QFile::link(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/Interface"_s,
                            u"Interface"_s));
}

// Every byte value once, line breaks among them.
QByteArray Binary() {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.append(static_cast<char>(i));
    }
    return bytes.repeated(64);
}

QByteArray Utf16(const QByteArray& utf8) {
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder(QString::fromUtf8(utf8));
}

QByteArray Cp1251(const QByteArray& utf8) {
    QStringEncoder encoder("windows-1251");
    return encoder(QString::fromUtf8(utf8));
}

// The window as the user starts it, shown; the time it took is printed and recorded.
std::unique_ptr<TForm1> Start(ScriptedDialogs& dialogs) {
    App();
    QElapsedTimer clock;
    clock.start();
    auto form = std::make_unique<TForm1>(StartOptions{u"/dev/null"_s}, &dialogs);
    form->show();
    QApplication::processEvents();
    const qint64 elapsed = clock.elapsed();
    testing::Test::RecordProperty("start_ms", static_cast<int>(elapsed));
    std::cout << "window started in " << elapsed << " ms\n";
    return form;
}

bool Logged(const LogTail& log, const char* text) {
    return log.Lines().join('\n').contains(text);
}

int SettingsPages(TForm1& form) {
    return form.findChild<QTabWidget*>(u"PageControl1"_s)->count() -
           SettingsEditor::kFirstSettingsPage;
}

struct HostileFile {
    const char* name;
    std::function<QByteArray()> bytes;
};
void PrintTo(const HostileFile& row, std::ostream* out) {
    *out << row.name;
}
std::string RowName(const testing::TestParamInfo<HostileFile>& info) {
    return info.param.name;
}

// --- the interface description ---

class UnreadableInterface : public testing::TestWithParam<HostileFile> {
protected:
    void SetUp() override { dir.writeFile(u"Interface/interface.h"_s, GetParam().bytes()); }
    TestDir dir;
    ScriptedDialogs dialogs;
};

TEST_P(UnreadableInterface, BuildsNoSettingsPages) {
    const auto form = Start(dialogs);
    EXPECT_EQ(SettingsPages(*form), 0);
}

TEST_P(UnreadableInterface, LogsWhereTheReadStopped) {
    const LogTail log;
    const auto form = Start(dialogs);
    EXPECT_TRUE(Logged(log, "NODE is invalid in line"));
}

// The shipped description cut right behind an opening quote, so its last line is unfinished.
QByteArray CutInsideAQuote() {
    const QByteArray text = Shipped(u"Interface/interface.h"_s);
    return text.left(text.indexOf('"', text.size() / 2) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, UnreadableInterface,
    testing::Values(
        HostileFile{"Binary", Binary}, HostileFile{"CutInsideAQuote", CutInsideAQuote},
        HostileFile{"TenMegabyteLine", [] { return QByteArray(kTenMegabytes, 'a') + '\n'; }},
        HostileFile{"Utf16", [] { return Utf16(Shipped(u"Interface/interface.h"_s)); }}),
    RowName);

// Lists nested two hundred thousand deep are a well-formed document, but no description.
TEST(HostileInterface, DeeplyNestedListsBuildNoPages) {
    TestDir dir;
    dir.writeFile(u"Interface/interface.h"_s, QByteArray("- ").repeated(200000) + "x\n");
    ScriptedDialogs dialogs;
    EXPECT_EQ(SettingsPages(*Start(dialogs)), 0);
}

TEST(HostileInterface, AnEmptyDescriptionBuildsNoPagesAndLogsNothing) {
    TestDir dir;
    dir.writeFile(u"Interface/interface.h"_s, {});
    ScriptedDialogs dialogs;
    const LogTail log;
    const auto form = Start(dialogs);
    EXPECT_FALSE(Logged(log, "NODE is invalid in line"));
}

TEST(HostileInterface, ADescriptionInTheWrongCodePageStillGivesEveryPage) {
    int shipped = 0;
    {
        TestDir dir;
        LinkShippedInterface();
        ScriptedDialogs dialogs;
        shipped = SettingsPages(*Start(dialogs));
    }
    TestDir dir;
    dir.writeFile(u"Interface/interface.h"_s, Cp1251(Shipped(u"Interface/interface.h"_s)));
    ScriptedDialogs dialogs;
    EXPECT_EQ(SettingsPages(*Start(dialogs)), shipped);
}

// --- "last.set" ---

// What the shipped pages show when no settings file is there.
const QByteArray& DefaultSettings() {
    static const QByteArray settings = [] {
        TestDir dir;
        LinkShippedInterface();
        ScriptedDialogs dialogs;
        const auto form = Start(dialogs);
        return SettingsFile::compose(form->settingsEditor(), kStartType);
    }();
    return settings;
}

class UnreadableLastSettings : public testing::TestWithParam<HostileFile> {
protected:
    void SetUp() override {
        defaults = DefaultSettings();
        LinkShippedInterface();
        dir.writeFile(u"last.set"_s, GetParam().bytes());
        form = Start(dialogs);
    }
    QByteArray defaults;
    TestDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_P(UnreadableLastSettings, ShowsTheFormatBoxOnce) {
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"Файл имеет некорректный формат"_s);
}

TEST_P(UnreadableLastSettings, LeavesThePagesAsTheyWere) {
    EXPECT_EQ(SettingsFile::compose(form->settingsEditor(), kStartType), defaults);
}

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, UnreadableLastSettings,
    testing::Values(HostileFile{"Empty", [] { return QByteArray(); }},
                    HostileFile{"Binary", Binary},
                    HostileFile{
                        "Truncated",
                        [] { return DefaultSettings().left(DefaultSettings().size() / 2); }},
                    HostileFile{"Utf16", [] { return Utf16(DefaultSettings()); }},
                    HostileFile{"NestedDeep", [] { return QByteArray(1000000, '['); }},
                    HostileFile{"TenMegabyteLineUnclosed",
                                [] {
                                    return "[{\"HW\":\"414\"},{\"Value\":20,\"None\":\"" +
                                           QByteArray(kTenMegabytes, 'a');
                                }}),
    RowName);

class ReadableLastSettings : public testing::TestWithParam<HostileFile> {};

TEST_P(ReadableLastSettings, IsTakenWithoutABox) {
    TestDir dir;
    LinkShippedInterface();
    dir.writeFile(u"last.set"_s, GetParam().bytes());
    ScriptedDialogs dialogs;
    const auto form = Start(dialogs);
    EXPECT_EQ(dialogs.shown.size(), 0);
}

// 200,000 settings the pages do not show, in a file of several megabytes.
QByteArray ManySettings() {
    QByteArray text = "[{\"HW\":\"414\"}";
    for (int number = 100000; number < 300000; ++number) {
        text += ",{\"Value\":" + QByteArray::number(number) + ",\"None\":\"1\"}";
    }
    return text + "]";
}

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, ReadableLastSettings,
    testing::Values(HostileFile{"ManySettings", ManySettings},
                    HostileFile{"TenMegabyteValue",
                                [] {
                                    return "[{\"HW\":\"414\"},{\"Value\":20,\"Edit\":\"" +
                                           QByteArray(kTenMegabytes, '7') + "\"}]";
                                }},
                    HostileFile{"UnknownType", [] { return QByteArray("[{\"HW\":\"999\"}]"); }}),
    RowName);

// --- "terminal.txt" ---

struct TerminalCase {
    const char* name;
    std::function<QByteArray()> bytes;
    qsizetype commands;
};
void PrintTo(const TerminalCase& row, std::ostream* out) {
    *out << row.name;
}

class HostileTerminalFile : public testing::TestWithParam<TerminalCase> {};

TEST_P(HostileTerminalFile, OffersEachLineBehindTheFileNamesAsACommand) {
    TestDir dir;
    dir.writeFile(u"terminal.txt"_s, GetParam().bytes());
    ScriptedDialogs dialogs;
    const auto form = Start(dialogs);
    EXPECT_EQ(form->findChild<QComboBox*>(u"ComboBox1"_s)->count(), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, HostileTerminalFile,
    testing::Values(
        TerminalCase{"Empty", [] { return QByteArray(); }, 0},
        TerminalCase{"OnlyFileNamesUnfinished", [] { return QByteArray("a\nb\nc"); }, 0},
        TerminalCase{"BinaryWithoutLineBreaks",
                     [] { return QByteArray(4, '\n') + Binary().replace('\n', ' '); }, 1},
        TerminalCase{"TenMegabyteCommand",
                     [] { return QByteArray(4, '\n') + QByteArray(kTenMegabytes, 'x'); }, 1},
        TerminalCase{"HundredThousandCommands",
                     [] {
                         QByteArray text(4, '\n');
                         for (int i = 0; i < 100000; ++i) {
                             text += " #S" + QByteArray::number(i) + "?\n";
                         }
                         return text;
                     },
                     TerminalHistory::kMaxEntries},
        TerminalCase{"Utf8InsteadOfCp1251",
                     [] { return QByteArray(4, '\n') + u"ввод\nвывод"_s.toUtf8(); }, 2}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
