#pragma once
#include <QString>

// Directory of the running executable, without a trailing separator. The skin lives
// here, whatever the current directory.
QString GetModuleDirectory();

// Where in moduleDir the skin and the daily logs live, each with a trailing "/". The
// panel and kztrctl write their log lines to the same directory.
QString SkinDirectoryIn(const QString& moduleDir);
QString LogDirectoryIn(const QString& moduleDir);

// Where the settings file and the daily logs go.
struct FileDirectories {
    QString settingFile; // full path of KZTRSettingFile.kzt
    QString logDir;      // with a trailing "/"
    bool perUser = false;
};

// Beside the executable when its folder can be written (a build folder, a portable
// copy); otherwise, as for an installed package, the per-user places: the settings file
// in <config location>/KZTRMaster/, the logs in <data location>/KZTRMaster/LogoFiles/
// (made when missing). The panel and kztrctl share both. Traces the choice.
FileDirectories ChooseFileDirectories(const QString& moduleDir);

// True when a file can be created in dir now (mode bits, read-only mounts and all).
bool IsWritableDirectory(const QString& dir);
