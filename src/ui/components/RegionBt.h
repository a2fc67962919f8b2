#pragma once

#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QTimer;
class TBitmaps;
class TRegionBt;

/// The part a picture plays for a region button.
enum bImageKind
{
    biNone,
    biMask,
    biNormal,
    biOver,
    biPush,
    biDisable,
    biClip
};

/// One picture of a region button and the part it plays. Setting either property notifies
/// the collection that owns the item.
class TBitmapCollectionItem final
{
public:
    explicit TBitmapCollectionItem(TBitmaps *collection);
    TBitmapCollectionItem(const TBitmapCollectionItem &) = delete;
    TBitmapCollectionItem &operator=(const TBitmapCollectionItem &) = delete;

    const QImage &bitmap() const { return m_bitmap; }
    /// Copies the picture; a null picture empties the item and resets its kind to biNone.
    void setBitmap(const QImage &bitmap);
    bImageKind imageKind() const { return m_kind; }
    void setImageKind(bImageKind kind);
    /// Copies picture and kind from another item.
    void Assign(const TBitmapCollectionItem &source);
    /// "Normal (25x18)", "Mask" for an empty picture, "undefined" for biNone.
    QString displayName() const;
    int index() const;
    TBitmaps *collection() const { return m_collection; }

private:
    TBitmaps *m_collection;
    QImage m_bitmap;
    bImageKind m_kind = biNone;
};

/// The pictures of a region button, with the index of the usable picture of each kind.
class TBitmaps final
{
public:
    explicit TBitmaps(QObject *owner);
    TBitmaps(const TBitmaps &) = delete;
    TBitmaps &operator=(const TBitmaps &) = delete;

    /// Fired after every change of the collection or of one of its items.
    std::function<void(TBitmaps *sender)> OnCollectionUpdated;

    QObject *owner() const { return m_owner; }
    int count() const { return int(m_items.size()); }
    TBitmapCollectionItem *items(int index) const { return m_items.at(size_t(index)).get(); }
    TBitmapCollectionItem *add();
    /// Adds an item holding a copy of the picture, of the given kind.
    TBitmapCollectionItem *add(bImageKind kind, const QImage &bitmap);
    void remove(int index);
    void clear();
    /// Batches changes: one notification at the outermost endUpdate().
    void beginUpdate();
    void endUpdate();

    /// The index of the usable item of a kind (low 7 bits used), or -1.
    int IndexOfKind(int kind) const;
    /// Replaces *target with the picture of that kind, in the target's pixel format when it
    /// has one; false when there is no such picture or no target.
    bool CopyImage(int kind, QImage *target) const;
    /// The usable picture of a kind, or nullptr.
    const QImage *picture(int kind) const;

    /// Called by the items: recompute the indices and notify.
    void Update();

private:
    QObject *m_owner;
    std::vector<std::unique_ptr<TBitmapCollectionItem>> m_items;
    std::array<int, biClip> m_index; // biMask..biClip
    int m_updateDepth = 0;
    bool m_pending = false;
};

/// A button shaped by a mask picture: only the mask's pixels of RegionColor (limited by the
/// clip picture) react to the mouse; pictures show its normal, hot, pushed and disabled looks.
/// Events are plain function members that may stay empty, in which case they are skipped.
class TRegionBt final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TRegionBt)

public:
    using NotifyEvent = std::function<void(TRegionBt *sender)>;

    explicit TRegionBt(QWidget *parent = nullptr);
    ~TRegionBt() override;

    /// Opened by a right click on the button.
    QMenu *popupmenu() const;
    void setPopupmenu(QMenu *menu);
    /// The mask colour (0x00BBGGRR) that belongs to the shape; default pure blue.
    quint32 regionColor() const { return m_regionColor; }
    void setRegionColor(quint32 colour);
    /// Show the tool tip only while the mouse is over the shape.
    bool showHotHint() const { return m_showHotHint; }
    void setShowHotHint(bool on);
    /// Whether the tool tip may show at all; switched by the hot state when showHotHint().
    bool showHint() const { return m_showHint; }
    void setShowHint(bool on);
    /// Use the hand pointer while the mouse is over the shape.
    bool cursorHotHand() const { return m_cursorHotHand; }
    void setCursorHotHand(bool on);
    /// Pixels by which a press moves the mouse pointer down (and the release back up).
    int animateMouse() const { return m_animateMouse; }
    void setAnimateMouse(int pixels) { m_animateMouse = pixels; }
    TBitmaps &images() { return m_images; }
    const TBitmaps &images() const { return m_images; }

    /// A left button released over the shape.
    NotifyEvent OnClick;
    /// The mouse entered the shape.
    NotifyEvent OnMouseEnterHot;
    /// The mouse left the shape.
    NotifyEvent OnMouseLeaveHot;

    /// The mouse is over the shape.
    bool isHot() const { return m_hot; }
    /// The kind of the picture shown, biNone before any.
    bImageKind shownKind() const { return m_shownKind; }
    /// The shape in the button's own coordinates; empty without a mask picture.
    QRegion hotRegion() const { return m_hotRegion.value_or(QRegion()); }
    bool hasHotRegion() const { return m_hotRegion.has_value(); }
    std::optional<QRegion> clipRegion() const { return m_clipRegion; }
    /// The picture shown; null without a mask picture.
    const QImage &displayBitmap() const { return m_displayBitmap; }
    /// The leave check runs only while the mouse has recently moved over the button.
    bool leaveCheckRunning() const { return m_leaveTimer != nullptr; }

    /// Rebuilds the shape and the clip from the pictures and shows the resting picture.
    void BuildRegions();
    /// Shows the picture of a kind, when there is one and it is not already shown.
    void ShowImage(bImageKind kind);
    /// Restores the resting look once the pointer is off the shape.
    void CheckLeave();

protected:
    bool event(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    void ImagesChanged();
    std::optional<QRegion> RegionFromImage(bImageKind kind) const;
    bool inShape(const QPoint &pos) const;
    void switchHintOff();
    // Fires an event; false when the handler destroyed the button.
    bool fire(const NotifyEvent &event);
    // The resting look after the mouse left the shape; false when a handler destroyed us.
    bool leaveHot();

    TBitmaps m_images;
    QPointer<QMenu> m_popupmenu;
    quint32 m_regionColor = 0x00FF0000;
    bool m_showHotHint = false;
    bool m_showHint = true;
    bool m_cursorHotHand = false;
    bool m_enabled = true;
    bool m_hot = false;
    int m_animateMouse = 0;
    bImageKind m_shownKind = biNone;
    std::optional<QRegion> m_hotRegion;
    std::optional<QRegion> m_clipRegion;
    QImage m_displayBitmap;
    QTimer *m_leaveTimer = nullptr;
};
