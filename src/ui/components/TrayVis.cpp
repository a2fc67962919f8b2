#include "ui/components/TrayVis.h"

#include "platform/desktop/TrayWatch.h"
#include "platform/desktop/X11Window.h"
#include "ui/components/TrayHost.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QWidget>
#include <map>
#include <stdexcept>

namespace {

QWidget *ownerForm(QObject *owner)
{
    if (!owner)
        return nullptr;
    auto *form = qobject_cast<QWidget *>(owner);
    if (!form || !form->isWindow())
        throw std::invalid_argument("TTrayVis: the owner must be a top-level window");
    return form;
}

QEvent::Type registeredType()
{
    return QEvent::Type(QEvent::registerEventType());
}

std::map<int, Qt::CursorShape> &cursorTable()
{
    // Shapes rather than QCursor objects: a static QCursor would outlive the application's
    // cursor data.
    static std::map<int, Qt::CursorShape> table;
    return table;
}

std::optional<Qt::CursorShape> systemCursorShape(int cursorId)
{
    static const std::map<int, Qt::CursorShape> shapes = {
        {32512, Qt::ArrowCursor},     {32513, Qt::IBeamCursor},     {32514, Qt::WaitCursor},
        {32515, Qt::CrossCursor},     {32516, Qt::UpArrowCursor},   {32642, Qt::SizeFDiagCursor},
        {32643, Qt::SizeBDiagCursor}, {32644, Qt::SizeHorCursor},   {32645, Qt::SizeVerCursor},
        {32646, Qt::SizeAllCursor},   {32648, Qt::ForbiddenCursor}, {32649, Qt::PointingHandCursor},
        {32650, Qt::BusyCursor},      {32651, Qt::WhatsThisCursor},
    };
    const auto it = shapes.find(cursorId);
    if (it == shapes.end())
        return std::nullopt;
    return it->second;
}

// Cuts to `length` characters without leaving half of a surrogate pair at the end.
QString cutText(const QString &text, int length)
{
    QString cut = text.left(length);
    if (!cut.isEmpty() && cut.back().isHighSurrogate() && cut.size() < text.size())
        cut.chop(1);
    return cut;
}

} // namespace

TrayCallback::TrayCallback(QEvent::Type type, TrayNotification notification)
    : QEvent(type), m_notification(notification)
{}

QRect TMargin::ApplyMargin(const QRect &proposed, const QSize &formSize, const QRect &screen) const
{
    // Right and bottom are exclusive here, as in the window system's rectangles.
    int left = proposed.x();
    int top = proposed.y();
    int right = proposed.x() + proposed.width();
    int bottom = proposed.y() + proposed.height();
    const int screenLeft = screen.x();
    const int screenTop = screen.y();
    const int screenRight = screen.x() + screen.width();
    const int screenBottom = screen.y() + screen.height();
    const int width = formSize.width();
    const int height = formSize.height();

    const int fromLeft = left - screenLeft;
    if ((LeftMin < fromLeft && fromLeft < LeftMax && Magnetic) ||
        (AlwaysOnScreen && left < screenLeft)) {
        left = screenLeft;
        right = screenLeft + width;
    }
    const int fromTop = top - screenTop;
    if ((TopMin < fromTop && fromTop < TopMax && Magnetic) || (AlwaysOnScreen && top < screenTop)) {
        top = screenTop;
        bottom = screenTop + height;
    }
    if ((screenBottom - BottomMax < bottom && bottom < screenBottom - BottomMin && Magnetic) ||
        (AlwaysOnScreen && bottom > screenBottom)) {
        bottom = screenBottom;
        top = screenBottom - height;
    }
    if ((screenRight - RightMax < right && right < screenRight - RightMin && Magnetic) ||
        (AlwaysOnScreen && right > screenRight)) {
        right = screenRight;
        left = screenRight - width;
    }
    return QRect(left, top, right - left, bottom - top);
}

// ---- icons -------------------------------------------------------------------------------

TrayIconBase::TrayIconBase(TTrayVis &owner, QEvent::Type callbackType, int tipLength)
    : m_owner(owner), m_callbackType(callbackType), m_tipLength(tipLength)
{}

TrayIconBase::~TrayIconBase() = default;

void TrayIconBase::SetIcon(const QIcon &icon)
{
    if (icon.cacheKey() == m_icon.cacheKey())
        return;
    m_icon = icon;
    if (m_added && m_system)
        m_system->setIcon(shownIcon());
}

void TrayIconBase::SetPopupMenu(QMenu *menu)
{
    m_menu = menu;
}

void TrayIconBase::setTip(const QString &tip)
{
    m_tip = cutText(tip, m_tipLength);
    if (m_added && m_system)
        m_system->setToolTip(m_tip);
}

