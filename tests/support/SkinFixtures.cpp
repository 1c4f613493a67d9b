#include "SkinFixtures.h"

#include <QDir>

namespace SkinFixtures {

QColor FrameColor(int frame) {
    static const QRgb kColors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00,
                                   0xFFFF00FF, 0xFF00FFFF, 0xFF800000, 0xFF008000};
    return QColor::fromRgba(kColors[static_cast<unsigned>(frame) % 8]);
}

QImage MakeStrip(int frames, int frameWidth, int height) {
    QImage img(frames * frameWidth, height, QImage::Format_ARGB32);
    for (int k = 0; k < frames; ++k) {
        const QRgb c = FrameColor(k).rgba();
        for (int y = 0; y < height; ++y)
            for (int x = k * frameWidth; x < (k + 1) * frameWidth; ++x)
                img.setPixel(x, y, c);
    }
    return img;
}

QString WritePng(const QString& dir, const QString& name, const QImage& img) {
    const QString path = QDir(dir).filePath(name);
    // Explicit format: the name's extension need not say PNG.
    return img.save(path, "PNG") ? path : QString();
}

QString WriteStrip(const QString& dir, const QString& name, int frames, int frameWidth,
                   int height) {
    return WritePng(dir, name, MakeStrip(frames, frameWidth, height));
}

QImage MakeSurface(int width, int height) {
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

int FrameAt(const QImage& surface, QPoint p) {
    if (!surface.rect().contains(p)) return -1;
    const QRgb px = surface.pixelColor(p).rgba();
    for (int k = 0; k < 8; ++k)
        if (FrameColor(k).rgba() == px) return k;
    return -1;
}

bool IsClear(const QImage& surface, const QRect& r) {
    const QRect area = r.intersected(surface.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(surface.pixel(x, y)) != 0) return false;
    return true;
}

bool IsClear(const QImage& surface) {
    return IsClear(surface, surface.rect());
}

QRect InkBounds(const QImage& surface, int alphaThreshold) {
    QRect bounds;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            if (qAlpha(surface.pixel(x, y)) > alphaThreshold) bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int MaxAlpha(const QImage& surface) {
    int best = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            best = std::max(best, qAlpha(surface.pixel(x, y)));
    return best;
}

QColor MostOpaqueColor(const QImage& surface) {
    QColor best(0, 0, 0, 0);
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) {
            const QColor c = surface.pixelColor(x, y);
            if (c.alpha() > best.alpha()) best = c;
        }
    return best;
}

} // namespace SkinFixtures
