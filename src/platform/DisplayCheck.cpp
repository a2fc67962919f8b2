#include "platform/DisplayCheck.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <unistd.h>

namespace {

QByteArray g_line;
QtMessageHandler g_previous = nullptr;

void onMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // The platform plugin's failure is fatal inside the toolkit: say it our way and stop
    // before the abort.
    if (type == QtFatalMsg && (message.contains(QLatin1String("platform plugin")) ||
                               message.contains(QLatin1String("connect to display")))) {
        std::fprintf(stderr, "%s\n", g_line.constData());
        std::fflush(stderr);
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

void preferX11()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qgetenv("DISPLAY").isEmpty())
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void explainFatalPlatformFailure(const QByteArray &line)
{
    g_line = line;
    g_previous = qInstallMessageHandler(onMessage);
}

} // namespace DisplayCheck