QIcon TrayIconBase::shownIcon() const
{
    if (!m_icon.isNull())
        return m_icon;
    // An icon without a picture is invisible, and with it the way back to a hidden form.
    const QIcon appIcon = QApplication::windowIcon();
    if (!appIcon.isNull())
        return appIcon;
    return QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
}

QSystemTrayIcon &TrayIconBase::system()
{
    if (!m_system) {
        m_system = std::make_unique<QSystemTrayIcon>();
        QSystemTrayIcon *sys = m_system.get();
        QObject::connect(sys, &QSystemTrayIcon::activated, sys,
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             switch (reason) {
                             case QSystemTrayIcon::Trigger:
                                 deliver(TrayNotification::LeftButtonUp);
                                 break;
                             case QSystemTrayIcon::DoubleClick:
                                 deliver(TrayNotification::LeftDoubleClick);
                                 break;
                             case QSystemTrayIcon::Context:
                                 deliver(TrayNotification::RightButtonUp);
                                 break;
                             default:
                                 break;
                             }
                         });
        QObject::connect(sys, &QSystemTrayIcon::messageClicked, sys,
                         [this] { deliver(TrayNotification::BalloonUserClick); });
    }
    return *m_system;
}

void TrayIconBase::deliver(TrayNotification notification)
{
    if (QWidget *form = m_owner.Form()) {
        TrayCallback event(m_callbackType, notification);
        QCoreApplication::sendEvent(form, &event);
    }
}

void TrayIconBase::ShowIcon(bool show)
{
    if (!m_owner.Form())
        return;
    if (show) {
        if (m_added)
            return;
        // Counts as added even if the platform refuses, so that a later removal is tried.
        m_added = true;
        if (m_icon.isNull())
            m_icon = shownIcon();
        QSystemTrayIcon &sys = system();
        sys.setIcon(shownIcon());
        sys.setToolTip(m_tip);
        m_owner.Host().add(sys);
    } else {
        drop();
    }
}

void TrayIconBase::drop()
{
    if (!m_added)
        return;
    m_added = false;
    m_owner.Host().remove(*m_system);
}

void TrayIconBase::readd()
{
    if (!m_added)
        return;
    m_owner.Host().remove(*m_system);
    m_owner.Host().add(*m_system);
}

void TrayIconBase::PopupAtCursor()
{
    if (m_menu)
        m_menu->popup(QCursor::pos());
}

TTrayicon::TTrayicon(TTrayVis &owner)
    : TrayIconBase(owner, TTrayVis::TrayCallbackEvent(), ToolTipLength)
{}

void TTrayicon::SetAlwaysActive(bool alwaysActive)
{
    m_alwaysActive = alwaysActive;
    // Removing the icon of a form hidden in it would leave no way back; the restore
    // removes it instead.
    if (!alwaysActive && m_inTray)
        return;
    ShowIcon(alwaysActive);
}

TBalloonInfo::TBalloonInfo(TTrayVis &owner)
    : TrayIconBase(owner, TTrayVis::BallCallbackEvent(), IconHintLength)
{}

void TBalloonInfo::SetTrayiconActive(bool active)
{
    m_active = active;
    ShowIcon(active);
}

// ---- component ---------------------------------------------------------------------------

QEvent::Type TTrayVis::TrayCallbackEvent()
{
    static const QEvent::Type type = registeredType();
    return type;
}

QEvent::Type TTrayVis::BallCallbackEvent()
{
    static const QEvent::Type type = registeredType();
    return type;
}

QEvent::Type TTrayVis::TaskbarCreatedEvent()
{
    static const QEvent::Type type = registeredType();
    return type;
}

TTrayVis::TTrayVis(QObject *owner)
    : QObject(owner), m_form(ownerForm(owner)), m_host(std::make_unique<TrayHost>()),
      m_trayicon(*this), m_balloon(*this)
{
    TaskbarCreatedEvent();
    if (!m_form)
        return;
    const Qt::WindowType type = m_form->windowType();
    m_plainWindowType = type == Qt::Tool ? Qt::Window : type;
    m_entryShown = type != Qt::Tool;
    m_form->installEventFilter(this);
    m_hostSeen = m_host->available();
    // Where the platform says when the notification area comes or goes, an idle program
    // sleeps; elsewhere the component looks now and then.
    auto *watch = new TrayWatch(this);
    if (watch->supported()) {
        connect(watch, &TrayWatch::changed, this, &TTrayVis::CheckTrayHost);
        return;
    }
    connect(&m_hostTimer, &QTimer::timeout, this, &TTrayVis::CheckTrayHost);
    m_hostTimer.start(HostCheckIntervalMs);
}

