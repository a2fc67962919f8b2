#pragma once

#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A desktop as a user has it, for tests that drive whole programs through the X server:
// Xvfb (on a display the server picks itself), a session bus with the accessibility bus,
// a window manager (openbox) and a panel with a task bar and a notification area (tint2).
// Tests reach the programs only as a user does: keys and clicks through XTest (xdotool),
// actions of the accessibility tree; they read back window states, the panel's view of
// the windows, screenshots and the tree.
//
//     desktop::DesktopStack stack;                 // one per test file (SetUpTestSuite)
//     ASSERT_TRUE(stack.start()) << stack.failure();
//     desktop::Program copy;                       // the desktop program on a lab host
//     copy.start(lab, "ann", stack);               // DISPLAY, buses, HOME of that host
//     const WId main = stack.waitForWindow("^Tolvex$");
//     stack.activate(main); stack.key("ctrl+a"); stack.type("Sales"); stack.key("Return");
//     stack.wmState(main) == desktop::WmState::Iconic; stack.netWmState(main).contains(...)
//     stack.accessibleTree("Tolvex")               // every node with role and name
//
// Every method that waits has a bound only a broken run reaches.

namespace desktop {

using WId = quint32;

/// The programs a stack of these options needs; empty when all are installed, else the
/// missing ones.
QStringList missingTools(bool windowManager = true, bool panel = true, bool accessibility = true);

/// Skips (or, under TOLVEX_REQUIRE_X11, fails) the current test when tools are missing.
#define TOLVEX_REQUIRE_DESKTOP(...)                                                                \
    do {                                                                                           \
        const QStringList missing_ = desktop::missingTools(__VA_ARGS__);                           \
        if (!missing_.isEmpty()) {                                                                 \
            if (testenv::x11Required())                                                            \
                FAIL() << "missing: " << missing_.join(' ').toStdString();                         \
            GTEST_SKIP() << "missing: " << missing_.join(' ').toStdString();                       \
        }                                                                                          \
    } while (0)

/// Polls pred every 20 ms until it holds; false after timeoutMs. Does not run the caller's
/// event loop (the programs under test are other processes).
bool waitUntil(const std::function<bool()> &pred, int timeoutMs = 15000);

/// A helper process, ended when the object goes.
class Process final
{
public:
    Process();
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    bool start(const QString &program, const QStringList &args, const QProcessEnvironment &env);
    bool running() const;
    /// SIGTERM, then SIGKILL when it does not end within timeoutMs.
    void stop(int timeoutMs = 5000);
    void signal(int number);
    /// Waits for the end; the exit code, or -1 on a crash or time-out.
    int waitForExit(int timeoutMs);
    bool crashed() const;
    qint64 pid() const;
    /// Everything printed so far.
    QByteArray output();
    QByteArray errors();
    QProcess &process() { return *m_process; }

private:
    void readAll();
    std::unique_ptr<QProcess> m_process;
    QByteArray m_out;
    QByteArray m_err;
};

enum class WmState
{
    None = -1,
    Withdrawn = 0,
    Normal = 1,
    Iconic = 3
};

/// One node of an application's accessibility tree.
struct AccessibleNode
{
    int depth = 0;
    QString role; ///< "push button", "combo box", "list", "filler", ...
    QString name;
    QString description;
    QStringList states; ///< "showing", "focusable", "enabled", ...
    QStringList actions;
    QRect extents; ///< on the screen
    QString text;  ///< the content of a text node (an edit field's text)
};

class DesktopStack final
{
public:
    struct Options
    {
        QSize screen{1024, 768};
        bool windowManager = true;
        bool panel = true; ///< tint2 at the bottom, 30 px: task bar and notification area
        bool accessibility = true;
    };
    DesktopStack();
    explicit DesktopStack(const Options &options);
    ~DesktopStack();
    DesktopStack(const DesktopStack &) = delete;
    DesktopStack &operator=(const DesktopStack &) = delete;

    /// Starts everything and waits until the window manager and the panel manage the
    /// screen; false with failure() on any step.
    bool start();
    QString failure() const { return m_failure; }
    void stop();

