#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "settings_file_hooks.h"
#include "test_dir.h"
#include "widget_app.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUnresolved = u"THIS CAN NOT BE!!!"_s;

// Copies the shipped interface folder into the current (temporary) directory.
void copyShippedInterface() {
    const QDir source(qEnvironmentVariable("TALVIK_SOURCE_DIR") + u"/data/Interface"_s);
    ASSERT_TRUE(source.exists()) << source.path().toStdString();
    QDir().mkdir(u"Interface"_s);
    for (const QString& name : source.entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(source.filePath(name), u"Interface/"_s + name));
    }
}

class RecordingHooks : public SettingsFileHooks {
public:
    explicit RecordingHooks(const ParameterStore& store) : m_store(store) {}
    void SaveSettingsFile(const QString& path) override {
        calls.append(u"save "_s + path + u" "_s + QString::number(m_store.size()));
    }
    void LoadSettingsFile(const QString& path) override {
        calls.append(u"load "_s + path + u" "_s + QString::number(m_store.size()));
    }
    QStringList calls;

private:
    const ParameterStore& m_store;
};

class SettingsEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        copyShippedInterface();
        window.setCentralWidget(pages);
        pages->addTab(new QWidget, u"Главная"_s);
        pages->addTab(new QWidget, u"Радиоустройства"_s);
        editor.setFileHooks(&hooks);
    }

    // Every text the pages show.
    QStringList shownTexts() const {
        QStringList texts;
        for (int i = SettingsEditor::kFirstSettingsPage; i < pages->count(); ++i) {
            texts.append(pages->tabText(i));
            const QWidget* page = pages->widget(i);
            for (const QLabel* label : page->findChildren<QLabel*>()) {
                texts.append(label->text());
            }
            for (const QGroupBox* group : page->findChildren<QGroupBox*>()) {
                texts.append(group->title());
            }
            for (const QCheckBox* box : page->findChildren<QCheckBox*>()) {
                texts.append(box->text());
            }
            for (const QComboBox* combo : page->findChildren<QComboBox*>()) {
                for (int item = 0; item < combo->count(); ++item) {
                    texts.append(combo->itemText(item));
                }
            }
        }
        return texts;
    }

    // The value controls of the generated pages.
    QList<QWidget*> settingControls() const {
        QList<QWidget*> controls;
        for (int i = SettingsEditor::kFirstSettingsPage; i < pages->count(); ++i) {
            for (QWidget* widget : pages->widget(i)->findChildren<QWidget*>()) {
                if (qobject_cast<QLineEdit*>(widget) != nullptr ||
                    qobject_cast<QComboBox*>(widget) != nullptr ||
                    qobject_cast<QCheckBox*>(widget) != nullptr) {
                    controls.append(widget);
                }
            }
        }
        return controls;
    }

    QApplication& app = widgetApp();
    TestDir dir;
    QMainWindow window;
    QTabWidget* pages = new QTabWidget;
    ScriptedDialogs dialogs;
    QTimer timer3;
    SettingsEditor editor{pages, &window, dialogs, &timer3, 896};
    RecordingHooks hooks{editor.store()};
};

TEST_F(SettingsEditorTest, EveryShippedTypeAndVersionBuildsWithOneSettingPerControl) {
    for (const int type : {406, 412, 403, 414, 415}) {
        for (const QString& version : {u"1.44"_s, u"1.66"_s, u"2.19"_s, QString()}) {
            SCOPED_TRACE(std::to_string(type) + " " + version.toStdString());
            editor.setDeviceVersion(version);
            editor.changeDeviceType(type, false);
            EXPECT_GT(pages->count(), SettingsEditor::kFirstSettingsPage);
            EXPECT_FALSE(shownTexts().contains(kUnresolved));

            // Every control is the one its setting shows: no two share a number.
            int checked = 0;
            for (QWidget* control : settingControls()) {
                const std::optional<int> number = editor.store().numberOf(control);
                ASSERT_TRUE(number) << control->metaObject()->className();
                const Parameter* record = editor.store().find(*number);
                ASSERT_NE(record, nullptr);
                const bool own = record->control == control ||
                                 (record->kind == Parameter::Bits &&
                                  record->controls.contains(qobject_cast<QCheckBox*>(control)));
                EXPECT_TRUE(own) << "setting " << *number << " is shown twice";
                ++checked;
            }
            EXPECT_GT(checked, 0);
        }
    }
    EXPECT_TRUE(hooks.calls.isEmpty()) << "the program's own changes touch no settings file";
}

