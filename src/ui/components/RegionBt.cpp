#include "ui/components/RegionBt.h"

#include "ui/components/ButtonAccessible.h"
#include "ui/components/RegionMask.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

namespace {

constexpr int kLeaveCheckMs = 100;
constexpr int kDefaultSide = 23;

const char *const kKindWords[] = {"", "Mask", "Normal", "Over", "Push", "Disable", "Clip"};

} // namespace

// ---- TBitmapCollectionItem ----

TBitmapCollectionItem::TBitmapCollectionItem(TBitmaps *collection) : m_collection(collection) {}

void TBitmapCollectionItem::setBitmap(const QImage &bitmap)
{
    m_bitmap = bitmap;
    if (bitmap.isNull())
        m_kind = biNone;
    m_collection->Update();
}

void TBitmapCollectionItem::setImageKind(bImageKind kind)
{
    m_kind = kind;
    m_collection->Update();
}

void TBitmapCollectionItem::Assign(const TBitmapCollectionItem &source)
{
    m_bitmap = source.m_bitmap;
    m_kind = source.m_kind;
    m_collection->Update();
}

QString TBitmapCollectionItem::displayName() const
{
    if (m_kind <= biNone || m_kind > biClip)
        return QStringLiteral("undefined");
    QString name = QString::fromLatin1(kKindWords[m_kind]);
    if (!m_bitmap.isNull())
        name += QStringLiteral(" (%1x%2)").arg(m_bitmap.width()).arg(m_bitmap.height());
    return name;
}

int TBitmapCollectionItem::index() const
{
    for (int i = 0; i < m_collection->count(); ++i) {
        if (m_collection->items(i) == this)
            return i;
    }
    return -1;
}

// ---- TBitmaps ----

TBitmaps::TBitmaps(QObject *owner) : m_owner(owner)
{
    m_index.fill(-1);
}

TBitmapCollectionItem *TBitmaps::add()
{
    m_items.push_back(std::make_unique<TBitmapCollectionItem>(this));
    Update();
    return m_items.back().get();
}

TBitmapCollectionItem *TBitmaps::add(bImageKind kind, const QImage &bitmap)
{
    beginUpdate();
    TBitmapCollectionItem *item = add();
    item->setBitmap(bitmap);
    item->setImageKind(bitmap.isNull() ? biNone : kind);
    endUpdate();
    return item;
}

void TBitmaps::remove(int index)
{
    m_items.erase(m_items.begin() + index);
    Update();
}

void TBitmaps::clear()
{
    m_items.clear();
    Update();
}

void TBitmaps::beginUpdate()
{
    ++m_updateDepth;
}

void TBitmaps::endUpdate()
{
    if (m_updateDepth > 0 && --m_updateDepth == 0 && m_pending)
        Update();
}

int TBitmaps::IndexOfKind(int kind) const
{
    kind &= 0x7F;
    if (kind <= biNone || kind > biClip)
        return -1;
    return m_index[size_t(kind - 1)];
}

const QImage *TBitmaps::picture(int kind) const
{
    const int i = IndexOfKind(kind);
    return i < 0 ? nullptr : &m_items[size_t(i)]->bitmap();
}

bool TBitmaps::CopyImage(int kind, QImage *target) const
{
    const QImage *source = picture(kind);
    if (!source || !target)
        return false;
    *target = target->isNull() ? *source : source->convertToFormat(target->format());
    return true;
}

void TBitmaps::Update()
{
    if (m_updateDepth > 0) {
        m_pending = true;
        return;
    }
    m_pending = false;
    m_index.fill(-1);
    // A later item of a kind replaces an earlier one.
    for (size_t i = 0; i < m_items.size(); ++i) {
        const TBitmapCollectionItem &item = *m_items[i];
        if (item.bitmap().isNull() || item.imageKind() <= biNone || item.imageKind() > biClip)
            continue;
        m_index[size_t(item.imageKind() - 1)] = int(i);
    }
    if (OnCollectionUpdated)
        OnCollectionUpdated(this);
}

// ---- TRegionBt ----

