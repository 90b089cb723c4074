#include "log_tail.h"
#include "named_controls.h"
#include "page_control.h"
#include "parameter_store.h"
#include "radio_devices.h"
#include "radio_feature.h"
#include "radio_page.h"
#include "scripted_dialogs.h"
#include "settings_editor.h"
#include "test_app.h"
#include "test_dir.h"
#include "tform1.h"
#include "type_into.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace talvik::app;
using namespace talvik::devices;

namespace {

// The settings that radio devices are assigned to, in the order the page below binds them:
// user names 0 to 9, users' devices 20 to 29, zones 45 to 57, thermometers 318 to 327.
QList<int> targetSettings() {
    QList<int> numbers;
    for (const auto& [first, last] : {std::pair{0, 9}, {20, 29}, {45, 57}, {318, 327}}) {
        for (int n = first; n <= last; ++n) {
            numbers.append(n);
        }
    }
    return numbers;
}

// An interface description of one page with an edit box for each of those settings.
QByteArray smallDescription() {
    QStringList values;
    QStringList captions;
    for (const int n : targetSettings()) {
        values.append(QString::number(n));
        captions.append(u"F"_s + QString::number(n));
    }
    return (u"Structure:\n  - Type: Tab\n    Caption: Радио\n    Values: ["_s +
            values.join(u", "_s) +
            u"]\n    Content:\n      - Type: EditList\n        Captions: ["_s +
            captions.join(u", "_s) + u"]\n"_s)
        .toUtf8();
}

// A window whose settings pages come from the small description, its radio page shown.
class RadioWindow : public testing::Test {
protected:
    RadioWindow() {
        static const LogTail logFolder;
        TestApp<QApplication>();
        dir.writeFile(u"Interface/interface.h"_s, smallDescription());
        form = std::make_unique<TForm1>(StartOptions{u"/nonexistent"_s}, &dialogs);
        const NamedControls named(*form);
        named.Timer1->stop();
        named.Timer2->stop();
        form->resize(1100, 780);
        form->show();
        named.PageControl1->setTabVisible(named.PageControl1->indexOf(named.TabSheet1), true);
        named.PageControl1->setCurrentWidget(named.TabSheet1);
        QCoreApplication::processEvents();
    }

    QLineEdit* edit(int setting) {
        return qobject_cast<QLineEdit*>(form->settingsEditor().store().find(setting)->control);
    }
    RadioDevices& radio() { return form->radio().radio(); }
    QTreeWidget* list() { return form->radio().page().ListView1; }
    QString cell(int row, int column) { return list()->topLevelItem(row)->text(column); }

    // A right click on a row, in the middle of a column.
    void rightClick(int row, int column) {
        const QRect rect = list()->visualItemRect(list()->topLevelItem(row));
        const int x = list()->header()->sectionPosition(column) + list()->columnWidth(column) / 2;
        const QPointF at(x, rect.center().y());
        QMouseEvent press(QEvent::MouseButtonPress, at, list()->viewport()->mapToGlobal(at),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list()->viewport(), &press);
    }

    TestDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

TEST_F(RadioWindow, ListHasSevenColumnsAtTheirWidths) {
    QStringList captions;
    QList<int> widths;
    for (int column = 0; column < list()->columnCount(); ++column) {
        captions.append(list()->headerItem()->text(column));
        widths.append(list()->columnWidth(column));
    }
    EXPECT_EQ(captions, (QStringList{u"Номер"_s, u"Тип"_s, u"Радиозона"_s, u"Пользователь"_s,
                                     u"Термометр"_s, u"Данные"_s, u"Время"_s}));
    EXPECT_EQ(widths.mid(0, 5), (QList<int>{80, 100, 140, 130, 100}));
    EXPECT_GE(widths[5], 200);
    EXPECT_EQ(widths[6], 70);
    EXPECT_EQ(list()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(RadioWindow, ColumnsKeepTheirMinimumWidth) {
    list()->header()->resizeSection(2, 40);
    EXPECT_EQ(list()->columnWidth(2), 140);
    list()->header()->resizeSection(2, 180);
    EXPECT_EQ(list()->columnWidth(2), 180);
}

TEST_F(RadioWindow, MenuMarksTheCurrentChoiceAndEscapesAmpersands) {
    edit(0)->setText(u"Петя & Co"_s);
    edit(20)->setText(u" %7%"_s);
    radio().BuildAssignmentTargets();
    rightClick(0, 3);
    QMenu* menu = form->radio().page().choiceMenu();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    EXPECT_EQ(actions.size(), 11);
    const auto checked =
        std::find_if(actions.begin(), actions.end(), [](QAction* a) { return a->isChecked(); });
    ASSERT_NE(checked, actions.end());
    EXPECT_EQ((*checked)->text(), u"Петя && Co"_s);
}

TEST_F(RadioWindow, RightClickOutsideTheAssignmentColumnsShowsNoMenu) {
    radio().OnRadioReport(u"#R:%7% TK1 :1"_s);
    rightClick(0, 1);
    rightClick(0, 5);
    EXPECT_EQ(form->radio().page().choiceMenu(), nullptr);
}

TEST_F(RadioWindow, EditingAUserNameRenamesItsCells) {
    edit(1)->setText(u"Петя"_s);
    edit(21)->setText(u" %7%"_s);
    radio().BuildAssignmentTargets();
    TypeInto(edit(1), u"Пётр"_s);
    EXPECT_EQ(cell(0, 3), u"Пётр"_s);
}

TEST_F(RadioWindow, EditingATargetShowsItsNewDevices) {
    edit(318)->setText(u"7"_s);
    radio().BuildAssignmentTargets();
    TypeInto(edit(318), u"9"_s);
    ASSERT_EQ(list()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, 4), QString());
    EXPECT_EQ(cell(1, 0), u"%9%"_s);
    EXPECT_EQ(cell(1, 4), u"Термометр  1"_s);
}

} // namespace
