#include "ui/components/XPMenuPaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <QRect>
#include <algorithm>

namespace XPMenuPaint {

using namespace MenuColors;

namespace {

constexpr int kCheckSide = 10;
constexpr int kMaxGradient = 96;

// Horizontal mirroring of an item for right-to-left menus: geometry is worked out left to
// right, in the item's own span [left, right), and mirrored only when painted.
struct Mirror
{
    int left;
    int right;
    bool on;

    // The painted rectangle for the half-open box [l, r) x [t, b).
    QRect rect(int l, int t, int r, int b) const
    {
        if (on)
            return QRect(left + right - r, t, r - l, b - t);
        return QRect(l, t, r - l, b - t);
    }
    int x(int px) const { return on ? left + right - 1 - px : px; }
    // The painted left edge of something w wide that starts at px.
    int start(int px, int w) const { return on ? left + right - px - w : px; }
};

// Percentage of lightening of gradient column `column` (0 at the icon-column edge).
int gradientPercent(int column, int iconWidth)
{
    int p = 1;
    for (int i = 1; i <= column && p < kMaxGradient; ++i)
        p = std::min(kMaxGradient, p + (i < iconWidth + 5 ? 3 : 1));
    return p;
}

void fill(QPainter &p, const QRect &r, Color c)
{
    p.fillRect(r, toQColor(c));
}

// A one-pixel frame just inside r.
void frame(QPainter &p, const QRect &r, Color c)
{
    if (r.isEmpty())
        return;
    const QColor q = toQColor(c);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), q);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), q);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), q);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), q);
}

QPen linePen(Color c)
{
    // Flat caps leave out the end point, as the platform's line drawing does.
    QPen pen(toQColor(c), 1);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QSize pointSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

// Pixels of the bottom-left pixel's colour become transparent.
void makeTransparent(QImage &image)
{
    image.convertTo(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, image.height() - 1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == key)
                line[x] = 0;
        }
    }
}

// The layout and background of one item, shared by the painting steps.
struct ItemFrame
{
    Mirror m;
    int left, top, right, bottom; // bottom already extended by one pixel
    int iconWidth;
    bool gradient;
    bool highlight;
    QRect highlightRect; // painted coordinates
    const WorkingColors *wc;

    // The colour the background steps gave the painted pixel (vx, vy).
    Color backgroundAt(int vx, int vy) const
    {
        if (highlight && highlightRect.contains(vx, vy)) {
            const bool edge = vx == highlightRect.left() || vx == highlightRect.right() ||
                              vy == highlightRect.top() || vy == highlightRect.bottom();
            return edge ? wc->selectBorderColor : wc->selectColor;
        }
        const int column = m.x(vx) - left;
        if (gradient)
            return LightenColor(wc->iconBackColor, gradientPercent(column, iconWidth));
        return column < iconWidth ? wc->iconBackColor : wc->color;
    }
};

void paintGradient(QPainter &p, const ItemFrame &f)
{
    // Columns from the icon-column edge to two pixels past the far edge.
    const int end = f.right + 2;
    int percent = 1;
    for (int x = f.left; x < end; ++x) {
        const int column = x - f.left;
        if (column > 0)
            percent = std::min(kMaxGradient, percent + (column < f.iconWidth + 5 ? 3 : 1));
        if (percent == kMaxGradient) {
            fill(p, f.m.rect(x, f.top, end, f.bottom), LightenColor(f.wc->iconBackColor, percent));
            return;
        }
        fill(p, f.m.rect(x, f.top, x + 1, f.bottom), LightenColor(f.wc->iconBackColor, percent));
    }
}

