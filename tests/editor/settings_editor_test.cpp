#include "editor_test_support.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "settings_file_hooks.h"
#include "test_dir.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::editor;

namespace {

// The editor over the shipped interface folder, copied into the current (temporary) directory.
class SettingsEditorTest : public ::testing::Test, public talvik::iface::SettingsFileHooks {
protected:
    void SetUp() override {
        const QDir source(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/Interface"_s);
        QDir().mkdir(u"Interface"_s);
        for (const QString& name : source.entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(source.filePath(name), u"Interface/"_s + name));
        }
        window.setCentralWidget(pages);
        pages->addTab(new QWidget, u"Главная"_s);
        pages->addTab(new QWidget, u"Радиоустройства"_s);
        editor.setFileHooks(this);
    }
    void SaveLastSettings() override { calls << u"save"_s + size(); }
    void LoadLastSettings() override { calls << u"load"_s + size(); }
    QString size() { return u" "_s + QString::number(editor.store().size()); }

    QApplication& app = TestApp<QApplication>();
    TestDir dir;
    QMainWindow window;
    QTabWidget* pages = new QTabWidget;
    ScriptedDialogs dialogs;
    QTimer timer3;
    SettingsEditor editor{pages, &window, dialogs, &timer3, 896};
    QStringList calls;
};

TEST_F(SettingsEditorTest, EveryShippedTypeAndVersionBuildsWithOneSettingPerControl) {
    for (const int type : {406, 412, 403, 414, 415}) {
        for (const QString& version : {u"1.44"_s, u"1.66"_s, u"2.19"_s, QString()}) {
            SCOPED_TRACE(std::to_string(type) + " " + version.toStdString());
            editor.setDeviceVersion(version);
            editor.changeDeviceType(type, false);
            int own = 0; // no two controls share a setting
            for (const auto& [number, record] : editor.store()) {
                own += (record.control ? 1 : 0) + static_cast<int>(record.controls.size());
            }
            EXPECT_EQ(editor.store().controlCount(), own);
            ASSERT_GT(own, 20);
            QList<QPointer<QWidget>> controls;
            for (int page = SettingsEditor::kFirstSettingsPage; page < pages->count(); ++page) {
                for (QWidget* widget : pages->widget(page)->findChildren<QWidget*>()) {
                    controls.append(widget);
                    for (const char* text : {"text", "title", "currentText"}) {
                        EXPECT_NE(widget->property(text).toString(), u"THIS CAN NOT BE!!!"_s);
                    }
                }
            }
            editor.changeDeviceType(0, false);
            EXPECT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage);
            EXPECT_EQ(controls.count(nullptr), controls.size()) << "the old pages' controls";
            EXPECT_EQ(editor.store().controlCount(), 0);
        }
    }
    EXPECT_EQ(calls.filter(u"save"_s), QStringList()) << "the program's own changes keep nothing";
    EXPECT_EQ(pages->tabText(1), u"Радиоустройства"_s);
    editor.changeDeviceType(415, false);
    EXPECT_EQ(editor.version(), u"9.99"_s);
    EXPECT_FALSE(editor.handlers().rules().isEmpty() || editor.images().isEmpty());
}

// The new pages always take the last settings; only the user's own change keeps the old pages'
// settings first.
TEST_F(SettingsEditorTest, EveryRebuildLoadsTheLastSettingsAndTheUsersChangeSavesFirst) {
    editor.changeDeviceType(415, false);
    const QString old = size();
    editor.changeDeviceType(406, true);
    const QString shown = size();
    editor.changeDeviceType(0, true);
    editor.changeDeviceType(412, true); // nothing was active to save
    EXPECT_NE(old, shown);
    EXPECT_EQ(calls, (QStringList{u"load"_s + old, u"save"_s + old, u"load"_s + shown,
                                  u"save"_s + shown, u"load"_s + size()}));
}

TEST_F(SettingsEditorTest, TheLoginIsShownButCannotBeEdited) {
    editor.changeDeviceType(415, false);
    const Parameter* login = editor.store().find(Parameter::kLogin);
    ASSERT_NE(login, nullptr);
    const auto* edit = qobject_cast<const QLineEdit*>(login->control.data());
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isReadOnly());
}

// Every example that a voice field's hint gives can be typed with the words the field offers.
TEST_F(SettingsEditorTest, VoiceExamplesCanBeTyped) {
    editor.setDeviceVersion(u"2.33"_s);
    editor.changeDeviceType(415, false);
    int examples = 0;
    for (const auto& [number, record] : editor.store()) {
        auto* edit = qobject_cast<QLineEdit*>(record.control.data());
        // Long hints are wrapped after a blank.
        const QString hint = edit != nullptr ? edit->toolTip().remove(u'\n') : QString();
        const qsizetype open = hint.indexOf(u'«');
        if (record.special != talvik::iface::EditSpecial::Voice || open < 0) {
            continue;
        }
        const QString example = hint.mid(open + 1, hint.indexOf(u'»', open) - open - 1);
        edit->clear();
        for (const QChar c : example) {
            if (editor.handlers().editKeyPress(edit, QStringView(&c, 1), false, false)) {
                edit->setText(edit->text() + c);
            }
        }
        EXPECT_EQ(edit->text(), example) << number;
        ++examples;
    }
    EXPECT_GT(examples, 0);
}

TEST_F(SettingsEditorTest, ThermometerThresholdsAreTenthsOfAKelvin) {
    editor.changeDeviceType(415, false);
    for (const int number : {342, 352}) { // the lower and upper threshold of the first
        const Parameter* threshold = editor.store().find(number);
        ASSERT_NE(threshold, nullptr) << number;
        EXPECT_EQ(threshold->special, talvik::iface::EditSpecial::Double10) << number;
        EXPECT_EQ(threshold->offset, 273) << number;
    }
}

struct Outputs {
    const char* name;
    int type;
    int outputs;
};
void PrintTo(const Outputs& row, std::ostream* out) {
    *out << row.name;
}
class OutputsByType : public SettingsEditorTest, public testing::WithParamInterface<Outputs> {};

// The outputs SMS may switch (312) and those restored after a restart (313) are the type's own.
TEST_P(OutputsByType, OfferTheTypesOutputs) {
    editor.changeDeviceType(GetParam().type, false);
    for (const int number : {312, 313}) {
        const Parameter* outputs = editor.store().find(number);
        ASSERT_NE(outputs, nullptr) << number;
        EXPECT_EQ(outputs->controls.size(), GetParam().outputs) << number;
    }
}

INSTANTIATE_TEST_SUITE_P(SettingsEditorTest, OutputsByType,
                         testing::Values(Outputs{"OrvixTQ11", 406, 2}, Outputs{"OrvixTQ12", 412, 4},
                                         Outputs{"OrvixTQ13", 403, 4}, Outputs{"OrvixTQ14", 414, 6},
                                         Outputs{"PellamQ5", 415, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsEditorTest, TheDescriptionIsReadAtEachChange) {
    const char* tabs =
        "Structure:\n  - Type: Tab\n    Caption: One\n  - Type: Tab\n    Caption: Two\n";
    for (const int count : {1, 2}) {
        dir.writeFile(u"Interface/interface.h"_s, QByteArray(tabs).first(11 + 31 * count));
        editor.changeDeviceType(415, false);
        EXPECT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage + count);
    }
    QFile::remove(u"Interface/interface.h"_s);
    editor.changeDeviceType(415, false);
    EXPECT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage);
}

} // namespace
