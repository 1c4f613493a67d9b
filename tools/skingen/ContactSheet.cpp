#include "ContactSheet.h"

#include "PanelMock.h"
#include "SkinCatalogue.h"
#include "SkinPlaces.h"
#include "SkinStyle.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace skin {

namespace {

constexpr int kWidth = 1420;
constexpr int kMargin = 24;
constexpr int kNameColumn = 220;
const QColor kSheetBack(0x0b, 0x0d, 0x10);
const QColor kTile(0x19, 0x1e, 0x24);
const QColor kNote(0x8b, 0x95, 0xa1);

QImage frameOf(const QImage& strip, int frames, int state) {
    const int w = strip.width() / frames;
    return strip.copy(w * state, 0, w, strip.height());
}

class Sheet {
public:
    explicit Sheet(QImage* canvas) : m_p(canvas) {
        m_p.setRenderHint(QPainter::Antialiasing);
        m_p.setRenderHint(QPainter::TextAntialiasing);
    }

    int y() const { return m_y; }

    void heading(const QString& text, const QString& note) {
        m_y += 8;
        m_p.setFont(arial(18, true));
        m_p.setPen(Qt::white);
        m_p.drawText(QRect(kMargin, m_y, kWidth, 26), Qt::AlignLeft | Qt::AlignVCenter, text);
        m_p.setFont(arial(12));
        m_p.setPen(kNote);
        m_p.drawText(QRect(kMargin, m_y + 26, kWidth, 18), Qt::AlignLeft | Qt::AlignVCenter, note);
        m_y += 56;
    }

    // One row: the file's name and size, then each frame on a tile with its state below.
    void strip(const SkinFile& file, const QImage& image, const QImage& overlay = {}) {
        const int scale = file.frameSize.height() <= 40 ? 2 : 1;
        const QSize shown = file.frameSize * scale;
        const int cell = std::max(shown.width(), 120) + 24;
        nameColumn(file, shown.height() + 16);
        const QStringList states = stateNames(file.kind);
        for (int s = 0; s < file.frames; ++s) {
            const int x = kMargin + kNameColumn + s * cell;
            const QRect tile(x, m_y, cell - 12, shown.height() + 16);
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(kTile);
            m_p.drawRoundedRect(tile, 6, 6);
            const QRect target(tile.left() + (tile.width() - shown.width()) / 2, m_y + 8,
                               shown.width(), shown.height());
            m_p.drawImage(target, frameOf(image, file.frames, s));
            if (!overlay.isNull()) drawOverlay(overlay, s, target);
            m_p.setFont(arial(12, s == 3 || (file.kind != Kind::Button && s >= 2)));
            m_p.setPen(kNote);
            m_p.drawText(QRect(tile.left(), tile.bottom() + 4, tile.width(), 18), Qt::AlignCenter,
                         QStringLiteral("%1  %2").arg(s).arg(states.value(s)));
        }
        m_y += shown.height() + 16 + 30;
    }

