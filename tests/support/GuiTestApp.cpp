#include "GuiTestApp.h"

#include <QApplication>

void EnsureGuiApp() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "kztr_gui_tests";
    static char* argv[] = {name, nullptr};
    // Deliberately never destroyed: tests run in one process and need it throughout.
    new QApplication(argc, argv);
}
