#include "GUIGDIPlusMfcPainter.h"

#include "SkinImage.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QIcon>
#include <QLinearGradient>
#include <QMutex>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCornerMark = 6;
constexpr int kDefaultIconSize = 32;

QPen MakePen(GUIColorRef clr, unsigned alpha, int width, bool solid) {
    QPen pen(BrushColor(clr, alpha));
    pen.setWidth(std::max(0, width));
    pen.setCapStyle(Qt::FlatCap);
    if (solid) {
        pen.setStyle(Qt::SolidLine);
    } else {
        // Dots as long as the pen is wide, with gaps of the same length.
        pen.setDashPattern({1.0, 1.0});
    }
    return pen;
}

Qt::Alignment HorizontalAlignment(int alignment) {
    switch (alignment) {
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

QColor ColorFromRef(GUIColorRef clr, unsigned alpha) {
    const int red = static_cast<int>(clr & 0xFF);
    const int green = static_cast<int>((clr >> 8) & 0xFF);
    const int blue = static_cast<int>((clr >> 16) & 0xFF);
    return QColor(red, green, blue, static_cast<int>(std::min(alpha, 255u)));
}

unsigned BrushAlpha(unsigned alpha) {
    return alpha >= 255 ? 254 : alpha;
}

QColor BrushColor(GUIColorRef clr, unsigned alpha) {
    return ColorFromRef(clr, BrushAlpha(alpha));
}

QString ResolveFontFace(const QString& face) {
    // Asking fontconfig costs more than drawing the label, and a panel repaint draws
    // dozens of labels in the same few faces: remember each answer.
    static QMutex mutex;
    static QHash<QString, bool> known;
    if (face.isEmpty()) return QStringLiteral("Arial");
    QMutexLocker lock(&mutex);
    auto it = known.constFind(face);
    if (it == known.constEnd()) it = known.insert(face, QFontDatabase::hasFamily(face));
    return it.value() ? face : QStringLiteral("Arial");
}

void DrawSkinText(QPaintDevice* pDC, const QString& text, const QRectF& layout, const QString& face,
                  unsigned pixelSize, bool bold, bool italic, const QColor& color, int angle,
                  int alignment) {
    if (pDC == nullptr || text.isEmpty() || pixelSize == 0) return;
    QPainter painter(pDC);
    if (!painter.isActive()) return;

    QFont font(ResolveFontFace(face));
    font.setPixelSize(static_cast<int>(pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    painter.setFont(font);
    painter.setPen(color);

    // Rotation about the device origin, not about the layout rectangle.
    painter.rotate(angle);
    int flags = static_cast<int>(HorizontalAlignment(alignment) | Qt::AlignVCenter);
    if (layout.width() > 0 && layout.height() > 0) {
        flags |= Qt::TextWordWrap;
        painter.setClipRect(layout);
    } else {
        // A layout without area does not bound the text.
        flags |= Qt::TextDontClip;
    }
    painter.drawText(layout, flags, text);
}

CGUIGDIPlusMfcPainter::CGUIGDIPlusMfcPainter() = default;

CGUIGDIPlusMfcPainter::~CGUIGDIPlusMfcPainter() {
    Shutdown();
}

void CGUIGDIPlusMfcPainter::Startup() {
    if (m_bStarted) return;
    m_fAlphaScale = 1.0f;
    m_bStarted = true;
}

void CGUIGDIPlusMfcPainter::Shutdown() {
    m_bStarted = false;
}

float CGUIGDIPlusMfcPainter::SetAlphaScale(unsigned alpha) {
    const unsigned a = std::min(alpha, 255u);
    const float transparency = 100.0f - static_cast<float>(a) * 100.0f / 255.0f;
    m_fAlphaScale = (100.0f - transparency) / 100.0f;
    return m_fAlphaScale;
}

void CGUIGDIPlusMfcPainter::DrawSkinImage(const QImage& img, QPaintDevice* pDC, int x, int y,
                                          int width, int height, unsigned alpha) {
    if (!m_bStarted || pDC == nullptr || img.isNull()) return;
    const float scale = SetAlphaScale(alpha);
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.setOpacity(scale);
    const qreal ratio = pDC->devicePixelRatioF();
    const QImage& picture = SkinImageForRatio(img, ratio);
    if (NeedsSmoothing(img, picture, ratio)) painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(x, y, width, height), picture, QRectF(picture.rect()));
}

void CGUIGDIPlusMfcPainter::DrawSkinImage(const QString& path, QPaintDevice* pDC, int x, int y,
                                          int width, int height, unsigned alpha) {
    if (!m_bStarted || pDC == nullptr) return;
    const SkinImagePtr img = LoadSkinImageFile(path);
    if (img) DrawSkinImage(*img, pDC, x, y, width, height, alpha);
}

void CGUIGDIPlusMfcPainter::DrawSkinImage(int resId, const QString& resType, QPaintDevice* pDC,
                                          int x, int y, int width, int height, unsigned alpha) {
    if (!m_bStarted || pDC == nullptr) return;
    SkinImagePtr img;
    if (SkinImageFromResource(resId, resType, img))
        DrawSkinImage(*img, pDC, x, y, width, height, alpha);
}

void CGUIGDIPlusMfcPainter::DrawTextEx(QPaintDevice* pDC, const QString& text, int left, int top,
                                       int right, int bottom, bool bold, unsigned size,
                                       GUIColorRef clr, unsigned alpha, int angle, int alignment,
                                       const QString& face) {
    if (!m_bStarted) return;
    DrawSkinText(pDC, text, QRectF(left, top, right - left, bottom - top), face, size, bold, false,
                 BrushColor(clr, alpha), angle, alignment);
}

bool CGUIGDIPlusMfcPainter::GetSkinImageRect(int resId, const QString& resType, const QString& path,
                                             GUIRect& rcOut) {
    rcOut = GUIRect{};
    if (!m_bStarted) return false;
    const SkinImagePtr img = LoadSkinImage(resId, resType, path);
    if (!img) return false;
    rcOut = GUIRect{0, 0, img->width(), img->height()};
    return true;
}

void CGUIGDIPlusMfcPainter::DrawImageAt(const QString& path, QPaintDevice* pDC, int x, int y,
                                        unsigned alpha) {
    if (!m_bStarted || pDC == nullptr) return;
    const SkinImagePtr img = LoadSkinImageFile(path);
    if (img) DrawSkinImage(*img, pDC, x, y, img->width(), img->height(), alpha);
}

void CGUIGDIPlusMfcPainter::DrawSkinImageClip(int resId, const QString& resType,
                                              const QString& path, QPaintDevice* pDC, int x, int y,
                                              int srcX, int srcY, int maxWidth, int maxHeight,
                                              unsigned alpha) {
    if (!m_bStarted || pDC == nullptr) return;
    const SkinImagePtr img = LoadSkinImage(resId, resType, path);
    if (!img) return;
    const int w = std::min(img->width(), maxWidth);
    const int h = std::min(img->height(), maxHeight);
    if (w <= 0 || h <= 0) return;
    const float scale = SetAlphaScale(alpha);
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.setOpacity(scale);
    painter.drawImage(QRect(x, y, w, h), *img, QRect(srcX, srcY, w, h));
}

void CGUIGDIPlusMfcPainter::DrawScaledImage(int resId, const QString& resType, const QString& path,
                                            QPaintDevice* pDC, int x, int y, double scale) {
    if (!m_bStarted || pDC == nullptr || scale < 0.0) return;
    const SkinImagePtr img = LoadSkinImage(resId, resType, path);
    if (!img) return;
    const int w = static_cast<int>(img->width() * scale);
    const int h = static_cast<int>(img->height() * scale);
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.drawImage(QRect(x, y, w, h), *img, img->rect());
}

void CGUIGDIPlusMfcPainter::DrawExeIcon(const QString& exePath, QPaintDevice* pDC, int x, int y,
                                        int width, int height) {
    if (!m_bStarted || pDC == nullptr) return;
    const QIcon icon = QFileIconProvider().icon(QFileInfo(exePath));
    if (icon.isNull()) return;
    const bool sized = width != 0 && height != 0;
    const QRect target(x, y, sized ? width : kDefaultIconSize, sized ? height : kDefaultIconSize);
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    icon.paint(&painter, target);
}

void CGUIGDIPlusMfcPainter::DrawLineEx(QPaintDevice* pDC, int x1, int y1, int x2, int y2,
                                       GUIColorRef clr, unsigned alpha, int penWidth, bool solid) {
    if (!m_bStarted || pDC == nullptr) return;
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.setPen(MakePen(clr, alpha, penWidth, solid));
    painter.drawLine(x1, y1, x2, y2);
}

void CGUIGDIPlusMfcPainter::FillGradientRect(QPaintDevice* pDC, const GUIRect& rc, GUIColorRef clr1,
                                             unsigned alpha1, GUIColorRef clr2, unsigned alpha2,
                                             int angle) {
    if (!m_bStarted || pDC == nullptr) return;
    const QRectF rect(rc.left, rc.top, rc.Width(), rc.Height());
    if (rect.width() <= 0 || rect.height() <= 0) return;
    // The gradient line runs through the centre at the brush angle (clockwise from
    // the x axis, y down) and spans the projections of the four corners.
    const double theta = (90.0 - angle) * M_PI / 180.0;
    const QPointF dir(std::cos(theta), std::sin(theta));
    const QPointF centre = rect.center();
    double lo = 0.0;
    double hi = 0.0;
    for (const QPointF& corner :
         {rect.topLeft(), rect.topRight(), rect.bottomLeft(), rect.bottomRight()}) {
        const QPointF d = corner - centre;
        const double proj = d.x() * dir.x() + d.y() * dir.y();
        lo = std::min(lo, proj);
        hi = std::max(hi, proj);
    }
    QLinearGradient gradient(centre + dir * lo, centre + dir * hi);
    gradient.setColorAt(0.0, BrushColor(clr1, alpha1));
    gradient.setColorAt(1.0, BrushColor(clr2, alpha2));
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.fillRect(rect, gradient);
}

void CGUIGDIPlusMfcPainter::DrawFrameRect(QPaintDevice* pDC, const GUIRect& rc, GUIColorRef clr,
                                          unsigned alpha, int penWidth, bool solid, int style) {
    if (!m_bStarted || pDC == nullptr || (style != 0 && style != 1)) return;
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.setPen(MakePen(clr, alpha, penWidth, solid));
    const int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
    if (style == 0) {
        painter.drawLine(l, t, r, t);
        painter.drawLine(r, t, r, b);
        painter.drawLine(r, b, l, b);
        painter.drawLine(l, b, l, t);
        return;
    }
    const int m = kCornerMark;
    painter.drawLine(l, t, l + m, t);
    painter.drawLine(l, t, l, t + m);
    painter.drawLine(r, t, r - m, t);
    painter.drawLine(r, t, r, t + m);
    painter.drawLine(r, b, r - m, b);
    painter.drawLine(r, b, r, b - m);
    painter.drawLine(l, b, l + m, b);
    painter.drawLine(l, b, l, b - m);
}

void CGUIGDIPlusMfcPainter::DrawEllipseEx(QPaintDevice* pDC, int left, int top, int right,
                                          int bottom, GUIColorRef fillClr, int borderWidth,
                                          GUIColorRef borderClr) {
    if (!m_bStarted || pDC == nullptr) return;
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF rect = AbsRectF(GUIRect{left, top, right, bottom});
    painter.setPen(Qt::NoPen);
    painter.setBrush(BrushColor(fillClr, 255));
    painter.drawEllipse(rect);
    if (borderWidth > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(MakePen(borderClr, 255, borderWidth, true));
        painter.drawEllipse(rect);
    }
}

void CGUIGDIPlusMfcPainter::FillRectEx(QPaintDevice* pDC, const GUIRect& rc, GUIColorRef clr,
                                       unsigned alpha) {
    if (!m_bStarted || pDC == nullptr) return;
    if (rc.Width() <= 0 || rc.Height() <= 0) return;
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.fillRect(QRect(rc.left, rc.top, rc.Width(), rc.Height()), BrushColor(clr, alpha));
}
