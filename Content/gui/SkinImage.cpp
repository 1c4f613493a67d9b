#include "SkinImage.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace {

SkinImagePtr DecodeFromDevice(QImageReader& reader) {
    // The content decides the format; the file name's extension carries no meaning.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    QImage img = reader.read();
    if (img.isNull()) return nullptr;
    return std::make_unique<QImage>(img.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

} // namespace

SkinImagePtr LoadSkinImageFile(const QString& path) {
    if (path.isEmpty()) return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return nullptr;
    // Reading through the opened device keeps the reader from guessing by suffix.
    QImageReader reader(&file);
    return DecodeFromDevice(reader);
}

bool SkinImageFromResource(int resId, const QString& resType, SkinImagePtr& out) {
    // A resource is a file to QFile: the same decoding by content.
    out = LoadSkinImageFile(QStringLiteral(":/%1/%2").arg(resType).arg(resId));
    return out != nullptr;
}

SkinImagePtr LoadSkinImage(int resId, const QString& resType, const QString& path) {
    if (resId != 0) {
        SkinImagePtr img;
        SkinImageFromResource(resId, resType, img);
        return img;
    }
    return LoadSkinImageFile(path);
}

QRectF SkinFrameSource(const QImage& img, int frame, int frames) {
    if (frames <= 0) frames = 1;
    const int width = img.width();
    const int left = frame * (width / frames);
    return QRectF(left, 0.0, static_cast<double>(width) / frames, img.height());
}

void DrawSkinFrame(QPaintDevice* pDC, const QImage* img, int frame, int frames, const GUIRect& rc) {
    if (pDC == nullptr || !SkinImageUsable(img)) return;
    QPainter painter(pDC);
    if (!painter.isActive()) return;
    painter.drawImage(AbsRectF(rc), *img, SkinFrameSource(*img, frame, frames));
}
