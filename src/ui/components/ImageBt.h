#pragma once

#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

/// A button made only of pictures: one per state (normal, mouse over, pressed, disabled), drawn
/// centred and scaled to the normal picture's size, with no frame, no caption and no focus.
/// Whatever the pictures leave uncovered shows the parent's background.
class TImageBt final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TImageBt)

public:
    /// The state pictures.
    enum class Picture
    {
        Norm,
        Over,
        Pres,
        Disa
    };
    enum DragState
    {
        dsDragEnter,
        dsDragLeave,
        dsDragMove
    };

    /// Event handlers may be left empty; an empty one is skipped. Coordinates are the
    /// button's own.
    using TNotifyEvent = std::function<void(TImageBt *sender)>;
    using MouseEvent = std::function<void(TImageBt *sender, Qt::MouseButton button,
                                          Qt::KeyboardModifiers shift, int x, int y)>;
    using MouseMoveEvent = std::function<void(TImageBt *sender, Qt::MouseButtons buttons,
                                              Qt::KeyboardModifiers shift, int x, int y)>;
    using DragOverEvent = std::function<void(TImageBt *sender, QObject *source, int x, int y,
                                             DragState state, bool &accept)>;
    using DragDropEvent = std::function<void(TImageBt *sender, QObject *source, int x, int y)>;
    using EndDragEvent = std::function<void(TImageBt *sender, QObject *target, int x, int y)>;

    /// Width and height of a new button.
    static constexpr int DefaultSize = 23;
    /// Number of auxiliary pictures, numbered from 1.
    static constexpr int AuxCount = 8;

    explicit TImageBt(QWidget *parent = nullptr);
    ~TImageBt() override;

    /// Setting a picture copies it. The normal picture's size is the drawing size of all.
    const QPixmap &PictNorm() const { return picture(Picture::Norm); }
    void SetPictNorm(const QPixmap &picture) { setPicture(Picture::Norm, picture); }
    const QPixmap &PictOver() const { return picture(Picture::Over); }
    void SetPictOver(const QPixmap &picture) { setPicture(Picture::Over, picture); }
    const QPixmap &PictPres() const { return picture(Picture::Pres); }
    void SetPictPres(const QPixmap &picture) { setPicture(Picture::Pres, picture); }
    const QPixmap &PictDisa() const { return picture(Picture::Disa); }
    void SetPictDisa(const QPixmap &picture) { setPicture(Picture::Disa, picture); }
    /// Auxiliary pictures 1 to 8, kept for the owner's use and never drawn.
    const QPixmap &ImgAux(int number) const;
    void SetImgAux(int number, const QPixmap &picture);

    /// Pictures without an alpha channel lose their transparent colour, the colour of their
    /// bottom-left pixel; pictures with one always keep it.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    /// Context menu; not owned.
    QMenu *Popupmenu() const { return m_menu; }
    void SetPopupmenu(QMenu *menu);
    /// The tooltip is shown when ShowHint is set, or when ParentShowHint leaves it to the
    /// parent, which shows them. Setting ShowHint clears ParentShowHint.
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool show);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool parent) { m_parentShowHint = parent; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    MouseEvent OnMouseDown;
    MouseMoveEvent OnMouseMove;
    MouseEvent OnMouseUp;
    DragOverEvent OnDragOver;
    DragDropEvent OnDragDrop;
    TNotifyEvent OnStartDrag;
    EndDragEvent OnEndDrag;

    /// Drags the button somewhere; OnStartDrag fires first, OnEndDrag with the drop target
    /// (or null) when it ends.
    void BeginDrag();

    bool MouseOver() const { return m_over; }
    bool Pressed() const { return m_pressed; }
    /// The picture the button draws in its present state.
    Picture CurrentPicture() const;
    /// Which picture a button shows, given its state and which pictures hold a graphic.
    static Picture ChoosePicture(bool enabled, bool over, bool pressed, bool hasOver, bool hasPres,
                                 bool hasDisa);
    /// Where the pictures are drawn: the normal picture's size, centred.
    QRect DrawRect() const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    static constexpr int PictureCount = 4;

    const QPixmap &picture(Picture which) const;
    void setPicture(Picture which, const QPixmap &picture);
    void applyPictures();
    void setState(bool over, bool pressed);
    void mouseDown(QMouseEvent *event, bool doubleClick);
    bool askDragOver(QObject *source, const QPoint &pos, DragState state);

    std::array<QPixmap, PictureCount> m_pictures;
    std::array<QPixmap, PictureCount> m_drawn;
    std::array<QPixmap, AuxCount> m_aux;
    QPointer<QMenu> m_menu;
    bool m_transparent = false;
    bool m_over = false;
    bool m_pressed = false;
    bool m_clickOnRelease = false;
    bool m_showHint = false;
    bool m_parentShowHint = true;
};