    void picture(const QImage& image, const QRect& where, const QString& caption) {
        m_p.drawImage(where,
                      image.scaled(where.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        m_p.setFont(arial(12));
        m_p.setPen(kNote);
        m_p.drawText(QRect(where.left(), where.bottom() + 4, where.width(), 18),
                     Qt::AlignLeft | Qt::AlignVCenter, caption);
    }

    void advance(int dy) { m_y += dy; }

private:
    void nameColumn(const SkinFile& file, int height) {
        const QString stem = QFileInfo(file.relativePath).completeBaseName();
        m_p.setFont(arial(13, true));
        m_p.setPen(Qt::white);
        m_p.drawText(QRect(kMargin, m_y, kNameColumn - 10, height / 2),
                     Qt::AlignLeft | Qt::AlignBottom,
                     stem.mid(stem.indexOf(QLatin1String("Ctrl"))));
        m_p.setFont(arial(12));
        m_p.setPen(kNote);
        m_p.drawText(QRect(kMargin, m_y + height / 2 + 2, kNameColumn - 10, 18),
                     Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("%1 x %2, %3 frames")
                         .arg(file.frameSize.width())
                         .arg(file.frameSize.height())
                         .arg(file.frames));
    }

    // The slider row shows the thumb resting on its third stop, in the same state as the bar.
    void drawOverlay(const QImage& thumbStrip, int state, const QRect& barTarget) {
        const QImage thumb = frameOf(thumbStrip, 4, state);
        const int top = barTarget.top() + pg::sliderStopTop(2) - q(pg::kSliderBar).top();
        const int left = barTarget.left() + q(pg::kSliderThumb).left() - q(pg::kSliderBar).left();
        m_p.drawImage(QPoint(left, top), thumb);
    }

    QPainter m_p;
    int m_y = kMargin;
};

QImage overShade(const QImage& background, const QImage& shade, int state) {
    QImage out = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    p.drawImage(0, 0, frameOf(shade, 2, state));
    p.end();
    return out;
}

struct Mocks {
    QImage connected;
    QImage idle;
};

int drawSheet(QImage* canvas, const QHash<QString, QImage>& images, const Mocks& mocks);

} // namespace

QImage contactSheet(const QString& skinRoot, QString* error) {
    const QDir root(skinRoot);
    QHash<QString, QImage> images;
    for (const SkinFile& file : catalogue()) {
        const QImage image = readSkin(root.filePath(file.relativePath));
        if (image.isNull()) {
            *error = QStringLiteral("cannot read %1").arg(root.filePath(file.relativePath));
            return {};
        }
        images.insert(file.relativePath, image);
    }

    const Mocks mocks{composePanel(skinRoot, true), composePanel(skinRoot, false)};
    if (mocks.connected.isNull() || mocks.idle.isNull()) {
        *error = QStringLiteral("cannot compose the panel from %1").arg(skinRoot);
        return {};
    }

    QImage canvas(kWidth, 8000, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(kSheetBack);
    const int used = drawSheet(&canvas, images, mocks);
    return canvas.copy(0, 0, kWidth, used);
}

namespace {

// The splash as it shows: version and notice right-aligned in its lower part.
QImage splashWithTexts(const QImage& background) {
    QImage out = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(0xff, 0xff, 0xff, 254));
    p.setFont(arial(12));
    p.drawText(QRectF(q(pg::kSplashVersion)), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("v3.11"));
    p.setFont(arial(11));
    p.drawText(QRectF(q(pg::kSplashNotice)), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("(c) 2026 the KZTRMaster authors"));
    return out;
}

int drawSheet(QImage* canvas, const QHash<QString, QImage>& images, const Mocks& mocks) {
    Sheet sheet(canvas);
    sheet.heading(QStringLiteral("KZTRMaster skin: controls"),
                  QStringLiteral("Every control strip, frame by frame; small controls at 2x."));
    const SkinFile* bar = nullptr;
    const SkinFile* thumb = nullptr;
    for (const SkinFile& file : catalogue()) {
        if (file.frames != 4) continue;
        if (file.relativePath.contains(QLatin1String("ResolutionBar"))) bar = &file;
        if (file.relativePath.contains(QLatin1String("ResolutionBtn"))) thumb = &file;
        if (&file != bar) sheet.strip(file, images.value(file.relativePath));
    }
    if (bar && thumb)
        sheet.strip(*bar, images.value(bar->relativePath), images.value(thumb->relativePath));

    const QSize half = kPanelSize / 2;
    sheet.heading(QStringLiteral("The panel put together"),
                  QStringLiteral("Backgrounds with every control and label in place, half size: "
                                 "with three controllers found, and right after start-up."));
    sheet.picture(mocks.connected, QRect(QPoint(kMargin, sheet.y()), half),
                  QStringLiteral("connected"));
    sheet.picture(mocks.idle, QRect(QPoint(kMargin + half.width() + 24, sheet.y()), half),
                  QStringLiteral("not connected (start-up)"));
    sheet.advance(half.height() + 40);

    sheet.heading(QStringLiteral("Backgrounds, shades and splash"),
                  QStringLiteral("Backgrounds alone at half size; shades over the connected "
                                 "panel at 0.3."));
    const QImage en = images.value(QStringLiteral("GUIFrameMain/GUIFrameMainBKEn.tksx"));
    const QImage ds = images.value(QStringLiteral("GUIFrameMain/GUIFrameMainBKDs.tksx"));
    sheet.picture(en, QRect(QPoint(kMargin, sheet.y()), half), QStringLiteral("BKEn (connected)"));
    sheet.picture(ds, QRect(QPoint(kMargin + half.width() + 24, sheet.y()), half),
                  QStringLiteral("BKDs (not connected)"));
    sheet.advance(half.height() + 40);

    const QSize small(370, 282);
    const QString shades[2] = {QStringLiteral("GUIFrameMain/GUIFrameMainBKShadowSetting.tksx"),
                               QStringLiteral("GUIFrameMain/GUIFrameMainBKShadowPure.tksx")};
    const QString names[2] = {QStringLiteral("BKShadowSetting"), QStringLiteral("BKShadowPure")};
    for (int s = 0; s < 2; ++s) {
        for (int state = 0; state < 2; ++state)
            sheet.picture(
                overShade(mocks.connected, images.value(shades[s]), state),
                QRect(QPoint(kMargin + state * (small.width() + 24), sheet.y()), small),
                QStringLiteral("%1, frame %2 (%3)")
                    .arg(names[s])
                    .arg(state)
                    .arg(state == 0 ? QStringLiteral("enabled") : QStringLiteral("disabled")));
        if (s == 0) {
            const QImage splash =
                images.value(QStringLiteral("GUIFrameSplash/GUIFrameSplashBK.tksx"));
            sheet.picture(
                splashWithTexts(splash),
                QRect(QPoint(kMargin + 2 * (small.width() + 24) + 40, sheet.y()), splash.size()),
                QStringLiteral("SplashBK"));
        }
        sheet.advance(small.height() + 40);
    }
    sheet.advance(80);
    return sheet.y();
}

} // namespace

} // namespace skin
