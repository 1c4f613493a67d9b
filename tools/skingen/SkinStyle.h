// Colours and small drawing helpers shared by every skin picture.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;
class QPainterPath;

namespace skin {

namespace colour {
inline const QColor kBase(0x12, 0x15, 0x19);
inline const QColor kBaseDot(0x1d, 0x22, 0x29);
inline const QColor kWindowBorder(0x33, 0x3b, 0x46);
inline const QColor kTitleTop(0x1d, 0x23, 0x2b);
inline const QColor kTitleBottom(0x15, 0x19, 0x1e);
inline const QColor kCard(0x19, 0x1e, 0x24);
inline const QColor kCardBorder(0x2a, 0x31, 0x3a);
inline const QColor kBand(0x21, 0x27, 0x2f);
inline const QColor kBandLine(0x31, 0x39, 0x44);
inline const QColor kWell(0x1e, 0x24, 0x2b);

inline const QColor kWhite(0xff, 0xff, 0xff);
inline const QColor kAmber(255, 220, 45);
inline const QColor kAccent(0x3d, 0x9b, 0xff);
inline const QColor kAccentDeep(0x25, 0x6f, 0xcc);
inline const QColor kOn(0x2f, 0xbf, 0x71);
inline const QColor kDanger(0xe5, 0x48, 0x4d);

inline const QColor kCaption(0xf2, 0xf5, 0xf8);
inline const QColor kCaptionDisabled(0x5f, 0x68, 0x73);
inline const QColor kLabelDisabled(0x96, 0x96, 0x96);

inline const QColor kFaceTop(0x3a, 0x43, 0x4f);
inline const QColor kFaceBottom(0x2c, 0x33, 0x3d);
inline const QColor kFaceBorder(0x4c, 0x56, 0x64);
inline const QColor kFaceDisabled(0x1f, 0x24, 0x2a);
inline const QColor kBorderDisabled(0x2d, 0x33, 0x3b);
inline const QColor kField(0x0d, 0x10, 0x14);
inline const QColor kFieldBorder(0x3d, 0x46, 0x52);
} // namespace colour

// Frame state names per control kind, in strip order.
enum class Kind { Button, Switch, Check, Edit, Slider, Panel, Single };
QStringList stateNames(Kind kind);

// "Arial" at a pixel size; fontconfig maps the family to a metric twin.
QFont arial(int pixelSize, bool bold = false, bool italic = false);

// The scale the skin is drawn at while one lives: 1 for the files the panel reads at ratio
// 1, 2 for their "@2x" twins. Pictures are drawn in the panel's own units either way; only
// their pixel count follows the scale.
class CanvasScale {
public:
    explicit CanvasScale(int scale);
    ~CanvasScale();
    CanvasScale(const CanvasScale&) = delete;
    CanvasScale& operator=(const CanvasScale&) = delete;
    static int current();

private:
    int m_previous;
};

// A transparent ARGB picture `size` panel units big at the current scale (its device pixel
// ratio is the scale, so a painter on it draws in panel units).
QImage makeCanvas(QSize size);

// A transparent ARGB picture of `frames` frames side by side, each `frame` big; the painter
// given to `paintFrame` is clipped to the frame and its origin is the frame's top-left.
QImage makeStrip(QSize frame, int frames,
                 const std::function<void(QPainter&, QSize, int state)>& paintFrame);

// A rectangle whose 1-pixel outline lands on whole pixels.
QRectF hairline(const QRectF& r);

// Rounded rectangle filled with a vertical gradient and outlined with a 1-pixel line.
void roundedFace(QPainter& p, const QRectF& r, qreal radius, const QColor& top,
                 const QColor& bottom, const QColor& border);

// Centred text with an optional 1-pixel drop shadow for legibility on light faces.
void centredText(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 const QColor& colour);

QColor mix(const QColor& a, const QColor& b, qreal t);

} // namespace skin
