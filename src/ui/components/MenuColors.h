#pragma once

#include <QtGlobal>

class QColor;
class QImage;
class QPainter;
class QPalette;

/// Colour values and the colour arithmetic of the menu skin. A colour is 0x00BBGGRR;
/// 0xFF0000nn names a system colour (index nn) that is resolved against a palette when drawn.
namespace MenuColors {

using Color = quint32;

constexpr Color clBlack = 0x00000000;
constexpr Color clWhite = 0x00FFFFFF;
constexpr Color clSilver = 0x00C0C0C0;
constexpr Color clInactiveCaption = 0xFF000003;
constexpr Color clMenu = 0xFF000004;
constexpr Color clMenuText = 0xFF000007;
constexpr Color clHighlight = 0xFF00000D;
constexpr Color clBtnFace = 0xFF00000F;
constexpr Color clBtnShadow = 0xFF000010;

/// The colour as RGB channels.
constexpr int redOf(Color c)
{
    return int(c & 0xFF);
}
constexpr int greenOf(Color c)
{
    return int((c >> 8) & 0xFF);
}
constexpr int blueOf(Color c)
{
    return int((c >> 16) & 0xFF);
}
constexpr Color rgb(int r, int g, int b)
{
    return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}

/// True for the 0xFF0000nn system colour names.
constexpr bool isSystemColor(Color c)
{
    return (c & 0xFF000000u) == 0xFF000000u;
}

/// The RGB value of a colour; system colours come from the palette's matching role.
Color resolveColor(Color c, const QPalette &palette);
QColor toQColor(Color c);
Color fromQColor(const QColor &c);

/// Nearest integer to num / den (den > 0), halves to even.
int roundHalfEven(int num, int den);

/// Red - n, green - n + 2, blue - n, each clamped to 0..255; a negative n lightens.
Color DarkenColor(Color c, int n);
/// Each channel moves p percent (at most 100) of the way to 255, rounding halves to even.
Color LightenColor(Color c, int p);
/// A grey of the channels' mean plus n (n at most 100), capped at 240.
Color GreyColor(Color c, int n);
/// fontColor on light colours, else the colour lightened by 90.
Color ContrastColor(Color c, Color fontColor);

/// Every pixel lightened by p; alpha is kept.
void LightenBitmap(QImage &image, int p);
/// Every pixel greyed with n; alpha is kept.
void GreyBitmap(QImage &image, int n);
/// Paints colour c at (x + column, y + row) for every pixel of the picture that differs from
/// its bottom-left pixel, the picture's background.
void DrawShadow(QPainter &painter, const QImage &image, int x, int y, Color c);

} // namespace MenuColors