void paintCheck(QPainter &p, const ItemFrame &f, const Item &item, const QRect &box)
{
    const WorkingColors &wc = *f.wc;
    p.setBrush(toQColor(item.selected ? wc.checkedAreaSelected : wc.checkedArea));
    const QRect outline =
        f.m.rect(box.left(), box.top(), box.right() + 1, box.bottom() + 1).adjusted(0, 0, -1, -1);
    if (item.radio) {
        p.setPen(toQColor(wc.selectBorderColor));
        if (item.fromImageList)
            p.drawRoundedRect(outline, 3, 3);
        else
            p.drawEllipse(outline);
        return;
    }
    p.setPen(toQColor(item.fromImageList ? wc.selectBorderColor : wc.checkedColor));
    p.drawRect(outline);
    if (item.fromImageList)
        return;
    // The tick: five strokes, partly past the box's right and top edges.
    const int l = box.left(), t = box.top(), r = box.right() + 1, b = box.bottom() + 1;
    const int strokes[5][4] = {{l + 1, t + 5, l + 4, b - 2},
                               {l + 2, t + 5, l + 4, b - 3},
                               {l + 2, t + 4, l + 5, b - 3},
                               {l + 4, b - 3, r + 2, t - 1},
                               {l + 4, b - 2, r - 2, t + 3}};
    p.setPen(linePen(clBlack));
    for (const auto &s : strokes)
        p.drawLine(f.m.x(s[0]), s[1], f.m.x(s[2]), s[3]);
}

void paintPicture(QPainter &p, const ItemFrame &f, const Item &item)
{
    const WorkingColors &wc = *f.wc;
    QImage image = item.picture.convertToFormat(QImage::Format_ARGB32);
    if (item.fromImageList) {
        // Image-list pictures are laid on the icon background first.
        QImage laid(image.size(), QImage::Format_ARGB32);
        laid.setDevicePixelRatio(image.devicePixelRatio());
        laid.fill(toQColor(wc.iconBackColor));
        QPainter lp(&laid);
        lp.drawImage(0, 0, image);
        lp.end();
        image = laid;
    }
    // In points: a picture for a denser screen is drawn at the same size.
    const int w = pointSize(image).width();
    int x = w > f.iconWidth ? f.left + 2 : f.left + (f.iconWidth - w) / 2 - 1;
    int y = f.top + 4;
    const bool plain = item.enabled && !item.checked;
    if (item.selected && plain) {
        DrawShadow(p, image, f.m.start(x + 2, w), y + 2, DarkenColor(wc.selectColor, 50));
        --x;
        --y;
    } else if (!item.selected && plain && wc.highColour) {
        LightenBitmap(image, 30);
    } else if (!item.enabled) {
        GreyBitmap(image, 90);
    }
    makeTransparent(image);
    // A dense picture on a screen of 1.5 pixels per point is scaled down smoothly.
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(f.m.start(x, w), y, image);
    p.restore();
}

