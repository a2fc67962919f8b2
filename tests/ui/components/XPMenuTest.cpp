#include "ui/components/XPMenu.h"

#include "ui/components/MenuColors.h"
#include "ui/components/XPMenuPaint.h"

#include <QApplication>
#include <QCommonStyle>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

using namespace MenuColors;

namespace {

// The program's colours (both windows use the same).
constexpr Color kMenuColour = 0x00D4D4D4;
constexpr Color kIconStrip = 0x00BFC1C1;
constexpr Color kSelection = 0x00FBC7AA;
constexpr Color kSelectionFrame = 0x00FF8080;
constexpr Color kDisabledText = 0x00C4C4C8;

// PNG output under the build folder (CTest runs the tests inside it when the variable is unset).
QString picturePath(const QString &name)
{
    QDir dir(qEnvironmentVariable("TOLVEX_BINARY_DIR", QDir::currentPath()));
    dir.mkpath(QStringLiteral("test-pictures"));
    return dir.filePath(QStringLiteral("test-pictures/") + name);
}

Color pixelAt(const QImage &image, int x, int y)
{
    return fromQColor(image.pixelColor(x, y));
}

QImage glyph(QRgb colour)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(0xFFFF00FF); // background: the bottom-left pixel's colour becomes transparent
    QPainter p(&image);
    p.fillRect(3, 3, 10, 10, QColor::fromRgb(colour));
    return image;
}

// ---- colour functions ----

struct ColourCase
{
    const char *what;
    Color got;
    Color want;
};

TEST(MenuColours, ArithmeticRoundsHalvesToEvenAndClamps)
{
    const ColourCase cases[] = {
        {"darken takes n, green gets +2", DarkenColor(rgb(100, 100, 100), 30), rgb(70, 72, 70)},
        {"darken clamps at 0 and 255", DarkenColor(rgb(10, 254, 20), 20), rgb(0, 236, 0)},
        {"darken by 0 still adds 2 to green", DarkenColor(rgb(1, 254, 1), 0), rgb(1, 255, 1)},
        {"negative darken lightens", DarkenColor(rgb(250, 100, 0), -40), rgb(255, 142, 40)},
        // (255 - 205) * 1 / 100 = 0.5 -> 0; (255 - 155) / 100 = 1; 2.55 -> 3
        {"lighten by 1", LightenColor(rgb(205, 155, 0), 1), rgb(205, 156, 3)},
        // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2 (halves to even)
        {"lighten halves to even", LightenColor(rgb(254, 252, 250), 50), rgb(254, 254, 252)},
        {"lighten caps p at 100", LightenColor(rgb(0, 10, 200), 150), rgb(255, 255, 255)},
        {"lighten the program's icon strip by 1", LightenColor(kIconStrip, 1), rgb(194, 194, 192)},
        {"grey is mean plus n", GreyColor(rgb(10, 20, 30), 5), rgb(25, 25, 25)},
        {"grey caps at 240", GreyColor(rgb(250, 250, 250), 0), rgb(240, 240, 240)},
        {"grey caps n at 100", GreyColor(rgb(0, 0, 0), 150), rgb(100, 100, 100)},
        {"contrast of light red and blue is the font", ContrastColor(rgb(200, 0, 120), 0x123456),
         0x123456},
        {"contrast of bright green is the font", ContrastColor(rgb(0, 201, 0), 0x123456), 0x123456},
        {"contrast of dark is lightened by 90", ContrastColor(rgb(100, 200, 200), 0x123456),
         LightenColor(rgb(100, 200, 200), 90)},
    };
    for (const ColourCase &c : cases)
        EXPECT_EQ(c.got, c.want) << c.what << std::hex << " got " << c.got << " want " << c.want;
    EXPECT_EQ(roundHalfEven(-11, 2), -6);
    EXPECT_EQ(roundHalfEven(-9, 2), -4);
}

TEST(MenuColours, SystemColoursResolveThroughThePalette)
{
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::Highlight, QColor(4, 5, 6));
    EXPECT_EQ(resolveColor(clBtnFace, pal), rgb(1, 2, 3));
    EXPECT_EQ(resolveColor(clHighlight, pal), rgb(4, 5, 6));
    EXPECT_EQ(resolveColor(kSelection, pal), kSelection);
    EXPECT_EQ(resolveColor(0xFF0000FF, pal), clBlack); // no such system colour
}

