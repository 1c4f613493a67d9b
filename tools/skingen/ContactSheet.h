// One picture of the whole skin for review by eye: every strip frame by frame with its
// state named, both backgrounds, the shades and the splash.
#pragma once

#include <QImage>
#include <QString>

namespace skin {

// Reads the files under `skinRoot` (the GUISkin folder); a null image and a reason in
// `error` when one cannot be read.
QImage contactSheet(const QString& skinRoot, QString* error);

} // namespace skin
