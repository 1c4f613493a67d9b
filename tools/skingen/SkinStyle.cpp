#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skin {

QStringList stateNames(Kind kind) {
    switch (kind) {
    case Kind::Button:
        return {"normal", "(unused)", "pressed", "disabled"};
    case Kind::Switch:
    case Kind::Check:
        return {"off", "on", "off, disabled", "on, disabled"};
    case Kind::Edit:
        return {"normal", "hover", "focused", "disabled"};
    case Kind::Slider:
        return {"normal", "hover", "dragging", "disabled"};
    case Kind::Panel:
        return {"enabled", "disabled"};
    case Kind::Single:
        break;
    }
    return {""};
}

QFont arial(int pixelSize, bool bold, bool italic) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

namespace {
int g_canvasScale = 1;
}

CanvasScale::CanvasScale(int scale) : m_previous(g_canvasScale) {
    g_canvasScale = scale;
}

CanvasScale::~CanvasScale() {
    g_canvasScale = m_previous;
}

int CanvasScale::current() {
    return g_canvasScale;
}

QImage makeCanvas(QSize size) {
    QImage image(size * g_canvasScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(g_canvasScale);
    image.fill(Qt::transparent);
    return image;
}

QImage makeStrip(QSize frame, int frames,
                 const std::function<void(QPainter&, QSize, int state)>& paintFrame) {
    QImage strip = makeCanvas(QSize(frame.width() * frames, frame.height()));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (int state = 0; state < frames; ++state) {
        p.save();
        p.translate(state * frame.width(), 0);
        p.setClipRect(QRect(QPoint(0, 0), frame));
        paintFrame(p, frame, state);
        p.restore();
    }
    return strip;
}

QRectF hairline(const QRectF& r) {
    return r.adjusted(0.5, 0.5, -0.5, -0.5);
}

void roundedFace(QPainter& p, const QRectF& r, qreal radius, const QColor& top,
                 const QColor& bottom, const QColor& border) {
    const QRectF edge = hairline(r);
    QLinearGradient fill(edge.topLeft(), edge.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(border.alpha() ? QPen(border, 1) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawRoundedRect(edge, radius, radius);
}

void centredText(QPainter& p, const QRectF& r, const QString& text, const QFont& font,
                 const QColor& colour) {
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(r.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

} // namespace skin
