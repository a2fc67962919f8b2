#include "ui/components/ImageBt.h"

#include "ui/components/ButtonAccessible.h"

#include <QBitmap>
#include <QContextMenuEvent>
#include <QDrag>
#include <QEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <stdexcept>

namespace {

std::size_t slot(TImageBt::Picture which)
{
    return static_cast<std::size_t>(which);
}

// The picture as drawn with Transparent set.
QPixmap keyedOut(const QPixmap &picture)
{
    if (picture.isNull() || picture.hasAlphaChannel())
        return picture;
    const QColor key = picture.toImage().pixelColor(0, picture.height() - 1);
    QPixmap keyed = picture;
    keyed.setMask(picture.createMaskFromColor(key, Qt::MaskInColor));
    return keyed;
}

} // namespace

TImageBt::TImageBt(QWidget *parent) : QWidget(parent)
{
    ButtonAccessible::install();
    // No background of its own: the parent shows wherever no picture is drawn.
    setAutoFillBackground(false);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    resize(DefaultSize, DefaultSize);
    applyPictures();
}

TImageBt::~TImageBt() = default;

const QPixmap &TImageBt::picture(Picture which) const
{
    return m_pictures[slot(which)];
}

void TImageBt::setPicture(Picture which, const QPixmap &picture)
{
    m_pictures[slot(which)] = picture;
    applyPictures();
}

const QPixmap &TImageBt::ImgAux(int number) const
{
    if (number < 1 || number > AuxCount)
        throw std::out_of_range("TImageBt::ImgAux: number out of 1 to 8");
    return m_aux[std::size_t(number - 1)];
}

void TImageBt::SetImgAux(int number, const QPixmap &picture)
{
    if (number < 1 || number > AuxCount)
        throw std::out_of_range("TImageBt::SetImgAux: number out of 1 to 8");
    m_aux[std::size_t(number - 1)] = picture;
}

void TImageBt::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    applyPictures();
}

void TImageBt::SetPopupmenu(QMenu *menu)
{
    m_menu = menu;
}

void TImageBt::SetShowHint(bool show)
{
    m_showHint = show;
    m_parentShowHint = false;
}

void TImageBt::applyPictures()
{
    for (std::size_t i = 0; i < m_pictures.size(); ++i)
        m_drawn[i] = m_transparent ? keyedOut(m_pictures[i]) : m_pictures[i];
    repaint();
}

TImageBt::Picture TImageBt::ChoosePicture(bool enabled, bool over, bool pressed, bool hasOver,
                                          bool hasPres, bool hasDisa)
{
    if (!enabled)
        return hasDisa ? Picture::Disa : Picture::Norm;
    if (over && pressed)
        return hasPres ? Picture::Pres : hasOver ? Picture::Over : Picture::Norm;
    if (over)
        return hasOver ? Picture::Over : Picture::Norm;
    return Picture::Norm;
}

TImageBt::Picture TImageBt::CurrentPicture() const
{
    return ChoosePicture(isEnabled(), m_over, m_pressed, !PictOver().isNull(), !PictPres().isNull(),
                         !PictDisa().isNull());
}

