#include "ui/main/UserListView.h"

#include "ui/WindowLook.h"
#include "ui/main/MainLayout.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

// The engine's model knows no pictures; the icon is the view's.
class UserListView::Delegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QIcon icon;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (icon.isNull())
            return;
        option->icon = icon;
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = QSize(16, 16);
    }
};

UserListView::UserListView(QWidget *parent) : QTreeView(parent), m_delegate(new Delegate(this))
{
    setItemDelegate(m_delegate);
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::NoFrame);
    setTextElideMode(Qt::ElideRight);

    QPalette look = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        look.setColor(group, QPalette::Base, WindowLook::color(WindowLook::kFieldColor));
        look.setColor(group, QPalette::Highlight, WindowLook::color(MainLayout::kSelectedRowColor));
        look.setColor(group, QPalette::HighlightedText,
                      WindowLook::color(MainLayout::kSelectedTextColor));
    }
    setPalette(look);
    setFont(WindowLook::windowFont());
}

UserListView::~UserListView() = default;

void UserListView::setUserIcon(const QIcon &icon)
{
    // A selected row shows the same picture, not the style's tinted one.
    QIcon same;
    for (const QSize &size : icon.availableSizes()) {
        const QPixmap picture = icon.pixmap(size);
        same.addPixmap(picture, QIcon::Normal);
        same.addPixmap(picture, QIcon::Selected);
    }
    m_delegate->icon = same;
    viewport()->update();
}

void UserListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    emit doubleClickedAnywhere();
}

void UserListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    emit mouseReleased();
}
