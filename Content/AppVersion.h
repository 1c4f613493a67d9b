#pragma once
// The program's version text: the panel title, the splash and the head of every
// daily-log line show the same one.
#include <QString>

inline const QString kVersionText = QStringLiteral("v3.11");
