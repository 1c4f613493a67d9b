#include "SkinImage.h"

#include "DebugTrace.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

namespace {

// From this device pixel ratio on, the twice-as-large picture is the nearer one.
constexpr qreal kTwinFromRatio = 1.5;
constexpr int kTwinScale = 2;

QImage DecodeFromDevice(QImageReader& reader) {
    // The content decides the format; the file name's extension carries no meaning.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    QImage img = reader.read();
    if (img.isNull()) return img;
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage DecodeFile(const QString& path) {
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // Reading through the opened device keeps the reader from guessing by suffix; the
    // reader still takes the ratio 2 from an "@2x" name.
    QImageReader reader(&file);
    return DecodeFromDevice(reader);
}

} // namespace

SkinImage::SkinImage(const QImage& image, QString twinPath)
    : QImage(image), m_strTwinPath(std::move(twinPath)) {}

const QImage& SkinImage::ForRatio(qreal ratio) const {
    if (ratio < kTwinFromRatio || m_strTwinPath.isEmpty()) return *this;
    std::call_once(m_onceTwin, [this] {
        QImage twin = DecodeFile(m_strTwinPath);
        if (twin.isNull()) return;
        if (twin.size() != size() * kTwinScale) {
            // A twin of another size would shift every frame of the strip: keep the 1x.
            RZ8_TRACE("[D][Skin] %s is %dx%d, not twice %dx%d: not used\n",
                      qUtf8Printable(m_strTwinPath), twin.width(), twin.height(), width(),
                      height());
            return;
        }
        m_imgTwin = std::move(twin);
    });
    return m_imgTwin.isNull() ? static_cast<const QImage&>(*this) : m_imgTwin;
}

QString SkinTwinPath(const QString& path) {
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int at = dot > slash ? dot : int(path.size());
    return path.left(at) + QStringLiteral("@2x") + path.mid(at);
}

const QImage& SkinImageForRatio(const QImage& img, qreal ratio) {
    // Only a skin image knows its twin; plain pictures draw as they are.
    if (const auto* skin = dynamic_cast<const SkinImage*>(&img)) return skin->ForRatio(ratio);
    return img;
}

bool NeedsSmoothing(const QImage& img, const QImage& picture, qreal ratio) {
    // The 1x picture at ratio 1 and the twin at ratio 2 land pixel for pixel (the fast
    // copy, and at ratio 1 exactly what was always drawn); anything else is resampled.
    const qreal pictureScale = &picture == &img ? 1.0 : kTwinScale;
    return ratio != pictureScale;
}

SkinImagePtr LoadSkinImageFile(const QString& path) {
    QImage img = DecodeFile(path);
    if (img.isNull()) return nullptr;
    return std::make_unique<SkinImage>(img, SkinTwinPath(path));
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
    const qreal ratio = pDC->devicePixelRatioF();
    const QImage& picture = SkinImageForRatio(*img, ratio);
    if (NeedsSmoothing(*img, picture, ratio))
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(AbsRectF(rc), picture, SkinFrameSource(picture, frame, frames));
}
