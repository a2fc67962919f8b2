#include "ui/components/XPMenu.h"

#include "ui/components/XPMenuStyle.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyleOptionMenuItem>

using namespace MenuColors;

namespace {

// How far a popup caption starts into its text area (the item drawing's own inset).
constexpr int kCaptionInset = 5;

// The item's picture at its own size (the first the icon offers), as dense as the menu's
// screen: a denser form of the picture stays sharp.
QImage pictureOf(const QIcon &icon, const QWidget *widget)
{
    if (icon.isNull())
        return {};
    const QList<QSize> sizes = icon.availableSizes();
    const QSize size = sizes.isEmpty() ? QSize(16, 16) : sizes.first();
    return icon.pixmap(size, widget ? widget->devicePixelRatioF() : 1.0).toImage();
}

XPMenuPaint::Item itemOf(const QStyleOptionMenuItem &option, const QWidget *widget, bool menuBar)
{
    XPMenuPaint::Item item;
    const qsizetype tab = option.text.indexOf(QLatin1Char('\t'));
    item.caption = tab < 0 ? option.text : option.text.left(tab);
    if (tab >= 0)
        item.shortcut = option.text.mid(tab + 1);
    item.separator = option.menuItemType == QStyleOptionMenuItem::Separator ||
                     item.caption == QStringLiteral("-");
    item.enabled = option.state & QStyle::State_Enabled;
    item.selected = option.state & QStyle::State_Selected;
    item.checked = option.checkType != QStyleOptionMenuItem::NotCheckable && option.checked;
    item.radio = option.checkType == QStyleOptionMenuItem::Exclusive;
    item.isDefault = option.menuItemType == QStyleOptionMenuItem::DefaultItem;
    item.hasSubMenu = option.menuItemType == QStyleOptionMenuItem::SubMenu;
    item.fromImageList = widget && widget->property(TXPMenu::ImageListProperty).toBool();
    item.menuBarItem = menuBar;
    item.rightToLeft = option.direction == Qt::RightToLeft;
    item.picture = pictureOf(option.icon, widget);
    return item;
}

bool isMenuWidget(const QObject *o)
{
    return qobject_cast<const QMenu *>(o) || qobject_cast<const QMenuBar *>(o);
}

} // namespace

TXPMenu::TXPMenu(QWidget *form) : QObject(form), m_form(form), m_style(new XPMenuStyle(this))
{
    m_look.font = systemMenuFont();
    m_look.fontColor = clMenuText;
    m_look.selectFontColor = m_look.fontColor;
}

TXPMenu::~TXPMenu()
{
    // No menu may keep a style that is about to go.
    m_active = false;
    updateFilter();
    ActivateMenus(false);
}

QFont TXPMenu::systemMenuFont()
{
    QFont font = QApplication::font("QMenu");
    if (font.family() == QStringLiteral("MS Sans Serif"))
        font.setFamily(QStringLiteral("Tahoma"));
    return font;
}

template <typename T>
void TXPMenu::apply(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    refresh();
}

void TXPMenu::setFont(const QFont &font)
{
    apply(m_look.font, font);
}
void TXPMenu::setFontColor(Color c)
{
    apply(m_look.fontColor, c);
}
void TXPMenu::setColor(Color c)
{
    apply(m_look.color, c);
}
void TXPMenu::setIconBackColor(Color c)
{
    apply(m_look.iconBackColor, c);
}
void TXPMenu::setMenuBarColor(Color c)
{
    apply(m_look.menuBarColor, c);
}
void TXPMenu::setSelectColor(Color c)
{
    apply(m_look.selectColor, c);
}
void TXPMenu::setSelectBorderColor(Color c)
{
    apply(m_look.selectBorderColor, c);
}
void TXPMenu::setSelectFontColor(Color c)
{
    apply(m_look.selectFontColor, c);
}
void TXPMenu::setDisabledColor(Color c)
{
    apply(m_look.disabledColor, c);
}
void TXPMenu::setSeparatorColor(Color c)
{
    apply(m_look.separatorColor, c);
}
void TXPMenu::setCheckedColor(Color c)
{
    apply(m_look.checkedColor, c);
}
void TXPMenu::setIconWidth(int width)
{
    apply(m_look.iconWidth, width);
}
void TXPMenu::setDrawSelect(bool on)
{
    apply(m_look.drawSelect, on);
}
void TXPMenu::setUseSystemColors(bool on)
{
    apply(m_look.useSystemColors, on);
}
void TXPMenu::setGradient(bool on)
{
    apply(m_look.gradient, on);
}
void TXPMenu::setFlatMenu(bool on)
{
    apply(m_look.flatMenu, on);
}

void TXPMenu::setOverrideOwnerDraw(bool on)
{
    m_overrideOwnerDraw = on;
    if (m_active)
        ActivateMenus(true);
}

void TXPMenu::setAutoDetect(bool on)
{
    m_autoDetect = on;
    updateFilter();
}

void TXPMenu::setActive(bool on)
{
    m_active = on;
    ActivateMenus(on);
    updateFilter();
    refresh();
}

bool TXPMenu::isSkinned(const QWidget *menu) const
{
    return menu && menu->style() == static_cast<const QStyle *>(m_style);
}

