#pragma once

#include <QApplication>

// The one QApplication of a widget test process (offscreen platform under CTest).
inline QApplication& widgetApp() {
    static int argc = 1;
    static char name[] = "editor_tests";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt's own globals go first at exit.
    static auto* app = new QApplication(argc, argv);
    return *app;
}
