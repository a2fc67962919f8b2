#pragma once

#include "ui/components/MenuColors.h"

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

class QPainter;
class QPalette;
class QRect;

/// Measuring and drawing of one skinned menu item, free of widgets so that it can be tested
/// on images: the menu skin's style feeds it from the toolkit's menu item options.
namespace XPMenuPaint {

using MenuColors::Color;

/// The skin's settings as given (colours may be system colours).
struct Look
{
    QFont font;
    Color fontColor = MenuColors::clMenuText;
    Color color = MenuColors::clBtnFace;
    Color iconBackColor = MenuColors::clBtnFace;
    Color menuBarColor = MenuColors::clBtnFace;
    Color selectColor = MenuColors::clHighlight;
    Color selectBorderColor = MenuColors::clHighlight;
    Color selectFontColor = MenuColors::clMenuText;
    Color disabledColor = MenuColors::clInactiveCaption;
    Color separatorColor = MenuColors::clBtnFace;
    Color checkedColor = MenuColors::clHighlight;
    int iconWidth = 24;
    bool drawSelect = true;
    bool useSystemColors = true;
    bool gradient = false;
    bool flatMenu = false;
};

/// The colours of one drawing, resolved to RGB, and the font in use.
struct WorkingColors
{
    QFont font;
    Color fontColor = 0;
    Color color = 0;
    Color iconBackColor = 0;
    Color menuBarColor = 0;
    Color selectColor = 0;
    Color selectBorderColor = 0;
    Color selectFontColor = 0;
    Color disabledColor = 0;
    Color separatorColor = 0;
    Color checkedColor = 0;
    Color checkedArea = 0;
    Color checkedAreaSelected = 0;
    Color menuBorder = 0;
    Color menuShadow = 0;
    bool highColour = true; ///< the display has more than 15 bits per pixel
};

/// What one menu item shows and its state.
struct Item
{
    QString caption; ///< with "&" before the underlined letter
    QString shortcut;
    QImage picture;
    bool separator = false;
    bool enabled = true;
    bool selected = false;
    bool checked = false;
    bool radio = false;
    bool isDefault = false;
    bool hasSubMenu = false;
    bool fromImageList = false; ///< picture from the menu's image list rather than the item's
    bool menuBarItem = false;
    bool rightToLeft = false;
};

/// The working colours: the settings resolved against the palette, replaced by the system's
/// own scheme when useSystemColors is set (which also brings back the system menu font).
WorkingColors workingColors(const Look &look, const QPalette &palette, bool highColour,
                            const QFont &systemMenuFont);

/// Text height plus three quarters of it (halves to even), at least the picture's height + 4.
int itemHeight(int textHeight, int pictureHeight);

/// The size of an item: never smaller than `proposed`.
QSize measureItem(const Item &item, const QFont &font, int iconWidth, const QSize &proposed);

/// Draws a popup item into its rectangle.
void drawItem(QPainter &painter, const QRect &rect, const Item &item, const WorkingColors &wc,
              const Look &look);

/// Draws a menu-bar item into its rectangle.
void drawMenuBarItem(QPainter &painter, const QRect &rect, const Item &item,
                     const WorkingColors &wc);

/// Draws the flat popup border inside a popup of the given size (three pixels wide).
void drawFlatBorder(QPainter &painter, const QSize &size, const WorkingColors &wc);

} // namespace XPMenuPaint
