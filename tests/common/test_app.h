#pragma once

#include <QCoreApplication>

// The one application object of a test process, made on first use unless the process already
// has one, and kept to the end of the process (Qt's own globals go first at exit): QApplication
// for widget tests, QCoreApplication for the others.
template <typename App = QCoreApplication> App& TestApp() {
    static int argc = 1;
    static char name[] = "talvik_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        new App(argc, argv);
    }
    return *static_cast<App*>(QCoreApplication::instance());
}