TTrayVis::~TTrayVis()
{
    m_hostTimer.stop();
    m_trayicon.drop();
    m_balloon.drop();
    // The form may be in its own destructor here (it frees its children); its QObject part
    // still stands, and removing a filter touches nothing else.
    if (m_form)
        m_form->removeEventFilter(this);
}

void TTrayVis::SetTrayHost(std::unique_ptr<TrayHost> host)
{
    // Icons in the old host leave with it.
    const bool mainAdded = m_trayicon.IconAdded();
    const bool balloonAdded = m_balloon.IconAdded();
    m_trayicon.drop();
    m_balloon.drop();
    m_host = std::move(host);
    m_hostSeen = m_host->available();
    m_trayicon.ShowIcon(mainAdded);
    m_balloon.ShowIcon(balloonAdded);
}

void TTrayVis::fire(const TNotifyEvent &event)
{
    if (event)
        event(this);
}

QRect TTrayVis::iconRect() const
{
    const QSystemTrayIcon *sys = m_trayicon.SystemIcon();
    if (!sys || !m_trayicon.IconAdded() || !m_host->available())
        return {};
    return m_host->iconGeometry(*sys);
}

void TTrayVis::MinimizeToTray()
{
    hideIntoTray(true);
}

void TTrayVis::HideToTray()
{
    hideIntoTray(false);
}

void TTrayVis::hideIntoTray(bool animate)
{
    if (m_trayicon.m_inTray)
        return;
    m_trayicon.ShowIcon(true);
    if (m_form) {
        if (m_host->available()) {
            m_form->hide();
            const QRect icon = iconRect();
            if (animate && !icon.isEmpty())
                m_host->fly(m_form->frameGeometry(), icon);
        } else {
            minimiseInstead();
        }
    }
    m_trayicon.m_inTray = true;
    fire(OnTrayicon);
}

void TTrayVis::minimiseInstead()
{
    // Minimised, the form is reached through its task-bar entry, so it needs one even when
    // the entry is meant to be hidden; the restore puts the wanted state back.
    setTaskbarEntry(true);
    m_form->showMinimized();
    m_minimisedInstead = true;
}

void TTrayVis::RestoreFromTray()
{
    if (!m_trayicon.m_inTray)
        return;
    // Taken before the icon may go: the frame flies back from it.
    const QRect icon = iconRect();
    if (!m_trayicon.m_alwaysActive)
        m_trayicon.ShowIcon(false);
    if (m_form) {
        if (m_minimisedInstead) {
            m_minimisedInstead = false;
            setTaskbarEntry(!m_taskbarButtonHidden);
        } else if (!icon.isEmpty()) {
            m_host->fly(icon, m_form->frameGeometry());
        }
        showForm();
    }
    m_trayicon.m_inTray = false;
    fire(OnTrayRestore);
}

void TTrayVis::finishUserRestore()
{
    // The user brought the minimised form back through its task-bar entry: complete the
    // restore that began there.
    if (m_form && m_minimisedInstead && m_trayicon.m_inTray && m_form->isVisible() &&
        !m_form->isMinimized())
        RestoreFromTray();
}

void TTrayVis::showForm()
{
    m_form->setWindowState(m_form->windowState() & ~Qt::WindowMinimized);
    m_form->show();
    m_form->activateWindow();
}

void TTrayVis::setTaskbarEntry(bool shown)
{
    if (!m_form || m_entryShown == shown)
        return;
    m_entryShown = shown;
    // On X11 a tool window is made transient for the toolkit's hidden leader window, which
    // is never shown and which some window managers cannot cope with (one crashed on the
    // about window above it); there the task-bar state alone keeps the entry out.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        X11Window::setSkipTaskbar(m_form->windowHandle(), !shown);
        return;
    }
    // Elsewhere a tool window is kept out of the task bar by the window system; the form's
    // own entry is what the user sees as the application's.
    const bool wasVisible = m_form->isVisible();
    const Qt::WindowFlags others = m_form->windowFlags() & ~Qt::WindowType_Mask;
    m_form->setWindowFlags(others | (shown ? m_plainWindowType : Qt::Tool));
    if (wasVisible)
        m_form->show();
    X11Window::setSkipTaskbar(m_form->windowHandle(), !shown);
}

void TTrayVis::HideTaskbarButton(bool hide)
{
    m_taskbarButtonHidden = hide;
    // While minimised in place of the tray the entry is the only way back; the restore
    // applies the value.
    if (!m_minimisedInstead)
        setTaskbarEntry(!hide);
}

