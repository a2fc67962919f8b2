#include "ui/components/RegionMask.h"

#include <QImage>
#include <QRect>
#include <vector>

namespace {

// True when the band starting at `a` has the same horizontal spans as the one at `b`.
bool sameSpans(const std::vector<QRect> &rects, size_t a, size_t b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (rects[a + i].left() != rects[b + i].left() ||
            rects[a + i].width() != rects[b + i].width())
            return false;
    }
    return true;
}

} // namespace

QRegion regionFromMask(const QImage &picture, quint32 colour)
{
    if (picture.isNull() || (colour & 0xFF000000u) != 0)
        return {};
    // Pictures with alpha are composed onto black, as copying them into a fresh 24-bit
    // bitmap does; the premultiplied channels are exactly that.
    const QImage image = picture.convertToFormat(
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    const QRgb target =
        qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)) & RGB_MASK;
    const int width = image.width();

    std::vector<QRect> rects;
    size_t bandStart = 0; // first rectangle of the previous non-empty row's band
    size_t bandCount = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const size_t rowStart = rects.size();
        int x = 0;
        while (x < width) {
            const QRgb value = line[x] & RGB_MASK;
            const int start = x;
            do {
                ++x;
            } while (x < width && (line[x] & RGB_MASK) == value);
            if (value == target)
                rects.emplace_back(start, y, x - start, 1);
        }
        const size_t rowCount = rects.size() - rowStart;
        if (rowCount == 0)
            continue;
        // A row equal to the band directly above it only makes that band taller; the
        // region then holds one rectangle per distinct band, as its own operations would.
        if (bandCount == rowCount && rects[bandStart].bottom() == y - 1 &&
            sameSpans(rects, bandStart, rowStart, rowCount)) {
            for (size_t i = 0; i < bandCount; ++i)
                rects[bandStart + i].setBottom(y);
            rects.resize(rowStart);
        } else {
            bandStart = rowStart;
            bandCount = rowCount;
        }
    }
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), int(rects.size()));
    return region;
}
