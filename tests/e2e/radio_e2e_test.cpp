#include "e2e_harness.h"
#include "page_control.h"
#include "radio_feature.h"
#include "radio_page.h"

#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QTreeWidget>

using namespace talvik::app;

namespace {

// A window on talvik-emu with the shipped pages and known radio devices 101 to 107 (remotes
// 101 and 105, sensors 102 and 106, thermometers 103 and 107, a fuel-level sensor 104), each
// reporting once a second; the settings read, the radio page in front.
class RadioEndToEnd : public EndToEnd {
protected:
    RadioEndToEnd() { LinkShippedFolders(); }

    void start(const QStringList& extra = {}) {
        emulator = std::make_unique<Emulator>(
            QStringList{u"--settings"_s, u"Configs/412.set"_s, u"--fill"_s, u"--save"_s,
                        u"saved.set"_s, u"--radio-devices"_s, u"7"_s, u"--radio-period"_s,
                        u"1000"_s, u"--seed"_s, u"3"_s} +
            extra);
        form = Window(emulator->path());
        ASSERT_TRUE(WaitFor(30000, [&] { return Identified(*form) && Done(*form); }));
        NamedChild<QTabWidget>(*form, u"PageControl1"_s)
            ->setCurrentWidget(NamedChild<QWidget>(*form, u"TabSheet1"_s));
    }

    [[nodiscard]] RadioPage& page() { return form->radio().page(); }
    [[nodiscard]] QTreeWidgetItem* row(const QString& number) {
        const auto items = page().ListView1->findItems(number, Qt::MatchExactly, 0);
        return items.isEmpty() ? nullptr : items.first();
    }
    // Waits until the device's row shows up, and returns it.
    QTreeWidgetItem* awaitRow(const QString& number, int milliseconds = 10000) {
        WaitFor(milliseconds, [&] { return row(number) != nullptr; });
        return row(number);
    }
    // The choice menu item `caption` for the device's row in the given column.
    void choose(const QString& number, int column, const QString& caption) {
        QTreeWidget* list = page().ListView1;
        const QRect rect = list->visualItemRect(row(number));
        const QPointF at(list->header()->sectionPosition(column) + 5, rect.center().y());
        QMouseEvent press(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &press);
        ASSERT_NE(page().choiceMenu(), nullptr);
        for (QAction* action : page().choiceMenu()->actions()) {
            if (action->text() == caption) {
                action->trigger();
            }
        }
    }
    // The value of a setting in the store the emulator saved.
    [[nodiscard]] QString saved(int setting) const {
        for (const QJsonValue& item :
             QJsonDocument::fromJson(dir.readFile(u"saved.set"_s)).array()) {
            QJsonObject element = item.toObject();
            if (element.take(u"Value"_s).toInt() == setting && !element.isEmpty()) {
                return element.begin()->toVariant().toString();
            }
        }
        return u"(none)"_s;
    }

    std::unique_ptr<Emulator> emulator;
    std::unique_ptr<TForm1> form;
};

TEST_F(RadioEndToEnd, KnownRemotesStayHiddenUntilLearned) {
    start();
    ASSERT_NE(awaitRow(u"%103%"_s), nullptr);
    WaitFor(2000, [] { return false; });
    EXPECT_EQ(row(u"%101%"_s), nullptr);
    EXPECT_EQ(row(u"%102%"_s), nullptr);
    EXPECT_EQ(row(u"%104%"_s)->text(1), u"DT"_s);
    EXPECT_TRUE(row(u"%103%"_s)->text(5).startsWith(u"температура "_s));
    EXPECT_TRUE(
        QRegularExpression(u"^\\d\\d:\\d\\d:\\d\\d$"_s).match(row(u"%103%"_s)->text(6)).hasMatch());
}

TEST_F(RadioEndToEnd, LearningAddsNewDevicesWhileTheCountdownRuns) {
    start();
    page().Button16->click();
    EXPECT_EQ(page().Button16->text(), u"Стоп"_s);
    EXPECT_TRUE(page().Label7->isVisible());
    // The first learned device (a remote, 108) turns up four seconds in; the known remotes
    // report too and are now taken in.
    QTreeWidgetItem* learned = awaitRow(u"%108%"_s, 8000);
    ASSERT_NE(learned, nullptr);
    EXPECT_EQ(learned->text(1), u"AM"_s);
    EXPECT_TRUE(learned->text(5).contains(u"состояние батареи"_s));
    EXPECT_NE(row(u"%101%"_s), nullptr);
    EXPECT_LE(page().Label7->text().toInt(), 56);
    page().Button16->click();
    EXPECT_FALSE(page().Label7->isVisible());
    EXPECT_EQ(Logged("(3): #S63=60"), 1);
    ASSERT_TRUE(WaitFor(3000, [&] { return Logged("(3): #S63=0") == 1; }));
}

TEST_F(RadioEndToEnd, MenuAssignmentsAreWrittenToTheController) {
    start();
    ASSERT_NE(awaitRow(u"%103%"_s), nullptr);
    choose(u"%103%"_s, 2, u"Радиозона  3"_s);
    choose(u"%103%"_s, 4, u"Термометр  2"_s);
    EXPECT_EQ(row(u"%103%"_s)->text(2), u"Радиозона  3"_s);
    ASSERT_TRUE(RunBatch(*form, "PNGButton4"));
    EXPECT_EQ(Status(*form).text(), u"Готово"_s);
    form->close();
    emulator->stop();
    EXPECT_TRUE(saved(47).endsWith(u" %103%"_s)) << saved(47).toStdString();
    EXPECT_EQ(saved(319), u"103"_s);
}

TEST_F(RadioEndToEnd, RemovalIsConfirmedOrRefusedByTheController) {
    start({u"--refuse-removal"_s, u"107"_s});
    ASSERT_NE(awaitRow(u"%103%"_s), nullptr);
    ASSERT_NE(awaitRow(u"%107%"_s), nullptr);
    row(u"%103%"_s)->setSelected(true);
    page().Button17->click();
    EXPECT_EQ(row(u"%103%"_s), nullptr);
    page().ListView1->clearSelection();
    row(u"%107%"_s)->setSelected(true);
    page().Button17->click();
    ASSERT_TRUE(WaitFor(5000, [&] { return !dialogs.shown.isEmpty(); }));
    EXPECT_EQ(dialogs.shown[0].caption, u"Не выполнено"_s);
    EXPECT_EQ(dialogs.shown[0].text, u"Ошибка удаления датчика 107"_s);
    // The removed thermometer falls silent; the refused one keeps reporting.
    EXPECT_NE(awaitRow(u"%107%"_s, 3000), nullptr);
    EXPECT_EQ(row(u"%103%"_s), nullptr);
    EXPECT_EQ(Logged("(2): #S64=103"), 1);
}

} // namespace