void paintText(QPainter &p, const ItemFrame &f, const Item &item, int textLeft)
{
    const WorkingColors &wc = *f.wc;
    const int left = textLeft + 5;
    const int textHeight = QFontMetrics(wc.font).height();
    const int top = f.top + (f.bottom - f.top - textHeight) / 2;
    Color textColor = wc.fontColor;
    if (item.selected)
        textColor = wc.selectFontColor;
    if (!item.enabled)
        textColor = wc.disabledColor;
    const int align = (f.m.on ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop |
                      Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QString caption = QLatin1Char(' ') + item.caption;
    if (item.isDefault && item.enabled) {
        // Four darker copies around the caption make the default item bold and embossed.
        // The pass's top-left pixel lies under the leading blank, so it is pure background.
        struct Pass
        {
            int dx, dy, darken;
        };
        constexpr Pass passes[] = {{1, 0, 30}, {1, 2, 30}, {0, 1, 40}, {1, 1, 60}};
        for (const Pass &pass : passes) {
            const QRect r =
                f.m.rect(left + pass.dx, top + pass.dy, f.right + pass.dx, f.bottom + pass.dy);
            const int cornerX = f.m.on ? r.right() : r.left();
            p.setPen(toQColor(DarkenColor(f.backgroundAt(cornerX, r.top()), pass.darken)));
            p.drawText(r, align, caption);
        }
    }
    p.setPen(toQColor(textColor));
    p.drawText(f.m.rect(left, top, f.right, f.bottom), align, caption);
    if (!item.shortcut.isEmpty()) {
        const int shortcutAlign =
            (f.m.on ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop | Qt::TextSingleLine;
        p.setPen(toQColor(wc.highColour ? DarkenColor(textColor, -40) : textColor));
        p.drawText(f.m.rect(left, top, f.right - 10, f.bottom), shortcutAlign,
                   item.shortcut + QLatin1Char(' '));
    }
    if (item.hasSubMenu) {
        const int cx = f.right - 8, cy = (f.top + f.bottom) / 2;
        QPolygon arrow;
        arrow << QPoint(f.m.x(cx), cy - 3) << QPoint(f.m.x(cx + 3), cy)
              << QPoint(f.m.x(cx), cy + 3);
        p.setPen(Qt::NoPen);
        p.setBrush(toQColor(textColor));
        p.drawPolygon(arrow);
    }
}

} // namespace

WorkingColors workingColors(const Look &look, const QPalette &palette, bool highColour,
                            const QFont &systemMenuFont)
{
    auto res = [&palette](Color c) { return resolveColor(c, palette); };
    WorkingColors wc;
    wc.highColour = highColour;
    wc.font = look.font;
    wc.fontColor = res(look.fontColor);
    wc.color = res(look.color);
    wc.iconBackColor = res(look.iconBackColor);
    wc.menuBarColor = res(look.menuBarColor);
    wc.selectColor = res(look.selectColor);
    wc.selectBorderColor = res(look.selectBorderColor);
    wc.selectFontColor = res(look.selectFontColor);
    wc.disabledColor = res(look.disabledColor);
    wc.separatorColor = res(look.separatorColor);
    wc.checkedColor = res(look.checkedColor);
    const Color btnFace = res(clBtnFace);
    const Color btnShadow = res(clBtnShadow);
    const Color highlight = res(clHighlight);
    if (highColour) {
        wc.checkedArea = LightenColor(wc.selectColor, 75);
        wc.checkedAreaSelected = LightenColor(wc.selectColor, 50);
        wc.menuBorder = DarkenColor(btnFace, 90);
        wc.menuShadow = DarkenColor(btnFace, 76);
    } else {
        wc.checkedArea = clWhite;
        wc.checkedAreaSelected = clSilver;
        wc.menuBorder = btnShadow;
        wc.menuShadow = btnShadow;
    }
    if (!look.useSystemColors)
        return wc;
    wc.font = systemMenuFont;
    wc.fontColor = res(clMenuText);
    wc.selectFontColor = wc.fontColor;
    if (highColour) {
        wc.color = LightenColor(btnFace, 86);
        wc.iconBackColor = LightenColor(btnFace, 16);
        wc.selectColor = LightenColor(highlight, 68);
        wc.selectBorderColor = highlight;
        wc.menuBarColor = res(clMenu);
        wc.disabledColor = LightenColor(btnShadow, 10);
        wc.separatorColor = LightenColor(btnShadow, 25);
        wc.checkedColor = highlight;
        wc.checkedArea = LightenColor(highlight, 75);
        wc.checkedAreaSelected = LightenColor(highlight, 50);
    } else {
        wc.color = clWhite;
        wc.iconBackColor = btnFace;
        wc.selectColor = clWhite;
        wc.selectBorderColor = highlight;
        wc.menuBarColor = btnFace;
        wc.disabledColor = btnShadow;
        wc.separatorColor = btnShadow;
        wc.checkedColor = highlight;
        wc.checkedArea = clWhite;
        wc.checkedAreaSelected = clWhite;
    }
    return wc;
}

int itemHeight(int textHeight, int pictureHeight)
{
    return std::max(textHeight + roundHalfEven(textHeight * 3, 4), pictureHeight + 4);
}

QSize measureItem(const Item &item, const QFont &font, int iconWidth, const QSize &proposed)
{
    const QFontMetrics fm(font);
    QString text;
    if (!item.separator) {
        text = item.caption;
        if (!item.shortcut.isEmpty())
            text += item.shortcut + QStringLiteral("WWW");
    }
    int width = fm.horizontalAdvance(text);
    if (text.contains(QLatin1Char('&')))
        width -= fm.horizontalAdvance(QLatin1Char('&'));
    const int picture = pointSize(item.picture).width();
    width += (item.menuBarItem ? picture : std::max(picture, iconWidth)) + 10;
    const int height =
        item.separator ? 4 : itemHeight(fm.height(), pointSize(item.picture).height());
    return proposed.expandedTo(QSize(width, height));
}

void drawItem(QPainter &painter, const QRect &rect, const Item &given, const WorkingColors &wc,
              const Look &look)
{
    Item item = given;
    // A hovered disabled item keeps the look it has unhovered: no highlight, its greyed
    // picture and its caption stay.
    if (item.selected && !item.enabled)
        item.selected = false;

    ItemFrame f;
    f.left = rect.left();
    f.top = rect.top();
    f.right = rect.left() + rect.width();
    f.bottom = rect.top() + rect.height() + 1;
    f.m = Mirror{f.left, f.right, item.rightToLeft};
    f.iconWidth = look.iconWidth;
    f.gradient = look.gradient && wc.highColour;
    f.highlight = item.selected && look.drawSelect && item.enabled;
    f.highlightRect = f.m.rect(f.left, f.top + 1, f.right - (look.flatMenu ? 1 : 0), f.bottom - 1);
    f.wc = &wc;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(wc.font);

    const int iconWidth = look.iconWidth;
    QRect checkBox; // left to right coordinates
    if (item.fromImageList) {
        checkBox =
            QRect(QPoint(f.left + 1, f.top + 2), QPoint(f.left + iconWidth - 4, f.bottom - 3));
    } else {
        checkBox = QRect(f.left + (iconWidth - kCheckSide) / 2,
                         f.top + (f.bottom - f.top - kCheckSide) / 2, kCheckSide, kCheckSide);
    }
    const int pictureWidth = pointSize(item.picture).width();
    const int textLeft = pictureWidth > iconWidth ? f.left + pictureWidth + 4 : f.left + iconWidth;

    if (f.gradient) {
        paintGradient(painter, f);
    } else {
        fill(painter, f.m.rect(f.left, f.top, f.right, f.bottom), wc.color);
        fill(painter, f.m.rect(f.left, f.top, f.left + iconWidth, f.bottom), wc.iconBackColor);
    }
    if (f.highlight) {
        fill(painter, f.highlightRect, wc.selectColor);
        frame(painter, f.highlightRect, wc.selectBorderColor);
    }
    if (item.checked)
        paintCheck(painter, f, item, checkBox);
    if (!item.picture.isNull())
        paintPicture(painter, f, item);
    if (item.separator) {
        const int y = f.top + roundHalfEven(f.bottom - f.top, 2);
        painter.setPen(linePen(wc.separatorColor));
        painter.drawLine(f.m.x(textLeft + 7), y, f.m.x(f.right), y);
    } else {
        paintText(painter, f, item, textLeft);
    }
    painter.restore();
}

void drawMenuBarItem(QPainter &painter, const QRect &rect, const Item &item,
                     const WorkingColors &wc)
{
    painter.save();
    fill(painter, rect, wc.menuBarColor);
    Color textColor = item.enabled ? wc.fontColor : wc.disabledColor;
    QRect textRect = rect;
    if (item.selected && item.enabled) {
        // Raised: framed in the border colour with a two-pixel shadow on the right.
        const QRect face = rect.adjusted(0, 0, -2, 0);
        fill(painter, face, wc.iconBackColor);
        frame(painter, face, wc.menuBorder);
        fill(painter, QRect(face.right() + 1, rect.top() + 2, 2, rect.height() - 2), wc.menuShadow);
        textColor = ContrastColor(wc.iconBackColor, wc.fontColor);
        textRect = face;
    }
    painter.setFont(wc.font);
    painter.setPen(toQColor(textColor));
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     item.caption);
    painter.restore();
}

void drawFlatBorder(QPainter &painter, const QSize &size, const WorkingColors &wc)
{
    const int w = size.width(), h = size.height();
    if (w < 6 || h < 6)
        return;
    painter.save();
    // Inner lines: the icon background continues down the left, the menu colour on top.
    fill(painter, QRect(1, 1, w - 4, 2), wc.color);
    fill(painter, QRect(1, 1, 2, h - 4), wc.iconBackColor);
    frame(painter, QRect(0, 0, w - 2, h - 2), wc.menuBorder);
    fill(painter, QRect(w - 2, 2, 2, h - 2), wc.menuShadow);
    fill(painter, QRect(2, h - 2, w - 2, 2), wc.menuShadow);
    fill(painter, QRect(w - 2, 0, 2, 2), wc.color);
    fill(painter, QRect(0, h - 2, 2, 2), wc.color);
    painter.restore();
}

} // namespace XPMenuPaint
