#include "SkinBackground.h"

#include "SkinPlaces.h"
#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skin {

namespace {

using namespace colour;

// A wall of four screens with a soft glow, the picture of what the tool configures.
void drawWall(QPainter& p, const QRectF& area) {
    QRadialGradient glow(area.center(), area.width() * 0.75);
    glow.setColorAt(0, QColor(0x3d, 0x9b, 0xff, 60));
    glow.setColorAt(1, QColor(0x3d, 0x9b, 0xff, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRect(p.window());

    const qreal gap = 4;
    const qreal w = (area.width() - gap) / 2, h = (area.height() - gap) / 2;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            const QRectF screen(area.left() + col * (w + gap), area.top() + row * (h + gap), w, h);
            QLinearGradient fill(screen.topLeft(), screen.bottomRight());
            fill.setColorAt(0, QColor(0x4d, 0xa6, 0xff));
            fill.setColorAt(0.55, QColor(0x24, 0x5f, 0xb0));
            fill.setColorAt(1, QColor(0x16, 0x2f, 0x57));
            p.setPen(QPen(QColor(0x9c, 0xcd, 0xff, 160), 1));
            p.setBrush(fill);
            p.drawRoundedRect(hairline(screen), 3, 3);
        }
    // One amber line crossing all four screens: one picture spread over the wall.
    QPainterPath wave;
    wave.moveTo(area.left() + 8, area.center().y() + 14);
    wave.cubicTo(area.left() + area.width() * 0.35, area.top() + 6,
                 area.left() + area.width() * 0.6, area.bottom() - 4, area.right() - 8,
                 area.top() + 18);
    p.setPen(QPen(kAmber, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

} // namespace

QImage splashBackground() {
    const QSize size = kSplashSize;
    QImage image = makeCanvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QRectF frame = hairline(QRectF(QPointF(0, 0), size));
    QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
    fill.setColorAt(0, QColor(0x1f, 0x25, 0x2e));
    fill.setColorAt(1, QColor(0x0f, 0x12, 0x16));
    p.setPen(QPen(kWindowBorder, 1));
    p.setBrush(fill);
    p.drawRoundedRect(frame, 14, 14);

    drawWall(p, QRectF(55, 44, 160, 100));

    p.setFont(arial(26, true));
    p.setPen(kWhite);
    p.drawText(QRectF(0, 168, size.width(), 34), Qt::AlignCenter, QStringLiteral("KZTRMaster"));
    p.setFont(arial(12));
    p.setPen(QColor(0xa9, 0xb2, 0xbd));
    p.drawText(QRectF(0, 204, size.width(), 18), Qt::AlignCenter,
               QStringLiteral("Display controller configuration"));

    // Divider above the version and notice, which the splash draws there at run time.
    QLinearGradient line(20, 0, size.width() - 20, 0);
    line.setColorAt(0, QColor(255, 220, 45, 0));
    line.setColorAt(0.5, QColor(255, 220, 45, 200));
    line.setColorAt(1, QColor(255, 220, 45, 0));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(20, 280, size.width() - 40, 1), line);
    return image;
}

} // namespace skin
