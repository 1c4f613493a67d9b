#pragma once
// Skin images: decoding by content (the ".tksx" extension means nothing), the resource
// route, the twice-as-large twin for high-density screens, and the frame-strip rule every
// control draws with.
#include "GUITypes.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>
#include <mutex>

class QPaintDevice;

// A skin file's picture as read (what every size, strip and hit rule uses), and its
// twice-as-large twin "<name>@2x.<ext>" beside the file, which Qt's own naming rule marks
// as device pixel ratio 2. The twin is read the first time a dense surface asks for it:
// most screens never need it, and the whole-panel ones are large.
class SkinImage : public QImage {
public:
    SkinImage(const QImage& image, QString twinPath);

    // The twin when the ratio is 1.5 or more and the twin file decodes at exactly twice
    // this picture's size; otherwise this picture.
    const QImage& ForRatio(qreal ratio) const;

private:
    QString m_strTwinPath;
    mutable std::once_flag m_onceTwin;
    mutable QImage m_imgTwin;
};

// An owned image object; empty means "no image".
using SkinImagePtr = std::unique_ptr<SkinImage>;

// Where the twin of a skin file lies: "@2x" before the last dot of the file name.
QString SkinTwinPath(const QString& path);
// The picture to draw of img on a device of the given device pixel ratio: a skin image's
// twin from 1.5 up (the nearer of the two scales; 1.5 takes the sharper one), else img.
const QImage& SkinImageForRatio(const QImage& img, qreal ratio);

// Decodes the file at path, recognising the format from the file's content.
// Returns no image when the file is missing or undecodable.
SkinImagePtr LoadSkinImageFile(const QString& path);

// Image from the application's Qt resources: ":/<type>/<id>" (e.g. ":/PNG/101").
// True when an image was made; out receives it (an empty pointer otherwise).
bool SkinImageFromResource(int resId, const QString& resType, SkinImagePtr& out);

// resId != 0: from the resource (resId, resType); otherwise from the file at path.
SkinImagePtr LoadSkinImage(int resId, const QString& resType, const QString& path);

// True when img holds a decoded image of nonzero width (what counts as "loaded").
inline bool SkinImageUsable(const QImage* img) {
    return img != nullptr && !img->isNull() && img->width() > 0;
}

// Whether `picture` (img itself or its twin, from SkinImageForRatio) must be resampled to
// land on a device of that ratio: true unless it is drawn pixel for pixel.
bool NeedsSmoothing(const QImage& img, const QImage& picture, qreal ratio);

// Frame k of an N-frame strip: left = k * (width div N), width = width / N as a real,
// top 0, full height. frames <= 0 is treated as 1.
QRectF SkinFrameSource(const QImage& img, int frame, int frames);

// Draws frame `frame` of an N-frame strip stretched into the absolute rectangle
// (left, top, |right - left|, |bottom - top|), no colour adjustment (source-over).
// Does nothing without a device, without a usable image. On a device of another ratio
// than 1 the picture for that ratio is drawn, smoothly scaled.
void DrawSkinFrame(QPaintDevice* pDC, const QImage* img, int frame, int frames, const GUIRect& rc);
