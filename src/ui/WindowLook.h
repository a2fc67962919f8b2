#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;
class TXPMenu;

/// The look the program's windows share: their colours, font and menu skin, and the one
/// conversion between the code page of the network and the text of widgets.
namespace WindowLook {

/// Colours are 0x00BBGGRR.
inline constexpr quint32 kPanelColor = 15329769; ///< RGB 233, 233, 233: window and panels
inline constexpr quint32 kFieldColor = 14471629; ///< RGB 205, 209, 220: lists and edit fields
inline constexpr quint32 kNavy = 0x00800000;
inline constexpr quint32 kGray = 0x00808080;
inline constexpr quint32 kBlack = 0x00000000;
inline constexpr quint32 kWhite = 0x00FFFFFF;

/// The colour of a 0x00BBGGRR value.
QColor color(quint32 bbggrr);

/// Tahoma with an 11-pixel character height, or the nearest face the desktop has.
QFont windowFont();

/// Fills a widget's background with a colour and gives it the window font.
void paintBackground(QWidget &widget, quint32 bbggrr);

/// Gives an edit field, list or combo box the field colour.
void paintField(QWidget &field);

/// Network bytes (Windows-1252) as widget text, and back.
QString text(const QByteArray &bytes);
QByteArray bytes(const QString &text);

/// The picture of a resource path ("...name.png"): its twice-as-dense form (name@2x.png) on a
/// screen of more than one pixel per point, drawn at the same size but sharp.
QPixmap picture(const QString &path);

/// Hands a web or mail address to the desktop; tests replace it. The result is not looked at.
std::function<void(const QUrl &)> &linkOpener();

/// Gives a menu skin the program's look (the same on every window) and activates it.
void applyMenuSkin(TXPMenu &skin);

} // namespace WindowLook
