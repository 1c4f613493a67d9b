// skingen <output folder>: draws the skin into <output folder>/GUISkin.
#include "SkinCatalogue.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Fonts need a GUI application; the build runs this with the offscreen platform.
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: skingen <output folder>\n";
        return 2;
    }
    QString error;
    if (!skin::writeSkin(QDir(args.at(1)).filePath(QStringLiteral("GUISkin")), &error)) {
        err << "skingen: " << error << "\n";
        return 1;
    }
    return 0;
}