TEST_F(SettingsEditorTest, TheRichestTypeWithoutADeviceHoldsTheSettingsOthersRelyOn) {
    editor.setDeviceVersion(QString());
    EXPECT_EQ(editor.version(), u"9.99"_s);
    editor.changeDeviceType(415, false);
    EXPECT_GE(editor.store().size(), 600);
    for (const int number : {0, 9, 20, 29, 45, 57, 318, 327, 332, 341, 447, 214, 683, 314}) {
        EXPECT_NE(editor.store().find(number), nullptr) << number;
    }
    EXPECT_FALSE(editor.handlers().rules().isEmpty());
    EXPECT_FALSE(editor.images().isEmpty());
}

TEST_F(SettingsEditorTest, ARebuildLeavesNoControlOfTheOldPagesReachable) {
    editor.changeDeviceType(415, false);
    QList<QPointer<QWidget>> old;
    for (QWidget* control : settingControls()) {
        old.append(control);
    }
    const int oldPages = pages->count();
    ASSERT_GT(old.size(), 100);

    editor.changeDeviceType(406, false);
    for (const QPointer<QWidget>& control : old) {
        EXPECT_EQ(control, nullptr);
    }
    EXPECT_LE(pages->count(), oldPages);
    const QList<QWidget*> current = settingControls();
    int groups = 0;
    for (const auto& [number, record] : editor.store()) {
        groups += record.kind == Parameter::Bits ? 1 : 0;
        ASSERT_NE(record.control, nullptr) << number;
        EXPECT_TRUE(current.contains(record.control.data()) || record.kind == Parameter::Bits);
    }
    EXPECT_EQ(editor.store().controlCount(), current.size() + groups);
    EXPECT_EQ(pages->tabText(0), u"Главная"_s);
    EXPECT_EQ(pages->tabText(1), u"Радиоустройства"_s);
}

TEST_F(SettingsEditorTest, TheUsersChangeSavesAndReloadsTheLastSettings) {
    editor.changeDeviceType(415, false);
    const QString before = QString::number(editor.store().size());
    editor.changeDeviceType(406, true);
    ASSERT_EQ(hooks.calls.size(), 2);
    EXPECT_EQ(hooks.calls[0], u"save last.set "_s + before) << "saved from the old pages";
    EXPECT_TRUE(hooks.calls[1].startsWith(u"load last.set "_s));
    EXPECT_NE(hooks.calls[1], u"load last.set 0"_s) << "loaded into the new pages";

    hooks.calls.clear();
    editor.changeDeviceType(0, true);
    ASSERT_EQ(hooks.calls.size(), 1);
    EXPECT_TRUE(hooks.calls[0].startsWith(u"save last.set "_s));
    EXPECT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage);
    EXPECT_TRUE(editor.store().isEmpty());

    hooks.calls.clear();
    editor.changeDeviceType(412, true);
    EXPECT_EQ(hooks.calls.size(), 1) << "nothing was active to save; the new pages are loaded";
    EXPECT_TRUE(hooks.calls.value(0).startsWith(u"load"_s));
}

TEST_F(SettingsEditorTest, WithoutADescriptionNoPageIsBuilt) {
    QFile::remove(u"Interface/interface.h"_s);
    editor.changeDeviceType(415, false);
    EXPECT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage);
    EXPECT_TRUE(editor.store().isEmpty());
}

TEST_F(SettingsEditorTest, AChangedDescriptionIsReadAgain) {
    const auto describe = [this](const QByteArray& pagesText) {
        dir.writeFile(u"Interface/interface.h"_s, "Structure:\n" + pagesText);
    };
    describe("  - Type: Tab\n    Caption: One\n");
    editor.changeDeviceType(415, false);
    EXPECT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage + 1);

    describe("  - Type: Tab\n    Caption: One\n  - Type: Tab\n    Caption: Two\n");
    editor.changeDeviceType(415, false);
    ASSERT_EQ(pages->count(), SettingsEditor::kFirstSettingsPage + 2);
    EXPECT_EQ(pages->tabText(SettingsEditor::kFirstSettingsPage + 1), u"Two"_s);
}

} // namespace
