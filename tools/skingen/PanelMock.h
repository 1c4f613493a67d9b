// A picture of the whole panel put together from the skin files, for review by eye:
// background, every control in a chosen state and the labels at their places.
#pragma once

#include <QImage>
#include <QString>

namespace skin {

// Reads a strip by content (the files carry their own extension); a null image on failure.
QImage readSkin(const QString& path);

// `connected` shows a panel with three controllers found; otherwise the panel as it looks
// right after start-up. A null image when a skin file is missing.
QImage composePanel(const QString& skinRoot, bool connected);

} // namespace skin
