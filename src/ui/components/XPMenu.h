#pragma once

#include "ui/components/MenuColors.h"
#include "ui/components/XPMenuPaint.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QStyle>
#include <vector>

class QPainter;
class QStyleOptionMenuItem;
class XPMenuStyle;

/// Skins every menu bar and popup menu of the form that owns it: a light icon column fading
/// into the item background, a framed highlight, faded pictures that sharpen with a shadow
/// when selected, thin separators. It works as a style installed on each menu; a menu whose
/// style the form set itself is left alone unless overrideOwnerDraw() is on.
/// Colours are 0x00BBGGRR values or system colours (see MenuColors).
class TXPMenu final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TXPMenu)

public:
    using Color = MenuColors::Color;

    /// A menu whose pictures come from an image list carries this dynamic property set to
    /// true: its pictures are laid on the icon background and its check marks are boxes.
    static constexpr const char *ImageListProperty = "tolvexImageList";

    /// The form is the owner; its menus, and menus reached through their items, are skinned.
    explicit TXPMenu(QWidget *form);
    ~TXPMenu() override;

    QWidget *form() const { return m_form; }

    QFont font() const { return m_look.font; }
    void setFont(const QFont &font);
    Color fontColor() const { return m_look.fontColor; }
    void setFontColor(Color c);
    Color color() const { return m_look.color; }
    void setColor(Color c);
    Color iconBackColor() const { return m_look.iconBackColor; }
    void setIconBackColor(Color c);
    Color menuBarColor() const { return m_look.menuBarColor; }
    void setMenuBarColor(Color c);
    Color selectColor() const { return m_look.selectColor; }
    void setSelectColor(Color c);
    Color selectBorderColor() const { return m_look.selectBorderColor; }
    void setSelectBorderColor(Color c);
    Color selectFontColor() const { return m_look.selectFontColor; }
    void setSelectFontColor(Color c);
    Color disabledColor() const { return m_look.disabledColor; }
    void setDisabledColor(Color c);
    Color separatorColor() const { return m_look.separatorColor; }
    void setSeparatorColor(Color c);
    Color checkedColor() const { return m_look.checkedColor; }
    void setCheckedColor(Color c);
    int iconWidth() const { return m_look.iconWidth; }
    void setIconWidth(int width);
    bool drawSelect() const { return m_look.drawSelect; }
    void setDrawSelect(bool on);
    /// Use the desktop's colours and menu font instead of the colour properties.
    bool useSystemColors() const { return m_look.useSystemColors; }
    void setUseSystemColors(bool on);
    /// Also take over menus whose style the form set itself.
    bool overrideOwnerDraw() const { return m_overrideOwnerDraw; }
    void setOverrideOwnerDraw(bool on);
    bool gradient() const { return m_look.gradient; }
    void setGradient(bool on);
    /// A one-pixel border with a shadow drawn inside the popup.
    bool flatMenu() const { return m_look.flatMenu; }
    void setFlatMenu(bool on);
    /// Skin menus of the form created after activation as soon as they are polished.
    bool autoDetect() const { return m_autoDetect; }
    void setAutoDetect(bool on);
    bool active() const { return m_active; }
    void setActive(bool on);

    /// The size of a popup or menu-bar item: the toolkit's proposal, enlarged by the skin's
    /// rule. The shortcut column is left to the toolkit, which adds the widest one.
    QSize MeasureMenuItem(const QStyleOptionMenuItem &option, const QSize &proposed,
                          const QWidget *widget) const;
    /// Draws a popup or menu-bar item.
    void DrawMenuItem(QPainter *painter, const QStyleOptionMenuItem &option, const QWidget *widget);

    /// The colours of one drawing for a widget with this palette.
    XPMenuPaint::WorkingColors workingColors(const QPalette &palette, const QWidget *widget) const;
    const XPMenuPaint::Look &look() const { return m_look; }
    /// True when the widget currently wears this skin.
    bool isSkinned(const QWidget *menu) const;
    /// The desktop's menu font, "MS Sans Serif" replaced by "Tahoma".
    static QFont systemMenuFont();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Skinned
    {
        QPointer<QWidget> widget;
        QPointer<QStyle> previous; // the style the form had set, restored on removal
    };

    void ActivateMenus(bool enable);
    QList<QWidget *> formMenus() const;
    bool eligible(const QWidget *menu) const;
    void skin(QWidget *menu);
    // Skins the sub-menus reached from a menu's items that are not skinned yet.
    void skinSubMenus(const QWidget *menu);
    void refresh();
    void updateFilter();
    bool highColour(const QWidget *widget) const;
    template <typename T>
    void apply(T &field, const T &value);

    QPointer<QWidget> m_form;
    XPMenuStyle *m_style;
    XPMenuPaint::Look m_look;
    bool m_overrideOwnerDraw = false;
    bool m_autoDetect = false;
    bool m_active = false;
    bool m_filtering = false;
    std::vector<Skinned> m_skinned;
};
