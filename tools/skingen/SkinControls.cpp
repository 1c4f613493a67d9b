#include "SkinControls.h"

#include "SkinStyle.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skin {

namespace {

using namespace colour;

struct Face {
    QColor top;
    QColor bottom;
    QColor border;
    QColor ink;
};

struct StyleFaces {
    Face normal;
    Face hover;
    Face pressed;
};

StyleFaces styleFaces(ButtonStyle style) {
    switch (style) {
    case ButtonStyle::Primary:
        return {
            {QColor(0x44, 0x97, 0xf5), kAccentDeep, QColor(0x5d, 0xab, 0xff), kWhite},
            {QColor(0x52, 0xa6, 0xff), QColor(0x33, 0x80, 0xe0), QColor(0x7c, 0xbd, 0xff), kWhite},
            {QColor(0x1f, 0x5a, 0xa6), QColor(0x25, 0x68, 0xbd), QColor(0x5d, 0xab, 0xff),
             QColor(0xdd, 0xec, 0xff)}};
    case ButtonStyle::Danger:
        return {
            {QColor(0x3e, 0x34, 0x3a), QColor(0x30, 0x29, 0x2e), QColor(0x6e, 0x47, 0x4c), kWhite},
            {QColor(0x4a, 0x33, 0x38), QColor(0x3a, 0x2a, 0x2f), QColor(0x8a, 0x4a, 0x4f), kWhite},
            {QColor(0x5a, 0x1f, 0x23), QColor(0x6b, 0x25, 0x29), kDanger,
             QColor(0xff, 0xd6, 0xd7)}};
    case ButtonStyle::Title:
        return {
            {QColor(0x2f, 0x35, 0x3e), QColor(0x26, 0x2b, 0x33), QColor(0x46, 0x4f, 0x5b),
             kCaption},
            {QColor(0x4a, 0x30, 0x35), QColor(0x3b, 0x27, 0x2c), QColor(0x8a, 0x44, 0x4a), kWhite},
            {QColor(0xc7, 0x33, 0x39), QColor(0xb0, 0x2b, 0x31), kDanger, kWhite}};
    case ButtonStyle::Neutral:
        break;
    }
    return {
        {kFaceTop, kFaceBottom, kFaceBorder, kCaption},
        {QColor(0x45, 0x4f, 0x5d), QColor(0x35, 0x3d, 0x48), QColor(0x5e, 0x6a, 0x7a), kWhite},
        {QColor(0x22, 0x28, 0x2f), QColor(0x29, 0x30, 0x38), kAccent, QColor(0xd6, 0xe2, 0xee)}};
}

// Button frames: 0 normal, 1 hover, 2 pressed, 3 disabled.
Face buttonFace(ButtonStyle style, int state) {
    if (state == 3) return {kFaceDisabled, kFaceDisabled, kBorderDisabled, kCaptionDisabled};
    const StyleFaces faces = styleFaces(style);
    return state == 2 ? faces.pressed : state == 1 ? faces.hover : faces.normal;
}

// A soft light line along the top inside edge gives raised faces some depth.
void topHighlight(QPainter& p, const QRectF& r, qreal radius, int alpha) {
    p.save();
    p.setClipRect(QRectF(r.left(), r.top(), r.width(), radius + 1.5));
    p.setPen(QPen(QColor(255, 255, 255, alpha), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(hairline(r).adjusted(1, 1, -1, -1), radius - 1, radius - 1);
    p.restore();
}

void drawIcon(QPainter& p, Icon icon, const QPointF& topLeft, const QColor& ink) {
    p.save();
    p.translate(topLeft);
    QPen pen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (icon) {
    case Icon::Identify:
        p.drawEllipse(QPointF(7, 7), 4.2, 4.2);
        p.drawLine(QPointF(7, 0.8), QPointF(7, 2.6));
        p.drawLine(QPointF(7, 11.4), QPointF(7, 13.2));
        p.drawLine(QPointF(0.8, 7), QPointF(2.6, 7));
        p.drawLine(QPointF(11.4, 7), QPointF(13.2, 7));
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(7, 7), 1.4, 1.4);
        break;
    case Icon::Power:
        p.drawArc(QRectF(1.5, 2, 11, 11), 125 * 16, 290 * 16);
        p.drawLine(QPointF(7, 0.8), QPointF(7, 6.6));
        break;
    case Icon::Restart: {
        p.drawArc(QRectF(1.5, 1.5, 11, 11), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(12.8, 0.6);
        head.lineTo(12.6, 5.0);
        head.lineTo(8.4, 3.6);
        head.closeSubpath();
        p.setBrush(ink);
        p.setPen(Qt::NoPen);
        p.drawPath(head);
        break;
    }
    case Icon::Settings: {
        const qreal knobs[3] = {4.0, 10.0, 6.0};
        for (int i = 0; i < 3; ++i) {
            const qreal y = 2.5 + i * 4.5;
            p.setPen(pen);
            p.drawLine(QPointF(1, y), QPointF(13, y));
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            p.drawEllipse(QPointF(knobs[i], y), 2.1, 2.1);
        }
        break;
    }
    case Icon::Check: {
        QPen thick = pen;
        thick.setWidthF(2.0);
        p.setPen(thick);
        QPainterPath tick;
        tick.moveTo(1.8, 7.4);
        tick.lineTo(5.4, 11.0);
        tick.lineTo(12.4, 3.2);
        p.drawPath(tick);
        break;
    }
    case Icon::None:
        break;
    }
    p.restore();
}

// Caption, with its icon before it, centred in the face; `sink` moves it down when pressed.
void drawCaption(QPainter& p, QSizeF size, const QString& caption, Icon icon, const QFont& font,
                 const QColor& ink, qreal sink) {
    const QFontMetricsF fm(font);
    const qreal iconSize = icon == Icon::None ? 0 : 14;
    const qreal gap = icon == Icon::None ? 0 : 7;
    const qreal total = iconSize + gap + fm.horizontalAdvance(caption);
    const qreal x = std::round((size.width() - total) / 2);
    const QRectF all(0, sink, size.width(), size.height());
    if (icon != Icon::None)
        drawIcon(p, icon, QPointF(x, std::round((size.height() - iconSize) / 2) + sink), ink);
    const QRectF textBox(x + iconSize + gap, all.top(), total - iconSize - gap, all.height());
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, ink.lightness() > 128 ? 110 : 40));
    p.drawText(textBox.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, caption);
    p.setPen(ink);
    p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, caption);
}

