#include "platform/DisplayCheck.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <unistd.h>

namespace {

QByteArray g_line;
QtMessageHandler g_previous = nullptr;
QByteArray g_lostLine;
std::function<int()> g_finish;

void say(const QByteArray &line)
{
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The X11 plugin says this and then calls exit(), which would skip the leave notice and
    // the save. Any pass through the event loop while finishing says it again, and the
    // plugin's exit() would follow: that end is told as what it is.
    if (g_finish && message.startsWith(QLatin1String("The X11 connection broke"))) {
        static bool finishing = false;
        if (finishing) {
            say("tolvex: ended before the settings could be saved");
            ::_exit(1);
        }
        finishing = true;
        say(g_lostLine);
        const int status = g_finish();
        std::fflush(stdout);
        std::fflush(stderr);
        // Nothing of the toolkit can be taken down cleanly without its display.
        ::_exit(status);
    }
    // The platform plugin's failure is fatal inside the toolkit: say it our way and stop
    // before the abort.
    if (type == QtFatalMsg && (message.contains(QLatin1String("platform plugin")) ||
                               message.contains(QLatin1String("connect to display")))) {
        say(g_line);
        ::_exit(1);
    }
    if (g_previous)
        g_previous(type, context, message);
}

} // namespace

namespace DisplayCheck {

QByteArray missingReason()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qgetenv("DISPLAY").isEmpty() ||
        !qgetenv("WAYLAND_DISPLAY").isEmpty())
        return {};
    return "no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
}

QByteArray platformFor(bool userChose, bool xDisplay, bool waylandDisplay, int waylandScale,
                       bool waylandActivation)
{
    if (userChose || (!xDisplay && !waylandDisplay))
        return {};
    if (!waylandDisplay)
        return "xcb";
    // Sharpness decides where the screen is scaled, attention where the compositor takes
    // its requests natively, placement (which only X11 allows) elsewhere. The second entry
    // serves when the first does not answer (XWayland off or crashed, no plugin).
    if (!xDisplay || waylandScale > 1 || waylandActivation)
        return "wayland;xcb";
    return "xcb;wayland";
}

void preferX11(int waylandScale, bool waylandActivation)
{
    const QByteArray platform =
        platformFor(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"), !qgetenv("DISPLAY").isEmpty(),
                    !qgetenv("WAYLAND_DISPLAY").isEmpty(), waylandScale, waylandActivation);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

void explainFatalPlatformFailure(const QByteArray &line)
{
    g_line = line;
    g_previous = qInstallMessageHandler(onMessage);
}

void onConnectionLost(const QByteArray &line, std::function<int()> finish)
{
    g_lostLine = line;
    g_finish = std::move(finish);
}

} // namespace DisplayCheck
