#include "RZ8Master.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    VEV8AdevevAvi theApp;
    if (!theApp.TakeInstanceLock()) return 0;

    // Trace lines carry their source file and line in the text itself.
    if (qEnvironmentVariableIsEmpty("QT_MESSAGE_PATTERN"))
        qSetMessagePattern(QStringLiteral("%{if-category}%{category}: %{endif}%{message}"));
    QApplication app(argc, argv);
    // Arguments Qt does not know are ignored.
    return theApp.InitInstance();
}
