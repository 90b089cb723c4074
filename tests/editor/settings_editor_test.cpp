#include "editor_test_support.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "settings_file_hooks.h"
#include "test_dir.h"

#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::editor;

namespace {

// The editor over the shipped interface folder, copied into the current (temporary) directory.
class SettingsEditorTest : public ::testing::Test, public SettingsFileHooks {
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

    QApplication& app = widgetApp();
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
