#pragma once

#include <QtGlobal>

class QColor;
class QImage;
class QPainter;
class QPalette;

/// Colour values and the colour arithmetic of the menu skin. A colour is 0x00BBGGRR;
/// 0xFF0000nn names a system colour (index nn) that is resolved against a palette when drawn.
namespace MenuColors {

using TColor = quint32;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clInactiveCaption = 0xFF000003;
constexpr TColor clMenu = 0xFF000004;
constexpr TColor clMenuText = 0xFF000007;
constexpr TColor clHighlight = 0xFF00000D;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;

/// The colour as RGB channels.
constexpr int redOf(TColor c)
{
    return int(c & 0xFF);
}
constexpr int greenOf(TColor c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int blueOf(TColor c)
{
    return int((c >> 16) & 0xFF);
}
constexpr TColor rgb(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

/// True for the 0xFF0000nn system colour names.
constexpr bool isSystemColor(TColor c)
{
    return (c & 0xFF000000u) == 0xFF000000u;
}

/// The RGB value of a colour; system colours come from the palette's matching role.
TColor resolveColor(TColor c, const QPalette &palette);
QColor toQColor(TColor c);
TColor fromQColor(const QColor &c);

/// Nearest integer to num / den (den > 0), halves to even.
int roundHalfEven(int num, int den);

/// Red - n, green - n + 2, blue - n, each clamped to 0..255; a negative n lightens.
TColor DarkenColor(TColor c, int n);
/// Each channel moves p percent (at most 100) of the way to 255, rounding halves to even.
TColor LightenColor(TColor c, int p);
/// A grey of the channels' mean plus n (n at most 100), capped at 240.
TColor GreyColor(TColor c, int n);
/// fontColor on light colours, else the colour lightened by 90.
TColor ContrastColor(TColor c, TColor fontColor);

/// Every pixel lightened by p; alpha is kept.
void LightenBitmap(QImage &image, int p);
/// Every pixel greyed with n; alpha is kept.
void GreyBitmap(QImage &image, int n);
/// Paints colour c at (x + column, y + row) for every pixel of the picture that differs from
/// its bottom-left pixel, the picture's background.
void DrawShadow(QPainter &painter, const QImage &image, int x, int y, TColor c);

} // namespace MenuColors