TEST(MenuColours, BitmapFunctionsKeepAlphaAndShadowSkipsTheBackground)
{
    QImage image(3, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(0, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 255));
    image.setPixel(2, 0, qRgba(100, 100, 100, 128));
    QImage light = image;
    LightenBitmap(light, 50);
    EXPECT_EQ(light.pixel(0, 0), qRgba(128, 128, 128, 255)); // 127.5 -> 128
    EXPECT_EQ(light.pixel(1, 0), light.pixel(0, 0));
    EXPECT_EQ(light.pixel(2, 0), qRgba(178, 178, 178, 128)); // 77.5 -> 78
    QImage grey = image;
    GreyBitmap(grey, 90);
    EXPECT_EQ(grey.pixel(0, 0), qRgba(90, 90, 90, 255));
    EXPECT_EQ(grey.pixel(2, 0), qRgba(190, 190, 190, 128));

    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(0xFFFFFFFF);
    picture.setPixel(1, 0, 0xFF000000);
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(0xFF00FF00);
    QPainter p(&canvas);
    DrawShadow(p, picture, 1, 1, rgb(10, 20, 30));
    p.end();
    EXPECT_EQ(canvas.pixel(2, 1), qRgb(10, 20, 30));
    EXPECT_EQ(canvas.pixel(1, 1), 0xFF00FF00u); // background pixels cast nothing
    EXPECT_EQ(canvas.pixel(2, 2), 0xFF00FF00u);
}

// ---- working colours ----

XPMenuPaint::Look programLook()
{
    XPMenuPaint::Look look;
    look.font = QFont(QStringLiteral("DejaVu Sans"));
    look.font.setPixelSize(11);
    look.color = kMenuColour;
    look.iconBackColor = kIconStrip;
    look.menuBarColor = clHighlight;
    look.selectColor = kSelection;
    look.selectBorderColor = kSelectionFrame;
    look.selectFontColor = clMenuText;
    look.disabledColor = kDisabledText;
    look.separatorColor = clBtnFace;
    look.checkedColor = clHighlight;
    look.useSystemColors = false;
    look.gradient = true;
    return look;
}

QPalette testPalette()
{
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(236, 233, 216));
    pal.setColor(QPalette::Dark, QColor(172, 168, 153));
    pal.setColor(QPalette::Highlight, QColor(49, 106, 197));
    pal.setColor(QPalette::WindowText, QColor(0, 0, 0));
    pal.setColor(QPalette::Window, QColor(255, 255, 255));
    return pal;
}

TEST(MenuWorkingColours, DerivedColoursFollowTheDisplayDepthAndSystemScheme)
{
    const QPalette pal = testPalette();
    const Color face = rgb(236, 233, 216), shadow = rgb(172, 168, 153),
                highlight = rgb(49, 106, 197);
    XPMenuPaint::Look look = programLook();
    const QFont systemFont(QStringLiteral("DejaVu Serif"));

    XPMenuPaint::WorkingColors wc = XPMenuPaint::workingColors(look, pal, true, systemFont);
    EXPECT_EQ(wc.color, kMenuColour);
    EXPECT_EQ(wc.separatorColor, face);
    EXPECT_EQ(wc.checkedArea, LightenColor(kSelection, 75));
    EXPECT_EQ(wc.checkedAreaSelected, LightenColor(kSelection, 50));
    EXPECT_EQ(wc.menuBorder, DarkenColor(face, 90));
    EXPECT_EQ(wc.menuShadow, DarkenColor(face, 76));
    EXPECT_EQ(wc.font, look.font);

    wc = XPMenuPaint::workingColors(look, pal, false, systemFont);
    EXPECT_EQ(wc.checkedArea, clWhite);
    EXPECT_EQ(wc.checkedAreaSelected, clSilver);
    EXPECT_EQ(wc.menuBorder, shadow);

    look.useSystemColors = true;
    wc = XPMenuPaint::workingColors(look, pal, true, systemFont);
    EXPECT_EQ(wc.font, systemFont);
    EXPECT_EQ(wc.color, LightenColor(face, 86));
    EXPECT_EQ(wc.iconBackColor, LightenColor(face, 16));
    EXPECT_EQ(wc.selectColor, LightenColor(highlight, 68));
    EXPECT_EQ(wc.selectBorderColor, highlight);
    EXPECT_EQ(wc.disabledColor, LightenColor(shadow, 10));

    wc = XPMenuPaint::workingColors(look, pal, false, systemFont);
    EXPECT_EQ(wc.color, clWhite);
    EXPECT_EQ(wc.iconBackColor, face);
    EXPECT_EQ(wc.disabledColor, shadow);
}

