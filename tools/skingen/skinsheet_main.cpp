// skinsheet <GUISkin folder> <sheet.png> [<mock prefix>]: the contact sheet, and with a
// prefix also the composed panel as <prefix>-connected.png and <prefix>-idle.png.
#include "ContactSheet.h"
#include "PanelMock.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Drawing needs no display; without one the default platform would abort.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 4) {
        err << "usage: skinsheet <GUISkin folder> <sheet.png> [<mock prefix>]\n";
        return 2;
    }
    QString error;
    const QImage sheet = skin::contactSheet(args.at(1), &error);
    if (sheet.isNull()) {
        err << "skinsheet: " << error << "\n";
        return 1;
    }
    if (!sheet.save(args.at(2), "png")) {
        err << "skinsheet: cannot write " << args.at(2) << "\n";
        return 1;
    }
    if (args.size() == 4) {
        for (bool connected : {true, false}) {
            const QImage mock = skin::composePanel(args.at(1), connected);
            const QString path = args.at(3) + (connected ? QStringLiteral("-connected.png")
                                                         : QStringLiteral("-idle.png"));
            if (mock.isNull() || !mock.save(path, "png")) {
                err << "skinsheet: cannot compose " << path << "\n";
                return 1;
            }
        }
    }
    return 0;
}
