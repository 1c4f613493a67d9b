#include "SkinBackground.h"

#include "SkinDiagram.h"
#include "SkinPlaces.h"
#include "SkinStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skin {

namespace {

using namespace colour;
constexpr qreal kWindowRadius = 10;
// How much of the panel each shade's veil covers.
constexpr int kWorkingVeilAlpha = 205;
constexpr int kAnswerVeilAlpha = 100;
constexpr qreal kCardRadius = 8;

// Cards that group the panel's controls; each hugs what it holds.
constexpr QRect kToolbarCard = ltrb(6, 40, 1229, 102);
constexpr QRect kDeviceCard = ltrb(6, 106, 1229, 222);
constexpr int kDeviceHeaderBottom = 136;
constexpr QRect kRadioCard = ltrb(6, 226, 138, 898);
constexpr QRect kResCard = ltrb(244, 254, 446, 898);
constexpr QRect kParamCard = ltrb(556, 254, 1229, 898);
// Illustrations beside and below the parameter rows.
constexpr QRect kFrameWell = ltrb(1050, 295, 1219, 616);
constexpr QRect kTraceWell = ltrb(566, 640, 1219, 888);
constexpr int kSectionHeaderBottom = 290;

QPainterPath windowShape(QSize size) {
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), kWindowRadius, kWindowRadius);
    return path;
}

struct Accents {
    QColor heading; // line under a heading band
    QColor link;    // title accent and link light
};

Accents accentsFor(bool connected) {
    if (connected) return {kAmber, kAccent};
    return {QColor(0x80, 0x86, 0x8e), QColor(0x5a, 0x62, 0x6c)};
}

void drawBase(QPainter& p, QSize size) {
    p.setPen(Qt::NoPen);
    p.setBrush(kBase);
    p.drawPath(windowShape(size));
    // A faint dot grid keeps the open areas from looking unfinished.
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int y = pg::kTitleHeight + 12; y < size.height() - 6; y += 12)
        for (int x = 12; x < size.width() - 6; x += 12)
            p.fillRect(x, y, 1, 1, kBaseDot);
    p.restore();
}

void drawLogo(QPainter& p, const QPointF& at, const QColor& tint) {
    // A two-by-two wall of screens.
    const qreal cell = 8, gap = 2;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            const QRectF r(at.x() + col * (cell + gap), at.y() + row * (cell + gap), cell, cell);
            QLinearGradient fill(r.topLeft(), r.bottomRight());
            fill.setColorAt(0, tint.lighter(125));
            fill.setColorAt(1, tint.darker(130));
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRoundedRect(r, 1.5, 1.5);
        }
}

void drawTitleStrip(QPainter& p, QSize size, const Accents& accents, bool connected) {
    p.save();
    p.setClipPath(windowShape(size));
    const QRectF strip(0, 0, size.width(), pg::kTitleHeight);
    QLinearGradient fill(strip.topLeft(), strip.bottomLeft());
    fill.setColorAt(0, kTitleTop);
    fill.setColorAt(1, kTitleBottom);
    p.fillRect(strip, fill);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, pg::kTitleHeight, size.width(), 1), kCardBorder);
    // Accent under the title text, fading out to the right.
    QLinearGradient accent(0, 0, size.width() * 0.6, 0);
    QColor strong = accents.link;
    strong.setAlpha(220);
    QColor none = accents.link;
    none.setAlpha(0);
    accent.setColorAt(0, strong);
    accent.setColorAt(1, none);
    p.fillRect(QRect(0, pg::kTitleHeight - 1, size.width(), 2), accent);
    p.setRenderHint(QPainter::Antialiasing, true);
    drawLogo(p, QPointF(12, 7), connected ? kAmber : QColor(0x9a, 0xa0, 0xa8));

    // Link light left of the Exit button.
    const QPointF led(q(pg::kExit).left() - 18, q(pg::kExit).center().y() + 0.5);
    const QColor lit = connected ? kOn : QColor(0x6b, 0x2b, 0x2e);
    if (connected) {
        QRadialGradient glow(led, 9);
        glow.setColorAt(0, QColor(lit.red(), lit.green(), lit.blue(), 140));
        glow.setColorAt(1, QColor(lit.red(), lit.green(), lit.blue(), 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(led, 9, 9);
    }
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(connected ? lit.lighter(120) : lit);
    p.drawEllipse(led, 4, 4);
    p.restore();
}

QPainterPath cardShape(const QRect& card) {
    QPainterPath path;
    path.addRoundedRect(QRectF(card), kCardRadius, kCardRadius);
    return path;
}

void drawCard(QPainter& p, const QRect& card) {
    const QRectF edge = hairline(QRectF(card));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(edge.translated(0, 1.5), kCardRadius, kCardRadius);
    p.setPen(QPen(kCardBorder, 1));
    p.setBrush(kCard);
    p.drawRoundedRect(edge, kCardRadius, kCardRadius);
}

// A heading band across a card, clipped to the card's rounded shape, with a line under it
// that carries the accent from the left and fades out.
void drawBand(QPainter& p, const QRect& card, int top, int bottom, const QColor& accent) {
    p.save();
    p.setClipPath(cardShape(card.adjusted(1, 1, -1, -1)));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(card.left(), top, card.width(), bottom - top), kBand);
    p.fillRect(QRect(card.left(), bottom - 1, card.width(), 1), kBandLine);
    QLinearGradient fade(card.left(), 0, card.left() + card.width() * 0.7, 0);
    QColor strong = accent;
    strong.setAlpha(200);
    QColor none = accent;
    none.setAlpha(0);
    fade.setColorAt(0, strong);
    fade.setColorAt(1, none);
    p.fillRect(QRect(card.left(), bottom - 1, card.width(), 1), fade);
    p.restore();
}