TRegionBt::TRegionBt(QWidget *parent) : QWidget(parent), m_images(this)
{
    ButtonAccessible::install();
    // Windowless and non-opaque: the parent shows through wherever no picture is painted.
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    resize(kDefaultSide, kDefaultSide);
    m_images.OnCollectionUpdated = [this](TBitmaps *) { ImagesChanged(); };
}

TRegionBt::~TRegionBt()
{
    // The images may no longer call back into a button that is going away.
    m_images.OnCollectionUpdated = nullptr;
}

QMenu *TRegionBt::popupmenu() const
{
    return m_popupmenu;
}

void TRegionBt::setPopupmenu(QMenu *menu)
{
    m_popupmenu = menu;
}

void TRegionBt::setRegionColor(quint32 colour)
{
    if (colour == m_regionColor)
        return;
    m_regionColor = colour;
    m_shownKind = biNone;
    BuildRegions();
}

void TRegionBt::setShowHotHint(bool on)
{
    if (on == m_showHotHint)
        return;
    m_showHotHint = on;
    if (!on)
        switchHintOff();
}

void TRegionBt::setShowHint(bool on)
{
    m_showHint = on;
    if (!on)
        switchHintOff();
}

void TRegionBt::setCursorHotHand(bool on)
{
    if (on == m_cursorHotHand)
        return;
    m_cursorHotHand = on;
    if (!on)
        unsetCursor();
}

void TRegionBt::ImagesChanged()
{
    m_shownKind = biNone;
    if (const QImage *mask = m_images.picture(biMask))
        resize(mask->deviceIndependentSize().toSize());
    BuildRegions();
    update();
}

void TRegionBt::BuildRegions()
{
    if (m_images.count() == 0 || m_images.IndexOfKind(biMask) < 0) {
        m_shownKind = biNone;
        m_hotRegion.reset();
        m_clipRegion.reset();
        m_displayBitmap = QImage();
        update();
        return;
    }
    // Keeps the pictures' alpha so that their transparent parts show the parent.
    m_displayBitmap = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    m_displayBitmap.fill(Qt::transparent);
    m_shownKind = biNone; // the fresh bitmap shows nothing yet
    m_hotRegion = RegionFromImage(biMask);
    m_clipRegion = RegionFromImage(biClip);
    if (m_hotRegion && m_clipRegion)
        *m_hotRegion &= *m_clipRegion;
    ShowImage(m_enabled || m_images.IndexOfKind(biDisable) < 0 ? biNormal : biDisable);
}

std::optional<QRegion> TRegionBt::RegionFromImage(bImageKind kind) const
{
    const QImage *picture = m_images.picture(kind);
    if (!picture)
        return std::nullopt;
    // Kept in the button's own coordinates: the button may move without being resized, and
    // every position tested against the shape is taken in those coordinates too.
    // A picture for a denser screen gives its shape in points, as every position is taken.
    const qreal ratio = picture->devicePixelRatio();
    const QRegion shape = regionFromMask(*picture, m_regionColor);
    return ratio == 1.0 ? shape : QTransform::fromScale(1 / ratio, 1 / ratio).map(shape);
}

void TRegionBt::ShowImage(bImageKind kind)
{
    if (kind == m_shownKind || m_displayBitmap.isNull() || m_images.IndexOfKind(kind) < 0)
        return;
    m_shownKind = kind;
    m_images.CopyImage(kind, &m_displayBitmap);
    update();
}

bool TRegionBt::inShape(const QPoint &pos) const
{
    return m_hotRegion && m_hotRegion->contains(pos);
}

void TRegionBt::switchHintOff()
{
    m_showHint = false;
    if (QToolTip::isVisible() && QToolTip::text() == toolTip())
        QToolTip::hideText();
}

bool TRegionBt::fire(const NotifyEvent &event)
{
    if (!event)
        return true;
    const QPointer<TRegionBt> self(this);
    event(this);
    return !self.isNull();
}

bool TRegionBt::leaveHot()
{
    ShowImage(biNormal);
    if (m_showHotHint)
        switchHintOff();
    if (m_hot) {
        m_hot = false;
        return fire(OnMouseLeaveHot);
    }
    return true;
}

