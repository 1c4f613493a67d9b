#include "ModuleDirectory.h"

#include <QCoreApplication>

QString GetModuleDirectory() {
    return QCoreApplication::applicationDirPath();
}