void TTrayVis::BringToTop(bool activate, bool restoreTray, bool flash)
{
    const QPointer<QWidget> previousActive = QApplication::activeWindow();
    const QPointer<QWidget> previousFocus = QApplication::focusWidget();
    // Without restoring, the form's task-bar entry already follows the form.
    if (restoreTray && InTray())
        RestoreFromTray();
    if (!m_form)
        return;
    m_form->raise();
    if (!activate && previousActive && previousActive != m_form) {
        previousActive->activateWindow();
        if (previousFocus)
            previousFocus->setFocus();
    }
    if (flash)
        QApplication::alert(m_form, FlashMs);
    if (activate) {
        m_form->activateWindow();
        if (!m_form->focusWidget())
            m_form->setFocus();
    }
}

void TTrayVis::LoadSystemCursor(int index, int cursorId)
{
    if (const auto shape = systemCursorShape(cursorId))
        cursorTable()[index] = *shape;
}

std::optional<Qt::CursorShape> TTrayVis::ScreenCursor(int index)
{
    const auto &table = cursorTable();
    const auto it = table.find(index);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

void TTrayVis::CheckTrayHost()
{
    if (!m_form)
        return;
    const bool available = m_host->available();
    if (available == m_hostSeen)
        return;
    m_hostSeen = available;
    if (available)
        QCoreApplication::postEvent(m_form, new QEvent(TaskbarCreatedEvent()));
    else if (m_trayicon.m_inTray && !m_minimisedInstead)
        minimiseInstead();
}

void TTrayVis::trayCallback(TrayNotification notification)
{
    switch (notification) {
    case TrayNotification::LeftButtonUp:
        fire(OnTrayLeftClick);
        break;
    case TrayNotification::LeftDoubleClick:
        fire(OnTrayLeft2Click);
        break;
    case TrayNotification::RightButtonUp:
        if (OnTrayContextMenu)
            fire(OnTrayContextMenu);
        else
            m_trayicon.PopupAtCursor();
        break;
    default:
        break;
    }
}

void TTrayVis::ballCallback(TrayNotification notification)
{
    switch (notification) {
    case TrayNotification::LeftButtonUp:
        fire(OnBallIconLeftClick);
        fire(OnBallInfoShow);
        break;
    case TrayNotification::LeftDoubleClick:
        fire(OnBallIconLeft2Click);
        break;
    case TrayNotification::RightButtonUp:
        m_balloon.PopupAtCursor();
        break;
    case TrayNotification::BalloonShow:
        fire(OnBallInfoShow);
        break;
    case TrayNotification::BalloonHide:
    case TrayNotification::BalloonTimeout:
    case TrayNotification::BalloonUserClick:
        if (!m_balloon.TrayiconActive())
            m_balloon.ShowIcon(false);
        fire(OnBallInfoHide);
        break;
    }
}

void TTrayVis::keepToMargin()
{
    const QScreen *screen = m_form->screen();
    if (m_snapping || !screen)
        return;
    const QRect proposed = m_form->frameGeometry();
    const QRect kept = m_margin.ApplyMargin(proposed, proposed.size(), screen->geometry());
    if (kept.topLeft() == proposed.topLeft())
        return;
    m_snapping = true;
    m_form->move(kept.topLeft());
    m_snapping = false;
}

bool TTrayVis::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_form)
        return false;
    const QEvent::Type type = event->type();
    try {
        if (type == TrayCallbackEvent()) {
            trayCallback(static_cast<TrayCallback *>(event)->Notification());
            return true;
        }
        if (type == TaskbarCreatedEvent()) {
            // The host starts empty. The balloon icon comes back too: its switch still says
            // it is shown.
            m_trayicon.readd();
            m_balloon.readd();
        } else if (type == BallCallbackEvent()) {
            ballCallback(static_cast<TrayCallback *>(event)->Notification());
            return true;
        } else if (type == QEvent::Show) {
            // A tool window still gets a task-bar entry from panels that list utility
            // windows, and on X11 the form stays a plain window; the state says it plainly.
            // The native window is new after every change of the flags, so the state goes
            // on at each showing.
            X11Window::setSkipTaskbar(m_form->windowHandle(), !m_entryShown);
        } else if (type == QEvent::Move && m_margin.Enabled) {
            // Qt reports a move after it happened; correct it at once.
            keepToMargin();
        } else if (type == QEvent::WindowStateChange && m_minimisedInstead) {
            // Changing the window's flags from inside its own state change is not safe.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    try {
                        finishUserRestore();
                    } catch (...) {
                    }
                },
                Qt::QueuedConnection);
        }
    } catch (...) {
        // The component's own trouble never reaches the form; the event goes on below.
    }
    return false;
}