// ---- measuring ----

TEST(MenuMeasuring, HeightRule)
{
    // Tahoma at 11 pixels is 13 pixels high (ascent 11, descent 2): 13 + 9.75 -> 23. That
    // face is not installed here, so the rule is checked on the numbers.
    EXPECT_EQ(XPMenuPaint::itemHeight(13, 16), 23);
    EXPECT_EQ(XPMenuPaint::itemHeight(14, 16), 24); // 10.5 rounds to even 10
    EXPECT_EQ(XPMenuPaint::itemHeight(6, 16), 20);  // the picture's 16 + 4 wins
    EXPECT_EQ(XPMenuPaint::itemHeight(2, 0), 4);    // 1.5 rounds to 2
}

TEST(MenuMeasuring, WidthAndHeightOfItemsSeparatorsAndBarItems)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    const QFontMetrics fm(font);
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("E&xit");
    item.shortcut = QStringLiteral("Ctrl+Q");
    item.picture = glyph(0xFF0000FF);
    const QSize size = XPMenuPaint::measureItem(item, font, 24, QSize(0, 0));
    EXPECT_EQ(size.width(), fm.horizontalAdvance(QStringLiteral("E&xitCtrl+QWWW")) -
                                fm.horizontalAdvance(QLatin1Char('&')) + 24 + 10);
    EXPECT_EQ(size.height(), XPMenuPaint::itemHeight(fm.height(), 16));

    // Only enlarges the proposal.
    EXPECT_EQ(XPMenuPaint::measureItem(item, font, 24, QSize(500, 40)), QSize(500, 40));

    XPMenuPaint::Item separator;
    separator.caption = QStringLiteral("-");
    separator.separator = true;
    EXPECT_EQ(XPMenuPaint::measureItem(separator, font, 24, QSize(0, 0)), QSize(34, 4));

    XPMenuPaint::Item bar;
    bar.caption = QStringLiteral("File");
    bar.menuBarItem = true;
    EXPECT_EQ(XPMenuPaint::measureItem(bar, font, 24, QSize(0, 0)).width(),
              fm.horizontalAdvance(QStringLiteral("File")) + 10);
    bar.menuBarItem = false;
    EXPECT_EQ(XPMenuPaint::measureItem(bar, font, 24, QSize(0, 0)).width(),
              fm.horizontalAdvance(QStringLiteral("File")) + 34);
}

// ---- drawing, on images ----

class MenuItemPainting : public ::testing::Test
{
protected:
    QImage draw(const XPMenuPaint::Item &item, bool highColour = true, int height = 23)
    {
        QImage image(120, height, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        const XPMenuPaint::WorkingColors wc =
            XPMenuPaint::workingColors(look, testPalette(), highColour, QFont());
        XPMenuPaint::drawItem(p, image.rect(), item, wc, look);
        return image;
    }

    XPMenuPaint::Look look = programLook();
};

TEST_F(MenuItemPainting, GradientRunsFromTheIconStripAndNeverUsesTheMenuColour)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("Exit");
    const QImage image = draw(item);
    EXPECT_EQ(pixelAt(image, 0, 0), LightenColor(kIconStrip, 1));
    EXPECT_EQ(pixelAt(image, 1, 0), LightenColor(kIconStrip, 4));
    EXPECT_EQ(pixelAt(image, 28, 0), LightenColor(kIconStrip, 85)); // last +3 step
    EXPECT_EQ(pixelAt(image, 29, 0), LightenColor(kIconStrip, 86));
    EXPECT_EQ(pixelAt(image, 119, 0), LightenColor(kIconStrip, 96));
    for (int x = 0; x < image.width(); ++x)
        ASSERT_NE(pixelAt(image, x, 22), kMenuColour) << x;
}

