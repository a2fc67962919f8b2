#pragma once

#include "common/DesktopStack.h"

#include <QJsonObject>

// A Wayland desktop for tests that drive whole programs: sway on its headless backend with
// XWayland, in a temporary runtime folder. The compositor refuses to run as root, so it runs
// as "nobody"; the tests (root) still reach its sockets. Input goes through the compositor's
// virtual keyboard (wtype); what the user sees is read back from the compositor's window tree
// (swaymsg -t get_tree) and grim screenshots.
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

    /// Starts the compositor and XWayland and waits until both answer.
    bool start();
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

private:
    QTemporaryDir m_dir;
    QString m_run;
    QString m_xDisplay;
    QString m_wayland;
    QString m_failure;
    Process m_compositor;
};

} // namespace desktop
