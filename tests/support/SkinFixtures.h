#pragma once
// Synthetic skin strips for toolkit tests: every frame has its own opaque colour, so a
// pixel of a drawn control tells which frame was drawn.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace SkinFixtures {

// Distinct opaque colour of frame k (k = 0..7).
QColor FrameColor(int frame);

// Strip of `frames` frames side by side, each frameWidth x height.
QImage MakeStrip(int frames, int frameWidth, int height);

// Writes MakeStrip as PNG to dir/name (any name, e.g. "Ctrl.tksx"); returns the path,
// empty on failure.
QString WriteStrip(const QString& dir, const QString& name, int frames, int frameWidth, int height);

// Writes an image as PNG to dir/name; returns the path, empty on failure.
QString WritePng(const QString& dir, const QString& name, const QImage& img);

// A transparent ARGB32 premultiplied surface.
QImage MakeSurface(int width, int height);

// The frame whose colour is at p of the surface, -1 for any other colour.
int FrameAt(const QImage& surface, QPoint p);

// True when every pixel inside r (clipped to the surface) is fully transparent.
bool IsClear(const QImage& surface, const QRect& r);
// True when every pixel of the surface is fully transparent.
bool IsClear(const QImage& surface);

// Bounding box of pixels with alpha above threshold (null rectangle when none).
QRect InkBounds(const QImage& surface, int alphaThreshold = 0);

// Highest alpha of any pixel.
int MaxAlpha(const QImage& surface);

// Colour (unpremultiplied) of the most opaque pixel.
QColor MostOpaqueColor(const QImage& surface);

} // namespace SkinFixtures
