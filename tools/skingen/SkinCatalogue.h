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

// Draws every file under `skinRoot` (the GUISkin folder). Returns false and says why in
// `error` when a folder or file cannot be written.
bool writeSkin(const QString& skinRoot, QString* error);

} // namespace skin
