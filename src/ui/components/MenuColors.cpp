#include "ui/components/MenuColors.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <array>

namespace MenuColors {

namespace {

struct SystemRole
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The platform's system colour indices 0..30, mapped to the palette role that plays the same
// part on a Qt desktop.
constexpr std::array<SystemRole, 31> kSystemRoles{{
    {QPalette::Active, QPalette::Mid},             // scroll bar
    {QPalette::Active, QPalette::Dark},            // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Active, QPalette::Mid},             // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Button},          // active border
    {QPalette::Active, QPalette::Button},          // inactive border
    {QPalette::Active, QPalette::Dark},            // application workspace
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlight text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Disabled, QPalette::WindowText},    // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3D light
    {QPalette::Active, QPalette::ToolTipText},     // info text
    {QPalette::Active, QPalette::ToolTipBase},     // info background
    {QPalette::Active, QPalette::Button},          // unused index
    {QPalette::Active, QPalette::Link},            // hot light
    {QPalette::Active, QPalette::Highlight},       // gradient active caption
    {QPalette::Active, QPalette::Mid},             // gradient inactive caption
    {QPalette::Active, QPalette::Highlight},       // menu highlight
    {QPalette::Active, QPalette::Window},          // menu bar
}};

int clampChannel(int v)
{
    return std::clamp(v, 0, 255);
}

// Applies f to every pixel's RGB, keeping alpha; a run of equal pixels is computed once.
template <typename F>
void mapPixels(QImage &image, F f)
{
    if (image.isNull())
        return;
    image.convertTo(QImage::Format_ARGB32);
    QRgb lastIn = 0;
    QRgb lastOut = 0;
    bool haveLast = false;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb in = line[x];
            if (!haveLast || in != lastIn) {
                const Color c = f(rgb(qRed(in), qGreen(in), qBlue(in)));
                lastOut = qRgba(redOf(c), greenOf(c), blueOf(c), qAlpha(in));
                lastIn = in;
                haveLast = true;
            }
            line[x] = lastOut;
        }
    }
}

} // namespace

Color resolveColor(Color c, const QPalette &palette)
{
    if (!isSystemColor(c))
        return c & 0x00FFFFFF;
    const quint32 index = c & 0x00FFFFFF;
    if (index >= kSystemRoles.size())
        return clBlack;
    const SystemRole &r = kSystemRoles[index];
    return fromQColor(palette.color(r.group, r.role));
}

QColor toQColor(Color c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

Color fromQColor(const QColor &c)
{
    return rgb(c.red(), c.green(), c.blue());
}

int roundHalfEven(int num, int den)
{
    int q = num / den;
    int r = num % den;
    if (r < 0) { // floor division, so that the remainder is never negative
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && (q & 1)))
        ++q;
    return q;
}

Color DarkenColor(Color c, int n)
{
    return rgb(clampChannel(redOf(c) - n), clampChannel(greenOf(c) - n + 2),
               clampChannel(blueOf(c) - n));
}

Color LightenColor(Color c, int p)
{
    p = std::min(p, 100);
    auto up = [p](int ch) { return clampChannel(ch + roundHalfEven((255 - ch) * p, 100)); };
    return rgb(up(redOf(c)), up(greenOf(c)), up(blueOf(c)));
}

Color GreyColor(Color c, int n)
{
    n = std::min(n, 100);
    const int grey = std::clamp((redOf(c) + greenOf(c) + blueOf(c)) / 3 + n, 0, 240);
    return rgb(grey, grey, grey);
}

Color ContrastColor(Color c, Color fontColor)
{
    if ((redOf(c) + blueOf(c)) / 2 > 150 || greenOf(c) > 200)
        return fontColor;
    return LightenColor(c, 90);
}

void LightenBitmap(QImage &image, int p)
{
    mapPixels(image, [p](Color c) { return LightenColor(c, p); });
}

void GreyBitmap(QImage &image, int n)
{
    mapPixels(image, [n](Color c) { return GreyColor(c, n); });
}

void DrawShadow(QPainter &painter, const QImage &image, int x, int y, Color c)
{
    if (image.isNull())
        return;
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = src.pixel(0, src.height() - 1);
    QImage shadow(src.size(), QImage::Format_ARGB32);
    shadow.setDevicePixelRatio(src.devicePixelRatio());
    const int r = redOf(c), g = greenOf(c), b = blueOf(c);
    for (int row = 0; row < src.height(); ++row) {
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(row));
        auto *out = reinterpret_cast<QRgb *>(shadow.scanLine(row));
        // A picture with an alpha channel casts a shadow as dense as the pixel itself.
        for (int col = 0; col < src.width(); ++col)
            out[col] = in[col] == background ? 0 : qRgba(r, g, b, qAlpha(in[col]));
    }
    painter.drawImage(x, y, shadow);
}

} // namespace MenuColors
