// sharpnesscheck <screen.png> <x> <y> <reference-1x.png> <width> <height>
// Tells whether the part (x, y, width, height) of the screen shot, a panel drawn at ratio 2,
// is sharper than the 1x reference's part (0, 0, width / 2, height / 2) enlarged twice the
// way a window system blows up a 1x window (smoothly). Sharpness is the spread (variance)
// of the Laplacian, 4c - up - down - left - right, of the grey level. Both are laid over
// black first, as a translucent window shows on an X server without a compositor.
// Exit status 0 when the screen's spread is more than twice the enlarged one's, 1 when
// not, 2 on bad input.
#include "LaplacianSpread.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace {

constexpr double kRequiredGain = 2.0;

QImage OverBlack(const QImage& img) {
    QImage out(img.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    p.drawImage(0, 0, img);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s <screen.png> <x> <y> <reference-1x.png> <width> <height>\n",
                     argv[0]);
        return 2;
    }
    const QImage screen(QString::fromLocal8Bit(argv[1]));
    const QImage reference(QString::fromLocal8Bit(argv[4]));
    int v[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = QString::fromLocal8Bit(argv[i < 2 ? 2 + i : 3 + i]).toInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "bad number %s\n", argv[i < 2 ? 2 + i : 3 + i]);
            return 2;
        }
    }
    const QRect part(v[0], v[1], v[2], v[3]);
    const QRect half(0, 0, v[2] / 2, v[3] / 2);
    if (screen.isNull() || reference.isNull() || !screen.rect().contains(part) ||
        !reference.rect().contains(half) || part.width() < 4 || part.height() < 4) {
        std::fprintf(stderr, "cannot read the pictures, or the parts lie outside them\n");
        return 2;
    }
    const QImage shown = OverBlack(screen.copy(part));
    const QImage enlarged =
        OverBlack(reference.copy(half))
            .scaled(part.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const double sharp = kztr::test::LaplacianSpread(shown);
    const double blurred = kztr::test::LaplacianSpread(enlarged);
    std::printf("Laplacian spread %.1f on the screen, %.1f for the 1x picture enlarged\n", sharp,
                blurred);
    return sharp > kRequiredGain * blurred ? 0 : 1;
}
