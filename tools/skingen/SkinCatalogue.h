// The skin files the panel and the splash read, and how each one is drawn.
#pragma once

#include "SkinStyle.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>

namespace skin {

struct SkinFile {
    QString relativePath; // under GUISkin/, with "/" separators
    Kind kind;
    int frames;
    QSize frameSize;
    std::function<QImage()> draw;
};

const QList<SkinFile>& catalogue();

// The file of `relativePath` drawn at `scale`: the path itself at 1, "<name>@2x.tksx" at 2.
QString scaledSkinPath(const QString& relativePath, int scale);

// Draws every file under `skinRoot` (the GUISkin folder), at scale 1 and, beside each, at
// scale 2. Returns false and says why in `error` when a folder or file cannot be written.
bool writeSkin(const QString& skinRoot, QString* error);

} // namespace skin