TEST_F(MenuItemPainting, LowColourDisplaysGetPlainStripAndUnfadedPictures)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("Exit");
    item.picture = glyph(0xFF102030);
    const QImage image = draw(item, false);
    EXPECT_EQ(pixelAt(image, 0, 0), kIconStrip);
    EXPECT_EQ(pixelAt(image, 23, 0), kIconStrip);
    EXPECT_EQ(pixelAt(image, 24, 0), kMenuColour);
    // 16 x 16 centred in 24, one to the left: 3..18; 4 below the top.
    EXPECT_EQ(image.pixel(3 + 5, 4 + 5), 0xFF102030u);
    EXPECT_EQ(pixelAt(image, 3, 4), kIconStrip); // the picture's background is transparent

    const QImage faded = draw(item, true);
    EXPECT_EQ(pixelAt(faded, 3 + 5, 4 + 5), LightenColor(rgb(0x10, 0x20, 0x30), 30));
}

TEST_F(MenuItemPainting, SelectionIsFramedAndThePictureCastsAShadow)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("Exit");
    item.picture = glyph(0xFF102030);
    item.selected = true;
    const QImage image = draw(item);
    EXPECT_EQ(pixelAt(image, 0, 0), LightenColor(kIconStrip, 1)); // row above the frame
    EXPECT_EQ(pixelAt(image, 0, 1), kSelectionFrame);
    EXPECT_EQ(pixelAt(image, 119, 10), kSelectionFrame);
    EXPECT_EQ(pixelAt(image, 60, 22), kSelectionFrame); // the item's last row
    EXPECT_EQ(pixelAt(image, 1, 2), kSelection);
    // Picture one up and left (2..17, 3..18); its shadow two right and down (5..20, 6..21).
    EXPECT_EQ(image.pixel(2 + 3, 3 + 3), 0xFF102030u);
    EXPECT_EQ(pixelAt(image, 5 + 12, 6 + 12), DarkenColor(kSelection, 50));

    look.drawSelect = false;
    EXPECT_EQ(pixelAt(draw(item), 0, 1), LightenColor(kIconStrip, 1));
}

TEST_F(MenuItemPainting, HoveredDisabledItemLooksLikeItDoesUnhovered)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("Copy to clipboard");
    item.picture = glyph(0xFF102030);
    item.enabled = false;
    const QImage resting = draw(item);
    item.selected = true;
    EXPECT_EQ(draw(item), resting);
    look.gradient = false;
    const QImage plain = draw(item);
    item.selected = false;
    EXPECT_EQ(draw(item), plain);
    EXPECT_EQ(pixelAt(plain, 3 + 5, 4 + 5), GreyColor(rgb(0x10, 0x20, 0x30), 90));
}

TEST_F(MenuItemPainting, SeparatorLineSitsMidwayAfterTheIconStrip)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("-");
    item.separator = true;
    const QImage image = draw(item, true, 4);
    // 4 high, 5 with the extra row: 2.5 rounds to 2. The line starts 7 after the strip.
    const Color face = rgb(236, 233, 216);
    EXPECT_EQ(pixelAt(image, 24 + 7, 2), face);
    EXPECT_EQ(pixelAt(image, 119, 2), face);
    EXPECT_NE(pixelAt(image, 24 + 6, 2), face);
    EXPECT_NE(pixelAt(image, 40, 1), face);
    EXPECT_NE(pixelAt(image, 40, 3), face);
}

TEST_F(MenuItemPainting, CheckMarkBoxAndRadio)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("Auto add");
    item.checked = true;
    look.gradient = false;
    const QImage image = draw(item);
    const Color highlight = rgb(49, 106, 197);
    // A 10 x 10 box centred in the strip: left (24 - 10) / 2 = 7, top (24 - 10) / 2 = 7.
    EXPECT_EQ(pixelAt(image, 7, 7), highlight);
    EXPECT_EQ(pixelAt(image, 16, 16), highlight);
    EXPECT_EQ(pixelAt(image, 6, 7), kIconStrip);
    EXPECT_EQ(pixelAt(image, 8, 8), LightenColor(kSelection, 75));
    EXPECT_EQ(pixelAt(image, 7 + 1, 7 + 5), clBlack); // the tick starts at (left+1, top+5)

    item.radio = true;
    item.selected = true;
    const QImage radio = draw(item);
    EXPECT_EQ(pixelAt(radio, 12, 12), LightenColor(kSelection, 50));
    EXPECT_EQ(pixelAt(radio, 7, 7), kSelection); // the ellipse leaves the corner
}

