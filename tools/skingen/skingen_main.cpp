// skingen <output folder>: draws the skin into <output folder>/GUISkin.
#include "SkinCatalogue.h"
#include "SkinStyle.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Fonts need a GUI application; the build runs this with the offscreen platform.
    // Drawing needs no display; without one the default platform would abort.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: skingen <output folder>\n";
        return 2;
    }
    // Metric twins of "Arial" keep captions where they were measured to fit.
    const QString family = QFontInfo(skin::arial(12)).family();
    if (!family.contains(QLatin1String("Arial")) && !family.contains(QLatin1String("Liberation")))
        err << "skingen: warning: \"Arial\" resolves to " << family
            << "; install fonts-liberation2\n";
    QString error;
    if (!skin::writeSkin(QDir(args.at(1)).filePath(QStringLiteral("GUISkin")), &error)) {
        err << "skingen: " << error << "\n";
        return 1;
    }
    return 0;
}
