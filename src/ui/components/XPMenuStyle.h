#pragma once

#include <QPointer>
#include <QProxyStyle>

class TXPMenu;

/// The style a menu skin installs on its menus: menu items, menu-bar items and the popup's
/// panel go to the skin; everything else to the application's style.
class XPMenuStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    explicit XPMenuStyle(TXPMenu *skin);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;

private:
    bool skinning() const;

    QPointer<TXPMenu> m_skin;
};
