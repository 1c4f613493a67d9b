#pragma once
// Drawing primitives every skinned frame owns: images through a per-draw alpha factor,
// text with face, pixel size, style, alignment, vertical centring and rotation, and a
// few shapes. Each call opens its own QPainter on the device and ends it, so a rotation
// or clip never leaks into the next call.
#include "GUITypes.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QPaintDevice;
class QImage;

// 0x00BBGGRR plus a separate alpha -> QColor, alpha taken as given (0..255, clamped).
QColor ColorFromRef(GUIColorRef clr, unsigned alpha);
// Brushes and pens never use alpha 255: 255 and above become 254.
unsigned BrushAlpha(unsigned alpha);
// The colour for a brush or pen: ColorFromRef with BrushAlpha applied.
QColor BrushColor(GUIColorRef clr, unsigned alpha);
// Font family to use for a face: the face when the system has it, "Arial" otherwise.
QString ResolveFontFace(const QString& face);
// Text shared by the painter and the labels: layout (x, y, width, height), vertically
// centred, alignment 0 left, 1 centre, 2 right, other left; rotated by angle degrees
// about the device origin. Wraps and clips within the layout when it has an area.
// Pixel size 0 or an empty text draws nothing.
void DrawSkinText(QPaintDevice* pDC, const QString& text, const QRectF& layout, const QString& face,
                  unsigned pixelSize, bool bold, bool italic, const QColor& color, int angle,
                  int alignment);

class CGUIGDIPlusMfcPainter {
public:
    CGUIGDIPlusMfcPainter();
    ~CGUIGDIPlusMfcPainter();
    CGUIGDIPlusMfcPainter(const CGUIGDIPlusMfcPainter&) = delete;
    CGUIGDIPlusMfcPainter& operator=(const CGUIGDIPlusMfcPainter&) = delete;

    // Life: the frame's construction starts it, its destruction shuts it down. Every
    // primitive does nothing while not started.
    void Startup();
    void Shutdown();
    bool IsStarted() const { return m_bStarted; }

    // a = min(alpha, 255); scale = a / 255, used by the next image drawn with alpha.
    // Returns the scale.
    float SetAlphaScale(unsigned alpha);
    float GetAlphaScale() const { return m_fAlphaScale; }

    // The whole image stretched into (x, y, width, height) through SetAlphaScale(alpha).
    void DrawSkinImage(const QString& path, QPaintDevice* pDC, int x, int y, int width, int height,
                       unsigned alpha);
    void DrawSkinImage(int resId, const QString& resType, QPaintDevice* pDC, int x, int y,
                       int width, int height, unsigned alpha);
    // The same for an image already in memory (a cached background); a skin image's
    // twin on a dense device (SkinImageForRatio).
    void DrawSkinImage(const QImage& img, QPaintDevice* pDC, int x, int y, int width, int height,
                       unsigned alpha);

    // Text in (left, top, right - left, bottom - top), vertically centred; alignment
    // 0 left, 1 centre, 2 right, anything else left; rotated by angle degrees about
    // the device origin; missing face -> "Arial"; alpha 255 drawn as 254.
    void DrawTextEx(QPaintDevice* pDC, const QString& text, int left, int top, int right,
                    int bottom, bool bold, unsigned size, GUIColorRef clr, unsigned alpha,
                    int angle, int alignment, const QString& face);

    // (0, 0, image width, image height); true when the image could be loaded.
    bool GetSkinImageRect(int resId, const QString& resType, const QString& path, GUIRect& rcOut);

    // Whole image at natural size at (x, y), through SetAlphaScale(alpha).
    void DrawImageAt(const QString& path, QPaintDevice* pDC, int x, int y, unsigned alpha);
    // Source (srcX, srcY, w, h) into (x, y, w, h) with w = min(image width, maxWidth),
    // h = min(image height, maxHeight), through SetAlphaScale(alpha).
    void DrawSkinImageClip(int resId, const QString& resType, const QString& path,
                           QPaintDevice* pDC, int x, int y, int srcX, int srcY, int maxWidth,
                           int maxHeight, unsigned alpha);
    // Whole image at (x, y) scaled by scale (truncated to whole pixels); negative: nothing.
    void DrawScaledImage(int resId, const QString& resType, const QString& path, QPaintDevice* pDC,
                         int x, int y, double scale);
    // The file's icon at (x, y); width and height both nonzero: that size, else 32 x 32.
    void DrawExeIcon(const QString& exePath, QPaintDevice* pDC, int x, int y, int width,
                     int height);
    // Pen of the colour and width; solid when solid, dotted otherwise.
    void DrawLineEx(QPaintDevice* pDC, int x1, int y1, int x2, int y2, GUIColorRef clr,
                    unsigned alpha, int penWidth, bool solid);
    // Linear gradient from clr1 to clr2 at the angle 90 - angle degrees (clockwise from
    // the x axis) spanning the rectangle; fills the rectangle.
    void FillGradientRect(QPaintDevice* pDC, const GUIRect& rc, GUIColorRef clr1, unsigned alpha1,
                          GUIColorRef clr2, unsigned alpha2, int angle);
    // style 0: four sides (top, right, bottom, left); style 1: 6-pixel corner marks;
    // any other style: nothing.
    void DrawFrameRect(QPaintDevice* pDC, const GUIRect& rc, GUIColorRef clr, unsigned alpha,
                       int penWidth, bool solid, int style);
    // Antialiased ellipse in the absolute rectangle, filled at alpha 254; outline of
    // borderWidth in borderClr (alpha 254) when borderWidth > 0.
    void DrawEllipseEx(QPaintDevice* pDC, int left, int top, int right, int bottom,
                       GUIColorRef fillClr, int borderWidth, GUIColorRef borderClr);
    // Solid fill of the rectangle (alpha rule applies).
    void FillRectEx(QPaintDevice* pDC, const GUIRect& rc, GUIColorRef clr, unsigned alpha);

private:
    bool m_bStarted = false;
    float m_fAlphaScale = 1.0f;
};