QRect TImageBt::DrawRect() const
{
    const QSize size = PictNorm().deviceIndependentSize().toSize();
    // Integer division truncates towards zero, also for a picture larger than the button.
    return QRect((width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
                 size.height());
}

QSize TImageBt::sizeHint() const
{
    return QSize(DefaultSize, DefaultSize);
}

void TImageBt::paintEvent(QPaintEvent *)
{
    const QPixmap &shown = m_drawn[slot(CurrentPicture())];
    const QRect target = DrawRect();
    if (shown.isNull() || target.isEmpty())
        return;
    QPainter painter(this);
    // At 1.5 pixels per point the dense picture is scaled down: smoothly, or its lines break.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, shown);
}

void TImageBt::setState(bool over, bool pressed)
{
    if (over == m_over && pressed == m_pressed)
        return;
    m_over = over;
    m_pressed = pressed;
    repaint();
}

bool TImageBt::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_showHint && !m_parentShowHint) {
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void TImageBt::enterEvent(QEnterEvent *event)
{
    if (!m_over && isEnabled())
        setState(true, m_pressed);
    QWidget::enterEvent(event);
}

void TImageBt::leaveEvent(QEvent *event)
{
    // The pressed flag stays: coming back before the release shows the pressed picture again.
    setState(false, m_pressed);
    QWidget::leaveEvent(event);
}

void TImageBt::mouseDown(QMouseEvent *event, bool doubleClick)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        // A press proves the pointer is over the button even when no enter event came first,
        // as when the button appeared under the pointer.
        const bool over = m_over || rect().contains(pos);
        setState(over, over);
        // The release after a double click is not another click.
        m_clickOnRelease = !doubleClick;
    }
    if (doubleClick && event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->modifiers(), pos.x(), pos.y());
}

void TImageBt::mousePressEvent(QMouseEvent *event)
{
    mouseDown(event, false);
}

void TImageBt::mouseDoubleClickEvent(QMouseEvent *event)
{
    mouseDown(event, true);
}

void TImageBt::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // While the button is held Qt sends no leave or enter; follow the pointer here.
    if (m_pressed)
        setState(rect().contains(pos), true);
    if (OnMouseMove)
        OnMouseMove(this, event->buttons(), event->modifiers(), pos.x(), pos.y());
}

void TImageBt::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    const bool click = left && m_clickOnRelease && rect().contains(pos);
    if (left) {
        m_clickOnRelease = false;
        setState(m_over, false);
    }
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), pos.x(), pos.y());
    if (click && OnClick)
        OnClick(this);
}

void TImageBt::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_menu) {
        event->ignore();
        return;
    }
    m_menu->popup(event->globalPos());
}

void TImageBt::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QWidget::changeEvent(event);
}

void TImageBt::hideEvent(QHideEvent *event)
{
    // A hidden button gets no release; it must not come back pressed.
    m_clickOnRelease = false;
    setState(false, false);
    QWidget::hideEvent(event);
}

bool TImageBt::askDragOver(QObject *source, const QPoint &pos, DragState state)
{
    bool accept = bool(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, source, pos.x(), pos.y(), state, accept);
    return accept;
}

void TImageBt::dragEnterEvent(QDragEnterEvent *event)
{
    if (askDragOver(event->source(), event->position().toPoint(), dsDragEnter))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TImageBt::dragMoveEvent(QDragMoveEvent *event)
{
    if (askDragOver(event->source(), event->position().toPoint(), dsDragMove))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TImageBt::dragLeaveEvent(QDragLeaveEvent *)
{
    askDragOver(nullptr, mapFromGlobal(QCursor::pos()), dsDragLeave);
}

void TImageBt::dropEvent(QDropEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (OnDragDrop)
        OnDragDrop(this, event->source(), pos.x(), pos.y());
    event->acceptProposedAction();
}

void TImageBt::BeginDrag()
{
    if (OnStartDrag)
        OnStartDrag(this);
    auto *drag = new QDrag(this);
    auto *data = new QMimeData;
    // Only widgets of this program make sense of it; the source object travels with the drag.
    data->setData(QStringLiteral("application/x-tolvex-control"), objectName().toUtf8());
    drag->setMimeData(data);
    if (!PictNorm().isNull())
        drag->setPixmap(PictNorm());
    drag->exec(Qt::MoveAction | Qt::CopyAction);
    QObject *target = drag->target();
    QPoint pos;
    if (auto *widget = qobject_cast<QWidget *>(target))
        pos = widget->mapFromGlobal(QCursor::pos());
    drag->deleteLater();
    if (OnEndDrag)
        OnEndDrag(this, target, pos.x(), pos.y());
}
