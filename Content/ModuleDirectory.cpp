#include "ModuleDirectory.h"

#include "DebugTrace.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
const QString kSettingFileName = QStringLiteral("KZTRSettingFile.kzt");
const QString kUserFolder = QStringLiteral("/KZTRMaster");
} // namespace

QString GetModuleDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString SkinDirectoryIn(const QString& moduleDir) {
    return moduleDir + QStringLiteral("/GUISkin/");
}

QString LogDirectoryIn(const QString& moduleDir) {
    return moduleDir + QStringLiteral("/LogoFiles/");
}

bool IsWritableDirectory(const QString& dir) {
    // Trying is the only answer that counts: access() says yes to root on a read-only
    // mount, and ACLs can say more than the mode bits.
    QTemporaryFile probe(dir + QStringLiteral("/.kztr-write-probe-XXXXXX"));
    return probe.open();
}

FileDirectories ChooseFileDirectories(const QString& moduleDir) {
    FileDirectories dirs;
    if (IsWritableDirectory(moduleDir)) {
        dirs.settingFile = moduleDir + QLatin1Char('/') + kSettingFileName;
        dirs.logDir = LogDirectoryIn(moduleDir);
        RZ8_TRACE("[D]Settings file and daily logs beside the program in %s\n",
                  qUtf8Printable(moduleDir));
        return dirs;
    }
    const QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + kUserFolder;
    const QString data =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + kUserFolder;
    // The log writer makes only its own last folder.
    QDir().mkpath(config);
    QDir().mkpath(data);
    dirs.perUser = true;
    dirs.settingFile = config + QLatin1Char('/') + kSettingFileName;
    dirs.logDir = data + QStringLiteral("/LogoFiles/");
    RZ8_TRACE("[D]%s cannot be written: settings file in %s, daily logs in %s\n",
              qUtf8Printable(moduleDir), qUtf8Printable(config), qUtf8Printable(dirs.logDir));
    return dirs;
}
