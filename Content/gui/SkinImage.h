#pragma once
// Skin images: decoding by content (the ".tksx" extension means nothing), the resource
// route, and the frame-strip rule every control draws with.
#include "GUITypes.h"

#include <QImage>
#include <QRectF>
#include <QString>

#include <memory>

class QPaintDevice;

// An owned image object; empty means "no image".
using SkinImagePtr = std::unique_ptr<QImage>;

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

// Frame k of an N-frame strip: left = k * (width div N), width = width / N as a real,
// top 0, full height. frames <= 0 is treated as 1.
QRectF SkinFrameSource(const QImage& img, int frame, int frames);

// Draws frame `frame` of an N-frame strip stretched into the absolute rectangle
// (left, top, |right - left|, |bottom - top|), no colour adjustment (source-over).
// Does nothing without a device, without a usable image.
void DrawSkinFrame(QPaintDevice* pDC, const QImage* img, int frame, int frames, const GUIRect& rc);
