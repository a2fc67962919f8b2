#pragma once

#include "common/DesktopStack.h"

// A weston desktop for tests that drive whole programs: weston with its desktop shell (the
// panel along the top) and XWayland, in a temporary runtime folder.
//
// Two ways to run it. On the headless backend weston has no input devices at all and no
// protocol a test could type through (there is no virtual keyboard as on wlroots, and the
// test protocols are not installed), so nothing is ever focused. Nested, weston runs on its
// X11 backend inside a private Xvfb without a window manager: the Xvfb's keyboard and
// pointer are weston's seat, so the shell focuses new windows as on a real desktop, and
// xdotool on that Xvfb types as the user does, through the compositor.
//
// Read back: screenshots (weston-screenshooter through the debug protocol weston is started
// with), the XWayland windows and the one the compositor activated (weston's X window
// manager keeps _NET_ACTIVE_WINDOW). Weston tells nothing of native Wayland windows, and the
// X positions of windows it placed itself are not where they show: placement is read from
// screenshots only.
//
//     desktop::WestonStack stack(desktop::WestonStack::Input::Seat);
//     ASSERT_TRUE(stack.start()) << stack.failure().toStdString();
//     stack.activeName();   // the XWayland window with the keyboard
//     stack.type("hello");  // through the compositor's seat
//
// Every method that waits has a bound only a broken run reaches.

namespace desktop {

/// The programs the stack needs; empty when all are installed.
QStringList missingWestonTools();

class WestonStack final
{
public:
    enum class Input
    {
        None, ///< the headless backend
        Seat  ///< nested on a private Xvfb, whose keyboard and pointer weston uses
    };

    explicit WestonStack(Input input = Input::None);
    ~WestonStack();
    WestonStack(const WestonStack &) = delete;
    WestonStack &operator=(const WestonStack &) = delete;

    /// Starts the compositor and waits until its Wayland and X displays accept clients.
    bool start();
    QString failure() const { return m_failure; }
    void stop();
    /// False once the compositor has ended (a crash in its shell ends it too).
    bool running() const;
    QSize outputSize() const { return {1024, 768}; }

    /// WAYLAND_DISPLAY, DISPLAY (XWayland), XDG_RUNTIME_DIR; no platform forced.
    QProcessEnvironment environment() const;
    QString xDisplay() const { return m_xDisplay; }

    /// Runs an X tool on XWayland; its standard output.
    QByteArray x(const QString &program, const QStringList &args) const;
    /// The names of the mapped XWayland top-level windows.
    QStringList xWindowNames() const;
    /// Where an XWayland window is on the screen (for windows the program placed; weston
    /// does not report the places it chose itself).
    QRect xGeometry(const QByteArray &window) const;
    /// The XWayland window the compositor activated; empty when none (or a native one).
    QString activeName() const;
    /// Typing and keys through the compositor's seat (Input::Seat only).
    void type(const QString &text) const;
    void key(const QString &keys) const;
    QImage screenshot() const;
    /// What weston logged (a shell crash shows there).
    QByteArray log() const;

private:
    Input m_input;
    QTemporaryDir m_dir;
    QString m_run;
    QString m_xDisplay;
    QString m_failure;
    std::unique_ptr<DesktopStack> m_seat;
    Process m_compositor;
};

} // namespace desktop
