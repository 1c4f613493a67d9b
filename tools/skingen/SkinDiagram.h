// Illustrations in the parameter area: what the timing numbers describe.
#pragma once

#include <QRectF>

class QPainter;

namespace skin {

// One video frame: the active picture, the blanking around it and both sync pulses.
void drawFrameDiagram(QPainter& p, const QRectF& area, bool lit);
// Horizontal and vertical sync traces with their blanking and active periods.
void drawTimingTrace(QPainter& p, const QRectF& area, bool lit);

} // namespace skin
