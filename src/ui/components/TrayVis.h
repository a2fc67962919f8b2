#pragma once

#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class QSystemTrayIcon;
class QWidget;
class TTrayVis;
class TrayHost;

/// What the notification area reports about one of the component's icons.
enum class TrayNotification
{
    LeftButtonUp,
    LeftDoubleClick,
    RightButtonUp,
    BalloonShow,
    BalloonHide,
    BalloonTimeout,
    BalloonUserClick,
};

/// A notification of the main or the balloon icon. It is sent to the owner form, where the
/// component's event filter takes it, so the form sees the icons' traffic as its own events.
class TrayCallback final : public QEvent
{
public:
    TrayCallback(QEvent::Type type, TrayNotification notification);
    TrayNotification Notification() const { return m_notification; }

private:
    TrayNotification m_notification;
};

/// Symbol of a balloon.
enum TInfoIconType
{
    bitNone,
    bitInfo,
    bitWarning,
    bitError
};

/// Screen-edge rules for the owner form's moves.
struct TMargin
{
    bool Enabled = false;
    bool Magnetic = false;
    bool NoMove = false;
    int LeftMin = -5;
    int RightMin = -5;
    int TopMin = -5;
    int BottomMin = -5;
    int LeftMax = 7;
    int RightMax = 7;
    int TopMax = 7;
    int BottomMax = 7;
    bool AlwaysOnScreen = false;

    /// Where a window whose frame is proposed at `proposed` ends: snapped to the edges of
    /// `screen` when Magnetic and close, pulled back on screen when AlwaysOnScreen. Left, top,
    /// bottom, right in this order, so a window larger than the screen ends bottom-right.
    QRect ApplyMargin(const QRect &proposed, const QSize &formSize, const QRect &screen) const;
};

/// What the main icon and the balloon icon share: one icon in the notification area with its
/// picture, tooltip and popup menu.
class TrayIconBase
{
public:
    TrayIconBase(const TrayIconBase &) = delete;
    TrayIconBase &operator=(const TrayIconBase &) = delete;

    /// The picture; the application's icon is copied in when the icon is added without one.
    const QIcon &Icon() const { return m_icon; }
    void SetIcon(const QIcon &icon);
    /// Menu opened by a right click on the icon; not owned.
    QMenu *PopupMenu() const { return m_menu; }
    void SetPopupMenu(QMenu *menu);
    /// True while the icon counts as present in the notification area.
    bool IconAdded() const { return m_added; }

    /// Adds (true) or removes (false) the icon; does nothing without an owner form.
    void ShowIcon(bool show);
    /// Opens the attached popup menu at the mouse position.
    void PopupAtCursor();
    /// The platform icon, null until the icon is first added.
    QSystemTrayIcon *SystemIcon() const { return m_system.get(); }

protected:
    TrayIconBase(TTrayVis &owner, QEvent::Type callbackType, int tipLength);
    ~TrayIconBase();

    const QString &tip() const { return m_tip; }
    void setTip(const QString &tip);

private:
    friend class TTrayVis;

    QSystemTrayIcon &system();
    QIcon shownIcon() const;
    void readd();
    void drop();
    void deliver(TrayNotification notification);

    TTrayVis &m_owner;
    QEvent::Type m_callbackType;
    int m_tipLength;
    QString m_tip;
    QIcon m_icon;
    QPointer<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_system;
    bool m_added = false;
};

/// The main icon.
class TTrayicon final : public TrayIconBase
{
public:
    /// Characters of the tooltip that are kept.
    static constexpr int ToolTipLength = 62;

    explicit TTrayicon(TTrayVis &owner);

    const QString &ToolTip() const { return tip(); }
    void SetToolTip(const QString &toolTip) { setTip(toolTip); }
    /// Keep the icon also while the form is shown; setting it adds or removes the icon.
    bool AlwaysActive() const { return m_alwaysActive; }
    void SetAlwaysActive(bool alwaysActive);
    /// True while the owner form is hidden in the notification area.
    bool InTray() const { return m_inTray; }

private:
    friend class TTrayVis;

    bool m_alwaysActive = false;
    bool m_inTray = false;
};

/// The second, independent balloon icon. Its balloon texts are kept for the owner's use.
class TBalloonInfo final : public TrayIconBase
{
public:
    /// Characters of the icon's tooltip that are kept.
    static constexpr int IconHintLength = 63;

    explicit TBalloonInfo(TTrayVis &owner);

    const QString &InfoTitle() const { return m_infoTitle; }
    void SetInfoTitle(const QString &title) { m_infoTitle = title; }
    const QString &InfoTip() const { return m_infoTip; }
    void SetInfoTip(const QString &text) { m_infoTip = text; }
    const QString &IconHint() const { return tip(); }
    void SetIconHint(const QString &hint) { setTip(hint); }
    /// The balloon icon is shown; setting it adds or removes the icon.
    bool TrayiconActive() const { return m_active; }
    void SetTrayiconActive(bool active);
    TInfoIconType InfoIconType() const { return m_infoIconType; }
    void SetInfoIconType(TInfoIconType type) { m_infoIconType = type; }
    int InfoTimeOut() const { return m_infoTimeOut; }
    void SetInfoTimeOut(int timeOut) { m_infoTimeOut = timeOut; }

private:
    QString m_infoTitle;
    QString m_infoTip;
    bool m_active = false;
    TInfoIconType m_infoIconType = bitInfo;
    int m_infoTimeOut = 10;
};