    QString display() const { return m_display; }
    QSize screenSize() const { return m_options.screen; }
    /// The environment of a program on this desktop: DISPLAY, the session bus, xcb, the
    /// toolkit's accessibility bridge switched on.
    QProcessEnvironment environment() const;

    /// The panel: ended, started again (with another height or edge, for work-area tests).
    void stopPanel();
    bool startPanel(int height = 30, const QString &edge = QStringLiteral("bottom"));
    /// Ends the X server under the running programs (SIGKILL: the display is lost).
    void killServer();

    // ---- tools on this display
    /// Runs a program on this display; its standard output.
    QByteArray run(const QString &program, const QStringList &args, int timeoutMs = 10000) const;
    QByteArray xdotool(const QStringList &args) const;
    /// Key presses through XTest to the focused window, e.g. "ctrl+a" or "Down Return".
    void key(const QString &keys) const;
    void type(const QString &text) const;
    void moveMouse(QPoint at) const;
    void click(QPoint at, int button = 1, int repeat = 1) const;
    /// Activates the window through the window manager and waits until it has the focus.
    bool activate(WId window) const;
    WId activeWindow() const;
    /// Windows (managed top-levels or not) whose name matches the pattern.
    QList<WId> windows(const QString &namePattern, bool onlyVisible = true) const;
    /// The first matching visible window, waited for; 0 when none came.
    WId waitForWindow(const QString &namePattern, int timeoutMs = 15000) const;
    /// The client area on the screen.
    QRect geometry(WId window) const;

    // ---- what the user sees of a window
    WmState wmState(WId window) const;
    /// The atoms of _NET_WM_STATE, e.g. "_NET_WM_STATE_SKIP_TASKBAR".
    QStringList netWmState(WId window) const;
    QStringList windowType(WId window) const;
    /// The urgency flag of WM_HINTS.
    bool urgent(WId window) const;
    QString windowName(WId window) const;
    /// Any property as xprop prints it (empty when unset).
    QByteArray property(WId window, const QString &name) const;
    /// The windows the window manager lists (_NET_CLIENT_LIST).
    QList<WId> clients() const;
    /// The managed windows a task bar shows: not skip-taskbar, not a dock, menu or tip.
    QList<WId> taskbarWindows() const;
    /// The work area the window manager publishes (_NET_WORKAREA of desktop 0).
    QRect workArea() const;

    // ---- pictures
    QImage screenshot() const;
    /// Saves a part of a screenshot as build/screenshots/<name>.png; its path.
    static QString saveShot(const QImage &screen, const QRect &area, const QString &name);

    // ---- the accessibility tree
    /// The tree of the application of that name (as the toolkit registers it), depth first.
    QList<AccessibleNode> accessibleTree(const QString &application) const;
    /// Runs the first action of the first showing node of that role and name.
    bool accessibleAction(const QString &application, const QString &role,
                          const QString &name) const;

private:
    QString writeFile(const QString &name, const QByteArray &content) const;
    QByteArray atspi(const QStringList &args) const;

    Options m_options;
    QTemporaryDir m_dir;
    QString m_display;
    QString m_busAddress;
    QString m_failure;
    Process m_server;
    Process m_bus;
    Process m_atspi;
    Process m_wm;
    Process m_panel;
};

/// The desktop program (or another one) on a lab host, on a stack's display, with the
/// host's HOME. Ended when the object goes.
class Program final
{
public:
    /// The desktop program in the build folder (TOLVEX_DESKTOP_PROGRAM names another).
    static QString desktopProgram();

    /// env adds to (or, with an empty value, removes from) the stack's environment, e.g.
    /// {"QT_SCALE_FACTOR", "2"}.
    bool start(testnet::NetLab &lab, const QByteArray &host, const DesktopStack &stack,
               const QList<QPair<QString, QString>> &env = {},
               const QString &program = desktopProgram(), const QStringList &args = {});
    Process &process() { return m_process; }
    QByteArray errors() { return m_process.errors(); }
    qint64 pid() const { return m_process.pid(); }

private:
    Process m_process;
};

} // namespace desktop