TEST_F(MenuItemPainting, RightToLeftMirrorsTheIconStrip)
{
    XPMenuPaint::Item item;
    item.caption = QStringLiteral("Exit");
    item.rightToLeft = true;
    look.gradient = false;
    const QImage image = draw(item);
    EXPECT_EQ(pixelAt(image, 119, 5), kIconStrip);
    EXPECT_EQ(pixelAt(image, 96, 5), kIconStrip);
    EXPECT_EQ(pixelAt(image, 95, 5), kMenuColour);
}

// ---- the skin on real menus ----

class MenuSkin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        skin = new TXPMenu(&form);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        skin->setFont(font);
        skin->setColor(kMenuColour);
        skin->setIconBackColor(kIconStrip);
        skin->setMenuBarColor(clHighlight);
        skin->setSelectColor(kSelection);
        skin->setSelectBorderColor(kSelectionFrame);
        skin->setDisabledColor(kDisabledText);
        skin->setUseSystemColors(false);
        skin->setGradient(true);
    }

    QWidget form;
    TXPMenu *skin = nullptr;
};

TEST_F(MenuSkin, ActivationSkinsTheFormsMenusAndTheirSubMenus)
{
    auto *bar = new QMenuBar(&form);
    auto *popup = new QMenu(&form);
    QMenu sub; // reached only through an item of the popup
    popup->addAction(QStringLiteral("Open"));
    popup->addMenu(&sub);
    auto *empty = new QMenu(&form);
    QMenu foreign; // not the form's

    skin->setActive(true);
    for (QWidget *w : {static_cast<QWidget *>(bar), static_cast<QWidget *>(popup),
                       static_cast<QWidget *>(&sub), static_cast<QWidget *>(empty)})
        EXPECT_TRUE(skin->isSkinned(w)) << w->metaObject()->className();
    EXPECT_FALSE(skin->isSkinned(&foreign));

    skin->setActive(false);
    EXPECT_FALSE(skin->isSkinned(popup) || skin->isSkinned(&sub) || skin->isSkinned(bar));
    EXPECT_FALSE(popup->testAttribute(Qt::WA_SetStyle));
}

TEST_F(MenuSkin, MenusStyledByTheFormAreLeftAloneUnlessOverridden)
{
    QCommonStyle own;
    auto *popup = new QMenu(&form);
    popup->setStyle(&own);
    skin->setActive(true);
    EXPECT_EQ(popup->style(), &own);

    skin->setOverrideOwnerDraw(true);
    EXPECT_TRUE(skin->isSkinned(popup));
    skin->setActive(false);
    EXPECT_EQ(popup->style(), &own); // given back, not lost
}

TEST_F(MenuSkin, AutoDetectSkinsMenusMadeLater)
{
    skin->setActive(true);
    auto *later = new QMenu(&form);
    later->ensurePolished();
    EXPECT_FALSE(skin->isSkinned(later));

    skin->setAutoDetect(true);
    auto *laterStill = new QMenu(&form);
    laterStill->ensurePolished();
    EXPECT_TRUE(skin->isSkinned(laterStill));
    QMenu stranger;
    stranger.ensurePolished();
    EXPECT_FALSE(skin->isSkinned(&stranger));
}

TEST_F(MenuSkin, DestroyingTheSkinGivesMenusBackTheirStyle)
{
    auto *popup = new QMenu(&form);
    skin->setActive(true);
    delete skin;
    skin = nullptr;
    EXPECT_FALSE(popup->testAttribute(Qt::WA_SetStyle));
    popup->grab(); // would touch the freed style otherwise
}

