#pragma once
#include <QString>

// Directory of the running executable, without a trailing separator. Files the program
// keeps (skin, settings file, log directory) live here, whatever the current directory.
QString GetModuleDirectory();

// Where in moduleDir the skin and the daily logs live, each with a trailing "/". The
// panel and kztrctl write their log lines to the same directory.
QString SkinDirectoryIn(const QString& moduleDir);
QString LogDirectoryIn(const QString& moduleDir);