// Switch, check box and radio frames: 0 off, 1 on, 2 off and disabled, 3 on and disabled.
QImage checkableStrip(QSize frame,
                      const std::function<void(QPainter&, QSize, bool on, bool enabled)>& paint) {
    return makeStrip(frame, 4, [&](QPainter& p, QSize size, int state) {
        paint(p, size, state == 1 || state == 3, state < 2);
    });
}

void drawFace(QPainter& p, QSizeF size, const Face& face, qreal radius, bool raised) {
    const QRectF r(QPointF(0, 0), size);
    roundedFace(p, r, radius, face.top, face.bottom, face.border);
    if (raised) topHighlight(p, r, radius, 26);
}

} // namespace

QImage buttonStrip(QSize frame, const QString& caption, ButtonStyle style, Icon icon) {
    const int textSize = frame.height() <= 18 ? 10 : (frame.height() <= 26 ? 12 : 13);
    return makeStrip(frame, 4, [&](QPainter& p, QSize size, int state) {
        const Face face = buttonFace(style, state);
        const qreal radius = frame.height() <= 18 ? 3 : 5;
        drawFace(p, size, face, radius, state != 2 && state != 3);
        drawCaption(p, size, caption, icon, arial(textSize, true), face.ink, state == 2 ? 1 : 0);
    });
}

