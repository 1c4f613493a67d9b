#pragma once
#include <QString>

// Directory of the running executable, without a trailing separator. Files the program
// keeps (skin, settings file, log directory) live here, whatever the current directory.
QString GetModuleDirectory();