TEST_F(MenuSkin, MeasuredItemsFollowTheRule)
{
    auto *popup = new QMenu(&form);
    QAction *item = popup->addAction(QIcon(QPixmap::fromImage(glyph(0xFF102030))),
                                     QStringLiteral("Open chat window"));
    QAction *separator = popup->addSeparator();
    QAction *dash = popup->addAction(QStringLiteral("-"));
    skin->setActive(true);
    popup->adjustSize();
    const QFontMetrics fm(skin->font());
    EXPECT_EQ(popup->actionGeometry(item).height(), XPMenuPaint::itemHeight(fm.height(), 16));
    EXPECT_EQ(popup->actionGeometry(separator).height(), 4);
    EXPECT_EQ(popup->actionGeometry(dash).height(), 4);
    EXPECT_GE(popup->actionGeometry(item).width(),
              fm.horizontalAdvance(QStringLiteral("Open chat window")) + 24 + 10);

    skin->setIconWidth(60); // applies at once
    EXPECT_GE(popup->actionGeometry(item).width(),
              fm.horizontalAdvance(QStringLiteral("Open chat window")) + 60 + 10);
}

TEST_F(MenuSkin, RendersTheProgramsMenuLook)
{
    auto *popup = new QMenu(&form);
    const QIcon icon(QPixmap::fromImage(glyph(0xFF3060C0)));
    QAction *restore = popup->addAction(icon, QStringLiteral("Restore Tolvex"));
    popup->setDefaultAction(restore);
    QAction *config = popup->addAction(icon, QStringLiteral("Configuration..."));
    config->setEnabled(false);
    QAction *autoAdd = popup->addAction(QStringLiteral("Add channels automatically"));
    autoAdd->setCheckable(true);
    autoAdd->setChecked(true);
    QAction *separator = popup->addSeparator();
    QAction *exit = popup->addAction(icon, QStringLiteral("E&xit"));
    exit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    exit->setShortcutVisibleInContextMenu(true);
    skin->setActive(true);
    popup->adjustSize();
    popup->setActiveAction(exit);

    const QImage image = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(picturePath(QStringLiteral("xpmenu.png")));

    const QRect r = popup->actionGeometry(exit);
    EXPECT_EQ(pixelAt(image, r.left(), r.top() + 1), kSelectionFrame);
    EXPECT_EQ(pixelAt(image, r.right(), r.center().y()), kSelectionFrame);
    EXPECT_EQ(pixelAt(image, r.left() + 1, r.top() + 2), kSelection);

    const QRect d = popup->actionGeometry(restore);
    EXPECT_EQ(pixelAt(image, d.left(), d.top() + 1), LightenColor(kIconStrip, 1));

    const QRect s = popup->actionGeometry(separator);
    const Color face = resolveColor(clBtnFace, popup->palette());
    EXPECT_EQ(s.height(), 4);
    EXPECT_EQ(pixelAt(image, s.left() + 24 + 7, s.top() + 2), face);
    EXPECT_EQ(pixelAt(image, s.right(), s.top() + 2), face);
}

TEST_F(MenuSkin, FlatMenuDrawsItsBorderAndShadowInsideThePopup)
{
    auto *popup = new QMenu(&form);
    popup->addAction(QStringLiteral("About..."));
    skin->setFlatMenu(true);
    skin->setActive(true);
    popup->adjustSize();
    const QImage image = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Color face = resolveColor(clBtnFace, popup->palette());
    const int w = image.width(), h = image.height();
    EXPECT_EQ(pixelAt(image, 0, 0), DarkenColor(face, 90));
    EXPECT_EQ(pixelAt(image, w - 3, h / 2), DarkenColor(face, 90));
    EXPECT_EQ(pixelAt(image, 1, h / 2), kIconStrip);
    EXPECT_EQ(pixelAt(image, w - 1, h / 2), DarkenColor(face, 76));
    EXPECT_EQ(pixelAt(image, w / 2, h - 1), DarkenColor(face, 76));
}

TEST_F(MenuSkin, MenuBarItemsUseTheBarColour)
{
    auto *bar = new QMenuBar(&form);
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("Exit"));
    skin->setActive(true);
    bar->adjustSize();
    const QImage image = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect r = bar->actionGeometry(file->menuAction());
    EXPECT_EQ(pixelAt(image, r.left() + 1, r.top() + 1), resolveColor(clHighlight, bar->palette()));
    EXPECT_TRUE(skin->isSkinned(file));
}

} // namespace
