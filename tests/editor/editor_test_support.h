#pragma once

#include "interface_model.h"
#include "yaml_root.h"

#include <QApplication>
#include <QString>

// The one QApplication of a widget test process (offscreen platform under CTest).
inline QApplication& widgetApp() {
    static int argc = 1;
    static char name[] = "editor_tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt's own globals go first at exit.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// The plan of an interface description given as text, for a device type and version.
inline InterfacePlan planOf(const char* text, int type = 415,
                            const QString& version = QStringLiteral("9.99")) {
    YamlRoot document;
    return document.parse(QString::fromUtf8(text))
               ? InterfaceModel::plan(document.root(), type, version)
               : InterfacePlan{};
}
