// Shows the main window with the shipped interface description and saves pictures of settings
// pages, for looking at the generated layout: settings_page_shot OUT_DIR PAGE_INDEX...
// Run it in a folder that holds a copy of Interface/.
#include "scripted_dialogs.h"
#include "tform1.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 3) {
        return 2;
    }
    ScriptedDialogs dialogs;
    TForm1 form({}, &dialogs);
    form.resize(1100, 800);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        return 1;
    }
    auto* pages = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const int index = arguments[i].toInt();
        pages->setCurrentIndex(index);
        QTest::qWait(200);
        const QString name = arguments[1] + QStringLiteral("/page") + arguments[i];
        form.grab().save(name + QStringLiteral("-window.png"));
        pages->grab().save(name + QStringLiteral(".png"));
    }
    return 0;
}