/// Gives its owner form an icon in the notification area, hides the form into it and brings it
/// back, hides the form's task-bar entry and can keep the form against the screen edges. It
/// watches the form through an event filter that passes every event on except the icons' own
/// notifications, and no exception of its handling (event handlers included) leaves the filter.
/// Where the desktop has no notification area, hiding into it minimises the form instead.
class TTrayVis final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTrayVis)

public:
    /// Event handlers may be left empty; an empty one is skipped.
    using TNotifyEvent = std::function<void(TTrayVis *sender)>;

    /// Interval at which the component looks whether the notification area came or went,
    /// where the platform does not tell.
    static constexpr int HostCheckIntervalMs = 3000;
    /// How long `BringToTop` lets the task-bar entry ask for attention.
    static constexpr int FlashMs = 1000;

    /// `owner` must be a top-level widget (or null); anything else throws
    /// std::invalid_argument. The component is freed with its owner.
    explicit TTrayVis(QObject *owner);
    ~TTrayVis() override;

    TTrayicon &Trayicon() { return m_trayicon; }
    TBalloonInfo &BallooInfo() { return m_balloon; }
    TMargin &Margin() { return m_margin; }

    TNotifyEvent OnTrayicon;
    TNotifyEvent OnTrayLeftClick;
    TNotifyEvent OnTrayLeft2Click;
    TNotifyEvent OnTrayRestore;
    /// A right click on the icon; when set, it opens the menu instead of the menu opening at
    /// the mouse position (which a window system may not tell).
    TNotifyEvent OnTrayContextMenu;
    TNotifyEvent OnBallIconLeftClick;
    TNotifyEvent OnBallIconLeft2Click;
    TNotifyEvent OnBallInfoShow;
    TNotifyEvent OnBallInfoHide;

    /// Hides the form into the notification area, with the flying frame.
    void MinimizeToTray();
    /// Hides the form into the notification area without animation.
    void HideToTray();
    /// Shows the form again, with the flying frame.
    void RestoreFromTray();
    /// Hides (true) or shows (false) the form's task-bar entry.
    void HideTaskbarButton(bool hide);
    /// Raises the form above the other windows, optionally activating, restoring it from the
    /// notification area and asking for attention.
    void BringToTop(bool activate, bool restoreTray, bool flash);
    /// Enters the platform's predefined cursor `cursorId` (a classic numeric cursor id such as
    /// 32649 for the hand) into the application's cursor table at `index`. Unknown ids are
    /// ignored.
    void LoadSystemCursor(int index, int cursorId);
    /// The cursor shape at `index` of the application's cursor table, if one was entered.
    static std::optional<Qt::CursorShape> ScreenCursor(int index);

    bool InTray() const { return m_trayicon.InTray(); }
    bool TaskbarButtonHidden() const { return m_taskbarButtonHidden; }
    /// False when the margin rules forbid moving the form by its caption; forms that drag
    /// themselves ask this.
    bool CaptionDragAllowed() const { return !(m_margin.Enabled && m_margin.NoMove); }
    QWidget *Form() const { return m_form; }

    /// Event types of the main icon's and the balloon icon's notifications, and of the
    /// notice that the notification area has (re)started; fixed for the program's run.
    static QEvent::Type TrayCallbackEvent();
    static QEvent::Type BallCallbackEvent();
    static QEvent::Type TaskbarCreatedEvent();

    /// Replaces the notification area the component talks to (tests stand in their own).
    void SetTrayHost(std::unique_ptr<TrayHost> host);
    TrayHost &Host() const { return *m_host; }
    /// Looks whether the notification area came or went since the last look: when it comes
    /// back the icons are added again; when it goes while the form is hidden in it, the form
    /// is minimised so that it can still be brought back. Runs on a timer.
    void CheckTrayHost();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hideIntoTray(bool animate);
    void minimiseInstead();
    void finishUserRestore();
    void showForm();
    void setTaskbarEntry(bool shown);
    QRect iconRect() const;
    void trayCallback(TrayNotification notification);
    void ballCallback(TrayNotification notification);
    void keepToMargin();
    void fire(const TNotifyEvent &event);

    QPointer<QWidget> m_form;
    std::unique_ptr<TrayHost> m_host;
    TTrayicon m_trayicon;
    TBalloonInfo m_balloon;
    TMargin m_margin;
    QTimer m_hostTimer;
    Qt::WindowType m_plainWindowType = Qt::Window;
    bool m_hostSeen = false;
    bool m_entryShown = true;
    bool m_taskbarButtonHidden = false;
    bool m_minimisedInstead = false;
    bool m_snapping = false;
};
