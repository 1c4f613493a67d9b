#include "SkinDiagram.h"

#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skin {

namespace {

struct Ink {
    QColor active;
    QColor activeEdge;
    QColor blank;
    QColor sync;
    QColor grid;
};

Ink inkFor(bool lit) {
    if (lit)
        return {QColor(0x3d, 0x9b, 0xff, 42), QColor(0x3d, 0x9b, 0xff, 120),
                QColor(0x8a, 0x96, 0xa6, 26), QColor(255, 220, 45, 140), QColor(0x24, 0x2a, 0x33)};
    return {QColor(0x8a, 0x96, 0xa6, 22), QColor(0x8a, 0x96, 0xa6, 70),
            QColor(0x8a, 0x96, 0xa6, 14), QColor(0x8a, 0x96, 0xa6, 90), QColor(0x21, 0x26, 0x2d)};
}

void hatch(QPainter& p, const QRectF& r, const QColor& c) {
    p.save();
    p.setClipRect(r);
    p.fillRect(r, c);
    QColor line = c;
    line.setAlpha(std::min(255, c.alpha() * 2));
    p.setPen(QPen(line, 1));
    for (qreal x = r.left() - r.height(); x < r.right(); x += 6)
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
    p.restore();
}

} // namespace

void drawFrameDiagram(QPainter& p, const QRectF& area, bool lit) {
    const Ink ink = inkFor(lit);
    // A 16:10 frame centred in the area.
    const qreal w = std::min(area.width(), area.height() * 1.6);
    const QRectF total(area.center().x() - w / 2, area.center().y() - w / 3.2, w, w / 1.6);
    const QRectF active(total.left(), total.top(), total.width() * 0.74, total.height() * 0.78);
    const QRectF right(active.right(), total.top(), total.right() - active.right(), total.height());
    const QRectF below(total.left(), active.bottom(), active.width(),
                       total.bottom() - active.bottom());
    hatch(p, right, ink.blank);
    hatch(p, below, ink.blank);
    p.setPen(QPen(ink.activeEdge, 1));
    p.setBrush(ink.active);
    p.drawRect(hairline(active));
    // Sync pulses sit inside the blanking, after the offset.
    p.setPen(Qt::NoPen);
    p.setBrush(ink.sync);
    p.drawRect(QRectF(right.left() + right.width() * 0.35, right.top(), right.width() * 0.2,
                      right.height()));
    p.drawRect(QRectF(below.left(), below.top() + below.height() * 0.35, below.width(),
                      below.height() * 0.2));
    p.setPen(QPen(ink.activeEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(hairline(total));
}

void drawTimingTrace(QPainter& p, const QRectF& area, bool lit) {
    const Ink ink = inkFor(lit);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (qreal x = area.left(); x <= area.right(); x += area.width() / 16)
        p.fillRect(QRectF(std::round(x), area.top(), 1, area.height()), ink.grid);
    p.restore();

    // Two traces: a line (short period) and a frame (long period).
    const qreal laneHeight = area.height() / 2;
    const int periods[2] = {4, 2};
    for (int lane = 0; lane < 2; ++lane) {
        const QRectF band(area.left(), area.top() + lane * laneHeight + 22, area.width(),
                          laneHeight - 44);
        const qreal period = band.width() / periods[lane];
        const qreal high = band.top() + band.height() * 0.25;
        const qreal low = band.bottom() - band.height() * 0.15;
        QPainterPath trace;
        trace.moveTo(band.left(), high);
        for (int i = 0; i < periods[lane]; ++i) {
            const qreal start = band.left() + i * period;
            const qreal blankStart = start + period * 0.70;
            const qreal syncStart = start + period * 0.78;
            const qreal syncEnd = start + period * 0.88;
            p.setPen(Qt::NoPen);
            p.setBrush(ink.active);
            p.drawRect(QRectF(start + 1, high + 4, blankStart - start - 2, low - high - 8));
            hatch(p, QRectF(blankStart, high + 4, start + period - blankStart, low - high - 8),
                  ink.blank);
            trace.lineTo(syncStart, high);
            trace.lineTo(syncStart, low);
            trace.lineTo(syncEnd, low);
            trace.lineTo(syncEnd, high);
        }
        trace.lineTo(band.right(), high);
        p.setPen(QPen(ink.sync, 1.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(trace);
    }
}

} // namespace skin
