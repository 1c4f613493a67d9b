#pragma once
// How crisp a picture's edges are: the spread (variance) of the Laplacian,
// 4c - up - down - left - right, of the grey level over the given areas of the picture
// (all of it when none are given). A picture blown up smoothly has a smaller one.
#include <QImage>
#include <QRect>

#include <vector>

namespace kztr::test {

inline double LaplacianSpread(const QImage& img, std::vector<QRect> areas = {}) {
    const QImage grey = img.convertToFormat(QImage::Format_Grayscale8);
    if (areas.empty()) areas.push_back(grey.rect());
    double sum = 0, sumSq = 0;
    long n = 0;
    for (const QRect& area : areas) {
        // The neighbours of every pixel taken must lie in the picture.
        const QRect inner = area.intersected(grey.rect().adjusted(1, 1, -1, -1));
        for (int y = inner.top(); y <= inner.bottom(); ++y) {
            const uchar* above = grey.constScanLine(y - 1);
            const uchar* row = grey.constScanLine(y);
            const uchar* below = grey.constScanLine(y + 1);
            for (int x = inner.left(); x <= inner.right(); ++x) {
                const double lap = 4.0 * row[x] - row[x - 1] - row[x + 1] - above[x] - below[x];
                sum += lap;
                sumSq += lap * lap;
                ++n;
            }
        }
    }
    if (n == 0) return 0;
    const double mean = sum / n;
    return sumSq / n - mean * mean;
}

} // namespace kztr::test
