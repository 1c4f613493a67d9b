#include "ModuleDirectory.h"

#include <QCoreApplication>

QString GetModuleDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString SkinDirectoryIn(const QString& moduleDir) {
    return moduleDir + QStringLiteral("/GUISkin/");
}

QString LogDirectoryIn(const QString& moduleDir) {
    return moduleDir + QStringLiteral("/LogoFiles/");
}
