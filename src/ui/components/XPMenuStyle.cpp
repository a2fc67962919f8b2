#include "ui/components/XPMenuStyle.h"

#include "ui/components/XPMenu.h"

#include <QMenu>
#include <QPainter>
#include <QStyleOption>

using namespace MenuColors;

XPMenuStyle::XPMenuStyle(TXPMenu *skin) : m_skin(skin)
{
    setParent(skin);
}

bool XPMenuStyle::skinning() const
{
    return m_skin && m_skin->active();
}

void XPMenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                              const QWidget *widget) const
{
    if (skinning()) {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        switch (element) {
        case CE_MenuItem:
        case CE_MenuBarItem:
            if (item) {
                m_skin->DrawMenuItem(painter, *item, widget);
                return;
            }
            break;
        case CE_MenuBarEmptyArea:
            painter->fillRect(
                option->rect,
                toQColor(m_skin->workingColors(option->palette, widget).menuBarColor));
            return;
        case CE_MenuEmptyArea: {
            const XPMenuPaint::WorkingColors wc = m_skin->workingColors(option->palette, widget);
            // With the gradient the item background ends in the icon colour lightened by 96.
            const bool gradient = m_skin->gradient() && wc.highColour;
            painter->fillRect(option->rect,
                              toQColor(gradient ? LightenColor(wc.iconBackColor, 96) : wc.color));
            return;
        }
        default:
            break;
        }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void XPMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    if (skinning()) {
        switch (element) {
        case PE_PanelMenu:
            drawControl(CE_MenuEmptyArea, option, painter, widget);
            return;
        case PE_PanelMenuBar:
            drawControl(CE_MenuBarEmptyArea, option, painter, widget);
            return;
        case PE_FrameMenu:
            if (m_skin->flatMenu() && qobject_cast<const QMenu *>(widget)) {
                XPMenuPaint::drawFlatBorder(*painter, option->rect.size(),
                                            m_skin->workingColors(option->palette, widget));
                return;
            }
            break;
        default:
            break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize XPMenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                    const QSize &size, const QWidget *widget) const
{
    if (skinning() && (type == CT_MenuItem || type == CT_MenuBarItem)) {
        if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option))
            return m_skin->MeasureMenuItem(*item, size, widget);
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int XPMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                             const QWidget *widget) const
{
    if (skinning()) {
        switch (metric) {
        case PM_MenuHMargin:
        case PM_MenuVMargin:
            // Items reach the frame, so that the icon column runs from top to bottom.
            return 0;
        case PM_MenuPanelWidth:
            if (m_skin->flatMenu())
                return 3;
            break;
        default:
            break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}