void TRegionBt::CheckLeave()
{
    if (!m_hotRegion)
        return;
    if (m_hotRegion->contains(mapFromGlobal(QCursor::pos())))
        return;
    if (m_leaveTimer) {
        m_leaveTimer->stop();
        m_leaveTimer->deleteLater();
        m_leaveTimer = nullptr;
    }
    unsetCursor();
    // Hot is checked too: without an over picture the normal one stays shown while hot.
    if (m_enabled && (m_shownKind != biNormal || m_hot))
        leaveHot();
}

bool TRegionBt::event(QEvent *e)
{
    if (e->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(e);
        if (!m_showHint || (m_showHotHint && !inShape(help->pos()))) {
            e->ignore();
            return true;
        }
    }
    return QWidget::event(e);
}

void TRegionBt::paintEvent(QPaintEvent *)
{
    if (m_displayBitmap.isNull())
        return;
    QPainter painter(this);
    if (m_clipRegion)
        painter.setClipRegion(*m_clipRegion);
    painter.setRenderHint(QPainter::SmoothPixmapTransform); // a dense picture at 1.5
    painter.drawImage(0, 0, m_displayBitmap);
}

void TRegionBt::mouseMoveEvent(QMouseEvent *e)
{
    if (m_enabled) {
        if (!m_leaveTimer) {
            m_leaveTimer = new QTimer(this);
            m_leaveTimer->setInterval(kLeaveCheckMs);
            connect(m_leaveTimer, &QTimer::timeout, this, &TRegionBt::CheckLeave);
            m_leaveTimer->start();
        }
        if (inShape(e->position().toPoint())) {
            // Only the left button, without shift or control, shows the pushed look.
            const bool leftAlone = e->buttons() == Qt::LeftButton &&
                                   !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
            ShowImage(leftAlone ? biPush : biOver);
            if (m_cursorHotHand)
                setCursor(Qt::PointingHandCursor);
            if (m_showHotHint)
                m_showHint = true;
            if (!m_hot) {
                m_hot = true;
                if (!fire(OnMouseEnterHot))
                    return;
            }
        } else if (m_shownKind != biNormal || m_hot) {
            if (m_cursorHotHand)
                unsetCursor();
            if (!leaveHot())
                return;
        }
    }
    QWidget::mouseMoveEvent(e);
}

void TRegionBt::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && inShape(e->position().toPoint())) {
        ShowImage(biPush);
        if (m_animateMouse != 0)
            QCursor::setPos(QCursor::pos() + QPoint(0, m_animateMouse));
    }
    QWidget::mousePressEvent(e);
}

void TRegionBt::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && inShape(e->position().toPoint())) {
        if (m_animateMouse != 0)
            QCursor::setPos(QCursor::pos() - QPoint(0, m_animateMouse));
        // The over look returns even when the click handler throws.
        struct ShowOver
        {
            QPointer<TRegionBt> button;
            ~ShowOver()
            {
                if (button)
                    button->ShowImage(biOver);
            }
        } showOver{this};
        if (!fire(OnClick))
            return;
    }
    QWidget::mouseReleaseEvent(e);
}

void TRegionBt::leaveEvent(QEvent *e)
{
    // The toolkit reports leaving at once; the timer still covers pointers it missed.
    CheckLeave();
    QWidget::leaveEvent(e);
}

void TRegionBt::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (m_displayBitmap.deviceIndependentSize().toSize() != size())
        m_displayBitmap = QImage();
    m_shownKind = biNone;
    BuildRegions();
}

void TRegionBt::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::EnabledChange && isEnabled() != m_enabled) {
        m_enabled = isEnabled();
        m_shownKind = biNone;
        if (m_enabled) {
            ShowImage(biNormal);
        } else {
            ShowImage(biDisable);
            if (m_cursorHotHand)
                unsetCursor();
            if (m_showHotHint)
                switchHintOff();
        }
    }
    QWidget::changeEvent(e);
}

void TRegionBt::contextMenuEvent(QContextMenuEvent *e)
{
    if (!m_popupmenu) {
        e->ignore();
        return;
    }
    m_popupmenu->popup(e->globalPos());
}
