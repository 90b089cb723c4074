// Feeds arbitrary bytes to the settings-file load: the JSON reader, the header survey and the
// filling of a store that holds one control of each kind, the time zone and its dependent hours
// among them. Nothing may crash, and what the program saves afterwards it can read again.
#include "field_handlers.h"
#include "json_root.h"
#include "parameter_store.h"
#include "quiet_log.h"
#include "scripted_dialogs.h"
#include "settings_file.h"
#include "settings_wire.h"

#include <QApplication>
#include <QByteArrayView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <cstdint>
#include <cstdlib>

using namespace talvik::editor;
using namespace talvik::iface;
using namespace talvik::settings;

namespace {

// The controls of every kind a page may hold, in a window of their own.
struct Pages {
    QWidget window;
    QTimer timer;
    ScriptedDialogs dialogs;
    ParameterStore store;
    FieldHandlers handlers{store, dialogs, &window, &timer};

    Pages() {
        edit(10, EditSpecial::Integer, 5);
        edit(11, EditSpecial::Double10, -20);
        edit(12, EditSpecial::Phone, 0);
        edit(13, EditSpecial::Plain, 0);
        combo(20, 4, {});
        combo(21, 3, {7, 9, 30});
        combo(SettingsWire::kTimeZone, 25, {});
        combo(SettingsWire::kReportHour, 24, {});
        combo(SettingsWire::kTimeZoneDependent, 24, {});
        auto* box = new QCheckBox(&window);
        store.add(30, Parameter::Kind::Check, box, EditSpecial::Plain, 0, 0, 0, {20});
        handlers.attachCheckBox(box);
        Parameter& bits = store.add(40, Parameter::Kind::Bits, nullptr);
        for (int i = 0; i < 3; ++i) {
            auto* bit = new QCheckBox(&window);
            handlers.attachCheckBox(bit);
            bits.controls.append(bit);
            store.mapControl(bit, 40);
        }
        store.findOrAdd(50).valueText = QStringLiteral("text");
    }
    void edit(int number, EditSpecial special, int offset) {
        auto* control = new QLineEdit(&window);
        store.add(number, Parameter::Kind::Edit, control, special, -1000, 1000, offset);
        handlers.attachEdit(control);
    }
    void combo(int number, int items, QList<int> codes) {
        auto* control = new QComboBox(&window);
        control->addItems(QStringList(items, QStringLiteral("-")));
        store.add(number, Parameter::Kind::Combo, control, EditSpecial::Plain, 0, 0, 0, codes);
        handlers.attachCombo(control);
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "settings_file_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QuietLog();
    static QApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JsonRoot document;
    if (!document.parse(QByteArrayView(data, static_cast<qsizetype>(size)))) {
        return 0;
    }
    Pages pages;
    const Node root = document.root();
    const SettingsFile::Survey survey = SettingsFile::survey(root);
    SettingsFile::apply(root, survey.currentFormat, pages.store, pages.handlers);
    JsonRoot saved;
    if (!saved.parse(SettingsFile::compose(pages.store, survey.type))) {
        std::abort();
    }
    return 0;
}