QImage stepperStrip(QSize frame, bool increment) {
    return makeStrip(frame, 4, [&](QPainter& p, QSize size, int state) {
        const Face face = buttonFace(ButtonStyle::Neutral, state);
        // Round only the outer corners so the pair reads as one segmented control.
        const QRectF r = hairline(QRectF(QPointF(0, 0), size));
        const qreal radius = 5;
        QPainterPath shape;
        if (increment) {
            shape.moveTo(r.left(), r.bottom());
            shape.lineTo(r.left(), r.top() + radius);
            shape.quadTo(r.topLeft(), QPointF(r.left() + radius, r.top()));
            shape.lineTo(r.right() - radius, r.top());
            shape.quadTo(r.topRight(), QPointF(r.right(), r.top() + radius));
            shape.lineTo(r.right(), r.bottom());
        } else {
            shape.moveTo(r.left(), r.top());
            shape.lineTo(r.right(), r.top());
            shape.lineTo(r.right(), r.bottom() - radius);
            shape.quadTo(r.bottomRight(), QPointF(r.right() - radius, r.bottom()));
            shape.lineTo(r.left() + radius, r.bottom());
            shape.quadTo(r.bottomLeft(), QPointF(r.left(), r.bottom() - radius));
        }
        shape.closeSubpath();
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, face.top);
        fill.setColorAt(1, face.bottom);
        p.setPen(QPen(face.border, 1));
        p.setBrush(fill);
        p.drawPath(shape);

        const QColor ink = state == 2 ? kAccent : face.ink;
        const QPointF c(size.width() / 2.0, size.height() / 2.0 + (state == 2 ? 1 : 0));
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::FlatCap));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawLine(QPointF(c.x() - 5, c.y()), QPointF(c.x() + 5, c.y()));
        if (increment) p.drawLine(QPointF(c.x(), c.y() - 5), QPointF(c.x(), c.y() + 5));
    });
}

