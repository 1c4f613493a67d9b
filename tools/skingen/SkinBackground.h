// Whole-panel pictures: the two backgrounds, the two shades and the splash.
#pragma once

#include <QImage>

namespace skin {

// The panel's structure behind its labels and controls; `connected` lights the link accents.
QImage mainBackground(bool connected);
// Two frames over the whole panel: enabled look, disabled look. The setting shade is dark and
// shows that the panel is busy talking to a controller; the pure one, shown while a box waits
// for the operator's answer, is a light plain veil that leaves the panel readable.
QImage shadeStrip(bool setting);
QImage splashBackground();

} // namespace skin
