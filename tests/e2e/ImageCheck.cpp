// imagecheck <screen.png> <reference.png> <x> <y>
// Tells whether the screen shot shows the reference picture with its top-left corner at
// (x, y). The reference keeps its per-pixel alpha; on an X server without a compositor a
// translucent window shows its pixels over black, so the reference is put over black
// first. Small differences (text antialiasing of another platform plugin) are tolerated.
// Exit status 0 when it matches, 1 when not, 2 on bad input.
#include <QColor>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kChannelTolerance = 24;
constexpr double kRequiredMatch = 0.995;

bool close(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= kChannelTolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= kChannelTolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= kChannelTolerance;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <screen.png> <reference.png> <x> <y>\n", argv[0]);
        return 2;
    }
    const QImage screen =
        QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const QImage reference(QString::fromLocal8Bit(argv[2]));
    if (screen.isNull() || reference.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", screen.isNull() ? argv[1] : argv[2]);
        return 2;
    }
    bool okX = false, okY = false;
    const int x0 = QString::fromLocal8Bit(argv[3]).toInt(&okX);
    const int y0 = QString::fromLocal8Bit(argv[4]).toInt(&okY);
    if (!okX || !okY) {
        std::fprintf(stderr, "bad position %s, %s\n", argv[3], argv[4]);
        return 2;
    }

    QImage expected(reference.size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    {
        QPainter p(&expected);
        p.drawImage(0, 0, reference);
    }

    long matching = 0;
    const long total = long(expected.width()) * expected.height();
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const int sx = x0 + x, sy = y0 + y;
            if (sx < 0 || sy < 0 || sx >= screen.width() || sy >= screen.height()) continue;
            if (close(screen.pixel(sx, sy), expected.pixel(x, y))) ++matching;
        }
    }
    const double share = total ? double(matching) / double(total) : 0.0;
    std::printf("%.1f%% of the %dx%d reference matches at (%d, %d)\n", share * 100.0,
                expected.width(), expected.height(), x0, y0);
    return share >= kRequiredMatch ? 0 : 1;
}