QImage switchStrip(QSize frame, const QString& label) {
    return checkableStrip(frame, [&](QPainter& p, QSize size, bool on, bool enabled) {
        const QRectF r(QPointF(0, 0), size);
        if (enabled) {
            roundedFace(p, r, 6, QColor(0x2c, 0x33, 0x3c), QColor(0x24, 0x2a, 0x32),
                        on ? QColor(0x2f, 0x8f, 0x5a) : kFaceBorder);
            topHighlight(p, r, 6, 20);
        } else {
            roundedFace(p, r, 6, kFaceDisabled, kFaceDisabled, kBorderDisabled);
        }

        // Label left of the track, as large as fits.
        const QColor ink = enabled ? kCaption : kCaptionDisabled;
        const QRectF textBox(10, 0, size.width() - 10 - 42 - 4, size.height());
        int pixels = 13;
        while (pixels > 9 &&
               QFontMetricsF(arial(pixels, true)).horizontalAdvance(label) > textBox.width())
            --pixels;
        p.setFont(arial(pixels, true));
        p.setPen(QColor(0, 0, 0, enabled ? 110 : 40));
        p.drawText(textBox.translated(0, 1), Qt::AlignLeft | Qt::AlignVCenter, label);
        p.setPen(ink);
        p.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter, label);

        // Track with its knob on the side of the position.
        const QRectF track(size.width() - 42, (size.height() - 18) / 2.0, 34, 18);
        if (on && enabled) {
            QRadialGradient glow(track.center(), 24);
            glow.setColorAt(0, QColor(0x2f, 0xbf, 0x71, 70));
            glow.setColorAt(1, QColor(0x2f, 0xbf, 0x71, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawRect(QRectF(QPointF(0, 0), size).adjusted(1, 1, -1, -1));
        }
        QColor trackFill = on ? kOn : kField;
        QColor trackLine = on ? QColor(0x47, 0xd6, 0x87) : QColor(0x4b, 0x55, 0x62);
        QColor knob = on ? kWhite : QColor(0x9d, 0xa7, 0xb4);
        if (!enabled) {
            trackFill = on ? QColor(0x1d, 0x3b, 0x2c) : QColor(0x16, 0x19, 0x1e);
            trackLine = on ? QColor(0x24, 0x4a, 0x36) : kBorderDisabled;
            knob = on ? QColor(0x5f, 0x70, 0x67) : QColor(0x3a, 0x41, 0x4a);
        }
        p.setPen(QPen(trackLine, 1));
        p.setBrush(trackFill);
        p.drawRoundedRect(hairline(track), 8.5, 8.5);
        const qreal knobX = on ? track.right() - 9 : track.left() + 9;
        p.setPen(enabled ? QPen(QColor(0, 0, 0, 70), 1) : Qt::NoPen);
        p.setBrush(knob);
        p.drawEllipse(QPointF(knobX, track.center().y()), 6.5, 6.5);
    });
}

QImage checkStrip(QSize frame) {
    return checkableStrip(frame, [&](QPainter& p, QSize size, bool checked, bool enabled) {
        const qreal side = 14;
        const QRectF box((size.width() - side) / 2.0, (size.height() - side) / 2.0, side, side);
        QColor fill = checked ? kAccent : kField;
        QColor line = checked ? QColor(0x6c, 0xb6, 0xff) : QColor(0x6a, 0x74, 0x83);
        QColor mark = kWhite;
        if (!enabled) {
            fill = checked ? QColor(0x2a, 0x34, 0x41) : QColor(0x17, 0x1b, 0x20);
            line = checked ? QColor(0x36, 0x43, 0x54) : QColor(0x34, 0x3b, 0x44);
            mark = QColor(0x74, 0x80, 0x8f);
        }
        p.setPen(QPen(line, 1));
        p.setBrush(fill);
        p.drawRoundedRect(hairline(box), 3, 3);
        if (checked) {
            QPainterPath tick;
            tick.moveTo(box.left() + 3.2, box.top() + 7.3);
            tick.lineTo(box.left() + 6.0, box.top() + 10.2);
            tick.lineTo(box.left() + 11.0, box.top() + 4.0);
            p.setPen(QPen(mark, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(tick);
        }
    });
}

QImage radioStrip(QSize frame) {
    return checkableStrip(frame, [&](QPainter& p, QSize size, bool checked, bool enabled) {
        const QPointF c(size.width() / 2.0, size.height() / 2.0);
        QColor ring = checked ? kAccent : QColor(0x6a, 0x74, 0x83);
        QColor fill = kField;
        QColor dot = kAccent;
        if (!enabled) {
            ring = checked ? QColor(0x3a, 0x48, 0x5a) : QColor(0x34, 0x3b, 0x44);
            fill = QColor(0x17, 0x1b, 0x20);
            dot = QColor(0x4e, 0x5d, 0x70);
        }
        p.setPen(QPen(ring, checked ? 1.6 : 1.2));
        p.setBrush(fill);
        p.drawEllipse(c, 7, 7);
        if (checked) {
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(c, 3.6, 3.6);
        }
    });
}

QImage deviceRadioStrip(QSize frame) {
    return checkableStrip(frame, [&](QPainter& p, QSize size, bool checked, bool enabled) {
        Face face{kFaceTop, kFaceBottom, kFaceBorder, QColor(0xa4, 0xae, 0xbb)};
        if (checked)
            face = {QColor(0x4d, 0xa6, 0xff), QColor(0x2a, 0x78, 0xd6), QColor(0x86, 0xc4, 0xff),
                    kWhite};
        if (!enabled)
            face = checked ? Face{QColor(0x22, 0x2e, 0x3d), QColor(0x22, 0x2e, 0x3d),
                                  QColor(0x2e, 0x3d, 0x50), QColor(0x56, 0x67, 0x7c)}
                           : Face{kFaceDisabled, kFaceDisabled, kBorderDisabled,
                                  QColor(0x3c, 0x43, 0x4c)};
        drawFace(p, size, face, 5, enabled);
        // A small display glyph: this button picks which controller the panel shows.
        p.setRenderHint(QPainter::Antialiasing, false);
        const int w = 13, h = 9;
        const int x = (size.width() - w) / 2;
        const int y = (size.height() - h) / 2 - 1;
        p.setPen(QPen(face.ink, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(x, y, w - 1, h - 1);
        p.fillRect(x + 2, y + 2, w - 4, h - 4,
                   checked && enabled ? QColor(255, 255, 255, 90) : QColor(0, 0, 0, 0));
        p.drawLine(x + w / 2, y + h, x + w / 2, y + h + 1);
        p.drawLine(x + 3, y + h + 2, x + w - 4, y + h + 2);
    });
}

QImage editStrip(QSize frame) {
    // Underlined field: the box's text starts at its left edge, so no side border.
    return makeStrip(frame, 4, [&](QPainter& p, QSize size, int state) {
        QColor fill(0x08, 0x0a, 0x0d, 150);
        QColor underline(0x6a, 0x75, 0x83);
        int thickness = 1;
        switch (state) {
        case 1:
            fill = QColor(0x2a, 0x31, 0x3a, 170);
            underline = QColor(0xb4, 0xbe, 0xca);
            break;
        case 2:
            fill = QColor(0x1c, 0x3a, 0x5e, 190);
            underline = kAccent;
            thickness = 2;
            break;
        case 3:
            fill = QColor(0x08, 0x0a, 0x0d, 60);
            underline = QColor(0x33, 0x39, 0x41);
            break;
        default:
            break;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(0, 0, size.width(), size.height() + 3), 3, 3);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (state == 3) {
            for (int x = 0; x < size.width(); x += 3)
                p.fillRect(QRect(x, size.height() - 1, 2, 1), underline);
        } else {
            p.fillRect(QRect(0, size.height() - thickness, size.width(), thickness), underline);
        }
    });
}

QImage sliderThumbStrip(QSize frame) {
    return makeStrip(frame, 4, [&](QPainter& p, QSize size, int state) {
        const QPointF c(size.width() / 2.0, size.height() / 2.0);
        const qreal radius = size.width() / 2.0 - 1.5;
        QColor top(0xee, 0xf1, 0xf5), bottom(0xb6, 0xbf, 0xcb), ring(0x6f, 0x7a, 0x88);
        QColor dot = kAccent;
        qreal ringWidth = 1;
        switch (state) {
        case 1:
            top = kWhite;
            bottom = QColor(0xd0, 0xd7, 0xe0);
            ring = kAccent;
            ringWidth = 2;
            break;
        case 2:
            top = QColor(0x6a, 0xb6, 0xff);
            bottom = kAccentDeep;
            ring = QColor(0xa8, 0xd4, 0xff);
            ringWidth = 2;
            dot = kWhite;
            break;
        case 3:
            top = QColor(0x3a, 0x41, 0x4b);
            bottom = QColor(0x2e, 0x34, 0x3c);
            ring = QColor(0x24, 0x29, 0x30);
            dot = QColor(0x4b, 0x53, 0x5e);
            break;
        default:
            break;
        }
        if (state != 3) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 80));
            p.drawEllipse(c + QPointF(0, 1), radius + 0.5, radius + 0.5);
        }
        QLinearGradient fill(0, c.y() - radius, 0, c.y() + radius);
        fill.setColorAt(0, top);
        fill.setColorAt(1, bottom);
        p.setPen(QPen(ring, ringWidth));
        p.setBrush(fill);
        p.drawEllipse(c, radius - ringWidth / 2 + 0.5, radius - ringWidth / 2 + 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(c, 3, 3);
    });
}

QImage sliderBarStrip(QSize frame, const QList<int>& stops) {
    return makeStrip(frame, 4, [&](QPainter& p, QSize size, int state) {
        QColor groove = kField, line = kFieldBorder, tick(0x4e, 0x59, 0x67);
        switch (state) {
        case 1:
            line = QColor(0x5b, 0x67, 0x78);
            tick = QColor(0x6e, 0x7a, 0x8a);
            break;
        case 2:
            groove = QColor(0x13, 0x35, 0x5c);
            line = kAccent;
            tick = QColor(0x6c, 0xb6, 0xff);
            break;
        case 3:
            groove = QColor(0x14, 0x17, 0x1b);
            line = QColor(0x25, 0x2a, 0x31);
            tick = QColor(0x2a, 0x30, 0x37);
            break;
        default:
            break;
        }
        const qreal w = 9;
        const QRectF grooveRect((size.width() - w) / 2.0, 0, w, size.height());
        p.setPen(QPen(line, 1));
        p.setBrush(groove);
        p.drawRoundedRect(hairline(grooveRect), 4, 4);
        // A notch in the groove at every stop.
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int y : stops) {
            const int row = std::clamp(y, 2, size.height() - 3);
            p.fillRect(QRect(int(grooveRect.left()) + 2, row, int(w) - 4, 1), tick);
        }
    });
}

} // namespace skin