void drawWell(QPainter& p, const QRect& r, qreal radius = 5) {
    p.setPen(QPen(QColor(0x28, 0x2f, 0x38), 1));
    p.setBrush(kWell);
    p.drawRoundedRect(hairline(QRectF(r)), radius, radius);
}

void drawToolbar(QPainter& p) {
    drawCard(p, kToolbarCard);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // Dividers between the switches, the device actions and Apply.
    const int dividers[2] = {(q(pg::kSwitches[2]).right() + 1 + q(pg::kIdentify).left()) / 2,
                             (q(pg::kSetting).right() + 1 + q(pg::kApply).left()) / 2};
    for (int x : dividers) {
        p.fillRect(QRect(x, 52, 1, 38), kBandLine);
        p.fillRect(QRect(x + 1, 52, 1, 38), QColor(0, 0, 0, 70));
    }
    p.restore();
}

void drawDeviceRow(QPainter& p, const Accents& accents, bool connected) {
    drawCard(p, kDeviceCard);
    drawBand(p, kDeviceCard, kDeviceCard.top(), kDeviceHeaderBottom, accents.heading);
    // One bay per controller slot; a found controller fills its bay with a button and label.
    for (int i = 0; i < pg::kDeviceCount; ++i) {
        const QRect button = q(pg::deviceButton(i));
        const QRect bay(button.center().x() - 35, 139, 72, 81);
        QPen pen(connected ? QColor(0x2e, 0x36, 0x40) : QColor(0x29, 0x30, 0x38), 1);
        if (!connected) pen.setDashPattern({3, 2});
        p.setPen(pen);
        p.setBrush(connected ? kWell : QColor(0x1b, 0x20, 0x26));
        p.drawRoundedRect(hairline(QRectF(bay)), 5, 5);
    }
}

void drawRadioColumn(QPainter& p, const Accents& accents) {
    drawCard(p, kRadioCard);
    for (int g = 0; g < 5; ++g) {
        const QRect heading = q(pg::kRadioGroups[g].heading);
        const int top = g == 0 ? kRadioCard.top() : heading.top() - 4;
        drawBand(p, kRadioCard, top, heading.bottom() + 1 + 4, accents.heading);
    }
}

void drawResolutionColumn(QPainter& p, const Accents& accents) {
    drawCard(p, kResCard);
    drawBand(p, kResCard, kResCard.top(), kSectionHeaderBottom, accents.heading);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // Stop marks left of the bar, level with the thumb's centre at each stop, and faint
    // guides under the resolution texts beside them.
    for (int i = 0; i < pg::kSliderStops; ++i) {
        const int centre = pg::sliderStopTop(i) + 11;
        p.fillRect(QRect(262, centre, 9, 1), QColor(0x4e, 0x59, 0x67));
        if (i < pg::kSliderStops - 1) {
            const QRect label = q(pg::resLabel(i));
            p.fillRect(QRect(label.left(), label.bottom() + 3, 130, 1), QColor(0x22, 0x28, 0x30));
        }
    }
    p.restore();
    // The user-defined resolution row: width x height and its Set button.
    const int left = q(pg::kSliderBar).right() + 1 + 1;
    const QRect row(left, q(pg::kUserWidthBox).top() - 5, q(pg::kSet).right() + 1 + 6 - left,
                    q(pg::kUserWidthBox).height() + 10);
    drawWell(p, row);
}

