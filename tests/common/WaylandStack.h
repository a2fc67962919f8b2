#pragma once

#include "common/DesktopStack.h"

#include <QJsonArray>
#include <QJsonObject>

// A Wayland desktop for tests that drive whole programs: sway on its headless backend with
// XWayland, in a temporary runtime folder. The compositor refuses to run as root, so it runs
// as "nobody"; the tests (root) still reach its sockets. Input goes through the compositor's
// virtual keyboard (wtype); what the user sees is read back from the compositor's window tree
// (swaymsg -t get_tree) and grim screenshots. A session bus at a path (programs in network
// namespaces reach path sockets only) carries swaybar's tray and mako's notices.
//
//     desktop::WaylandStack stack;
//     ASSERT_TRUE(stack.start()) << stack.failure().toStdString();
//     stack.focusedName();            // the window that has the keyboard
//     stack.type("hello");            // to that window
//
// Every method that waits has a bound only a broken run reaches.

namespace desktop {

/// The programs the stack needs; empty when all are installed.
QStringList missingWaylandTools();

class WaylandStack final
{
public:
    WaylandStack();
    ~WaylandStack();
    WaylandStack(const WaylandStack &) = delete;
    WaylandStack &operator=(const WaylandStack &) = delete;

    /// Starts the compositor, XWayland and the notice service and waits until they answer;
    /// with tray, swaybar and its tray as well (the program then hides into the tray rather
    /// than folding its window).
    bool start(bool tray = false);
    QString failure() const { return m_failure; }
    void stop();

    /// WAYLAND_DISPLAY, DISPLAY (XWayland), XDG_RUNTIME_DIR; no platform forced.
    QProcessEnvironment environment() const;
    QString xDisplay() const { return m_xDisplay; }

    QByteArray swaymsg(const QStringList &args) const;
    QJsonObject tree() const;
    /// The name (title) of the window with the keyboard focus; empty when none.
    QString focusedName() const;
    /// The windows of the tree whose name matches, as the compositor lists them.
    QStringList windowNames() const;
    void type(const QString &text) const;
    void key(const QString &name) const;
    QImage screenshot() const;

    /// The session bus the programs, the tray and the notification daemon share.
    QString busAddress() const { return m_busAddress; }
    /// Notices mako shows now, newest first, as `makoctl list` gives them ("app-name",
    /// "summary", "body", "actions", "id", each with a "data" member).
    QJsonArray notices() const;
    /// Invokes the notice's default action, as a click on it does.
    void invokeNotice() const;
    /// The service name of the first item in swaybar's tray; empty when none.
    QString trayItem() const;
    /// What swaybar asks of the item on a right click at x, y (the item's ContextMenu call):
    /// the headless seat has no pointer for the bar to hear a real click.
    void trayContextMenu(int x, int y) const;

private:
    QTemporaryDir m_dir;
    QString m_run;
    QString m_xDisplay;
    QString m_wayland;
    QString m_failure;
    QString m_busAddress;
    Process m_bus;
    Process m_compositor;
};

} // namespace desktop