QList<QWidget *> TXPMenu::formMenus() const
{
    QList<QWidget *> menus;
    if (!m_form)
        return menus;
    // Every menu bar and popup of the form, then the sub-menus their items lead to, which
    // need not belong to the form.
    for (QMenuBar *bar : m_form->findChildren<QMenuBar *>())
        menus.append(bar);
    for (QMenu *menu : m_form->findChildren<QMenu *>())
        menus.append(menu);
    for (qsizetype i = 0; i < menus.size(); ++i) {
        for (QAction *action : menus[i]->actions()) {
            QMenu *sub = action->menu();
            if (sub && !menus.contains(sub))
                menus.append(sub);
        }
    }
    return menus;
}

bool TXPMenu::eligible(const QWidget *menu) const
{
    // A style the form gave the menu itself stands for the form's own drawing.
    const bool ownedByForm = menu->testAttribute(Qt::WA_SetStyle) && !isSkinned(menu);
    return !ownedByForm || m_overrideOwnerDraw;
}

void TXPMenu::skin(QWidget *menu)
{
    if (isSkinned(menu))
        return;
    Skinned entry{menu, menu->testAttribute(Qt::WA_SetStyle) ? menu->style() : nullptr};
    m_skinned.push_back(entry);
    menu->setStyle(m_style);
}

void TXPMenu::ActivateMenus(bool enable)
{
    const QList<QWidget *> wanted = enable ? formMenus() : QList<QWidget *>();
    // Removing first and installing again is the same as leaving a skinned menu alone, which
    // spares open menus a relayout.
    std::vector<Skinned> kept;
    for (const Skinned &entry : m_skinned) {
        if (!entry.widget)
            continue;
        if (wanted.contains(entry.widget.data()) && isSkinned(entry.widget)) {
            kept.push_back(entry);
        } else if (isSkinned(entry.widget)) {
            entry.widget->setStyle(entry.previous);
            entry.widget->update();
        }
    }
    m_skinned = std::move(kept);
    for (QWidget *menu : wanted) {
        if (eligible(menu))
            skin(menu);
    }
}

void TXPMenu::skinSubMenus(const QWidget *menu)
{
    if (!menu)
        return;
    for (QAction *action : menu->actions()) {
        QMenu *sub = action->menu();
        if (sub && !isSkinned(sub) && eligible(sub)) {
            skin(sub);
            skinSubMenus(sub);
        }
    }
}

void TXPMenu::refresh()
{
    // Menus cache their item sizes: a style change makes them measure and paint again.
    for (const Skinned &entry : m_skinned) {
        if (!entry.widget)
            continue;
        QEvent change(QEvent::StyleChange);
        QCoreApplication::sendEvent(entry.widget, &change);
        entry.widget->update();
    }
}

void TXPMenu::updateFilter()
{
    const bool want = m_active && m_autoDetect && QCoreApplication::instance();
    if (want == m_filtering)
        return;
    m_filtering = want;
    if (want)
        QCoreApplication::instance()->installEventFilter(this);
    else if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool TXPMenu::eventFilter(QObject *watched, QEvent *event)
{
    // A menu is polished before it is first measured: the moment to skin one made later.
    if (event->type() == QEvent::Polish && m_active && m_autoDetect && isMenuWidget(watched)) {
        auto *menu = static_cast<QWidget *>(watched);
        if (!isSkinned(menu) && formMenus().contains(menu))
            setActive(true);
    }
    return QObject::eventFilter(watched, event);
}

bool TXPMenu::highColour(const QWidget *widget) const
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return !screen || screen->depth() > 15;
}

XPMenuPaint::WorkingColors TXPMenu::workingColors(const QPalette &palette,
                                                  const QWidget *widget) const
{
    return XPMenuPaint::workingColors(m_look, palette, highColour(widget), systemMenuFont());
}

QSize TXPMenu::MeasureMenuItem(const QStyleOptionMenuItem &option, const QSize &proposed,
                               const QWidget *widget) const
{
    const bool menuBar = qobject_cast<const QMenuBar *>(widget) != nullptr;
    XPMenuPaint::Item item = itemOf(option, widget, menuBar);
    const QFont font = m_look.useSystemColors ? systemMenuFont() : m_look.font;
    // The toolkit adds the widest shortcut to every item, so this item's own is left out.
    const QString shortcut = item.shortcut;
    QSize size =
        XPMenuPaint::measureItem(item, font, m_look.iconWidth, item.separator ? QSize() : proposed);
    if (!shortcut.isEmpty() && !item.separator) {
        const int own = QFontMetrics(font).horizontalAdvance(shortcut);
        size.setWidth(std::max(proposed.width(), size.width() - own));
    }
    // A popup caption is drawn 5 pixels into the text area behind a leading blank, which the
    // rule above does not count: without them the longest caption reaches the menu's right
    // edge. With them it ends 10 pixels before it, where shortcuts end too.
    if (!menuBar && !item.separator)
        size.rwidth() += kCaptionInset + QFontMetrics(font).horizontalAdvance(QLatin1Char(' '));
    return size;
}

void TXPMenu::DrawMenuItem(QPainter *painter, const QStyleOptionMenuItem &option,
                           const QWidget *widget)
{
    const bool menuBar = qobject_cast<const QMenuBar *>(widget) != nullptr;
    const XPMenuPaint::WorkingColors wc = workingColors(option.palette, widget);
    const XPMenuPaint::Item item = itemOf(option, widget, menuBar);
    if (menuBar)
        XPMenuPaint::drawMenuBarItem(*painter, option.rect, item, wc);
    else
        XPMenuPaint::drawItem(*painter, option.rect, item, wc, m_look);
    // Sub-menus added since the activation are skinned once a neighbour is drawn.
    skinSubMenus(widget);
}