void drawParameterArea(QPainter& p, const Accents& accents, bool connected) {
    drawCard(p, kParamCard);
    drawBand(p, kParamCard, kParamCard.top(), kSectionHeaderBottom, accents.heading);
    for (const auto& places : pg::kParamRows) {
        const QRect label = q(places.label), inc = q(places.inc), dec = q(places.dec);
        const QRect well(label.left() - 6, inc.top() - 5, inc.right() + 1 + 6 - (label.left() - 6),
                         dec.bottom() + 1 + 5 - (inc.top() - 5));
        drawWell(p, well);
    }
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int y = (q(pg::kParamRows[0].dec).bottom() + q(pg::kParamRows[1].inc).top()) / 2;
    const int rowsRight = q(pg::kParamRows[6].inc).right() + 1 + 8;
    p.fillRect(QRect(kParamCard.left() + 12, y, rowsRight - kParamCard.left() - 12, 1), kBandLine);
    p.restore();
    drawWell(p, kFrameWell);
    drawFrameDiagram(p, QRectF(kFrameWell).adjusted(20, 20, -20, -20), connected);
    drawWell(p, kTraceWell);
    drawTimingTrace(p, QRectF(kTraceWell).adjusted(16, 10, -16, -10), connected);
}

void drawWindowBorder(QPainter& p, QSize size) {
    p.setPen(QPen(kWindowBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(hairline(QRectF(QPointF(0, 0), size)), kWindowRadius, kWindowRadius);
}

} // namespace

QImage mainBackground(bool connected) {
    QImage image = makeCanvas(kPanelSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const Accents accents = accentsFor(connected);
    const QSize size = kPanelSize;
    drawBase(p, size);
    drawTitleStrip(p, size, accents, connected);
    drawToolbar(p);
    drawDeviceRow(p, accents, connected);
    drawRadioColumn(p, accents);
    drawResolutionColumn(p, accents);
    drawParameterArea(p, accents, connected);
    drawWindowBorder(p, size);
    return image;
}

QImage shadeStrip(bool setting) {
    return makeStrip(kPanelSize, 2, [&](QPainter& p, QSize size, int state) {
        p.setPen(Qt::NoPen);
        if (state == 0) {
            // Working: the panel sinks well back behind the busy card. Waiting for the
            // operator's answer: a light veil that leaves the panel readable behind the
            // question, so what is to be kept or reverted can still be seen.
            p.setBrush(setting ? QColor(6, 8, 11, kWorkingVeilAlpha)
                               : QColor(6, 8, 11, kAnswerVeilAlpha));
            p.drawPath(windowShape(size));
        } else {
            // Disabled look: a grey veil with fine diagonal hatching.
            p.setBrush(QColor(70, 76, 86, 110));
            p.drawPath(windowShape(size));
            p.setClipPath(windowShape(size));
            p.setPen(QPen(QColor(255, 255, 255, 18), 1));
            for (int x = -size.height(); x < size.width(); x += 8)
                p.drawLine(x, size.height(), x + size.height(), 0);
        }
        if (!setting || state != 0) return;
        // Busy card in the middle: the panel is talking to a controller.
        const QRectF card(size.width() / 2.0 - 150, size.height() / 2.0 - 42, 300, 84);
        p.setPen(QPen(kCardBorder, 1));
        p.setBrush(QColor(0x1a, 0x1f, 0x25, 245));
        p.drawRoundedRect(hairline(card), 10, 10);
        const QPointF centre(card.left() + 42, card.center().y());
        p.setPen(QPen(QColor(0x2c, 0x34, 0x3e), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 16, 16);
        p.setPen(QPen(kAccent, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(centre - QPointF(16, 16), QSizeF(32, 32)), 90 * 16, -110 * 16);
        const QRectF text(card.left() + 76, card.top(), card.width() - 90, card.height());
        p.setFont(arial(15, true));
        p.setPen(kWhite);
        p.drawText(text.adjusted(0, 0, 0, -card.height() / 2 + 2), Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Please wait..."));
        p.setFont(arial(12));
        p.setPen(QColor(0xa9, 0xb2, 0xbd));
        p.drawText(text.adjusted(0, card.height() / 2 + 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("Talking to the controller"));
    });
}

} // namespace skin
