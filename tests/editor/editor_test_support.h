#pragma once

#include "interface_model.h"
#include "json_root.h"

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

// The plan of an interface description written as JSON, for the newest firmware of type 415.
inline talvik::iface::InterfacePlan planOf(const char* json) {
    talvik::iface::JsonRoot document;
    return document.parse(json)
               ? talvik::iface::InterfaceModel::plan(document.root(), 415, QStringLiteral("9.99"))
               : talvik::iface::InterfacePlan{};
}
