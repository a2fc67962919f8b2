#pragma once

#include <QIcon>
#include <QTreeView>

/// The user list: one column of names, no header, whole rows selected (several at once),
/// each row with the user icon; selected rows are drawn white on blue whether or not the
/// window is active.
class UserListView final : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UserListView)

public:
    explicit UserListView(QWidget *parent = nullptr);
    ~UserListView() override;

    void setUserIcon(const QIcon &icon);

signals:
    /// A double click anywhere in the list, on a row or on empty space.
    void doubleClickedAnywhere();
    /// A mouse button was released over the list.
    void mouseReleased();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    class Delegate;
    Delegate *m_delegate;
};
