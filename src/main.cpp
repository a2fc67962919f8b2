// Program entry: the application object, the main window and the chat window; everything
// else lives in the libraries.
#include "app/Language.h"
#include "app/Support.h"
#include "platform/DisplayCheck.h"
#include "platform/SessionEnd.h"
#include "platform/desktop/SessionHook.h"
#include "platform/desktop/WaylandOutputs.h"
#include "ui/HintStyle.h"
#include "ui/main/MainForm.h"
#include "ui/main/MainLayout.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace {

QByteArray noDisplayLine(const QByteArray &reason)
{
    return "tolvex: " + reason +
           ". The desktop program needs one; on a machine without a desktop use tolvex-cli "
           "(`make demo` shows three copies chatting in a sandbox LAN).";
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray missing = DisplayCheck::missingReason();
    if (!missing.isEmpty()) {
        std::fprintf(stderr, "%s\n", noDisplayLine(missing).constData());
        return 1;
    }
    const WaylandOutputs::Facts wayland = WaylandOutputs::read();
    DisplayCheck::preferX11(wayland.largestScale, wayland.activation);
    DisplayCheck::explainFatalPlatformFailure(noDisplayLine("cannot open the display"));

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvex"));
    Language::install(app, QStringLiteral("tolvex"));
    // The main window is a tool window without a task-bar entry; the program ends only
    // through FormClose.
    QApplication::setQuitOnLastWindowClosed(false);
    HintStyle hints(MainLayout::kHintColor, MainLayout::kHintHidePauseMs);

    SettingsValues settings;
    TMainForm form(settings);
    // Ends that come from outside find nobody to answer a message box: a failure is told on
    // standard error, and the program still ends.
    SessionEnd sessionEnd;
    SessionHook::watchDesktopSession(sessionEnd);
    QObject::connect(&sessionEnd, &SessionEnd::requested, &form, [&form] {
        form.SetUnattended();
        form.close();
    });
    // Without a display there is no window to close: the engine leaves and saves on its own,
    // without running the event loop, whose next pass the toolkit would end.
    bool closeDone = false;
    QObject::connect(&form, &TMainForm::formClosed, [&closeDone] { closeDone = true; });
    DisplayCheck::onConnectionLost(
        "tolvex: the connection to the display was lost; leaving the network and saving the "
        "settings before the end",
        [&form, &closeDone] {
            form.SetUnattended();
            if (form.Engine().isClosed() && !closeDone) {
                // Lost while an end was leaving the network, before its save.
                std::fputs("tolvex: the settings may not have been saved\n", stderr);
                return 1;
            }
            form.Engine().FormClose();
            return form.UnattendedErrorReported() ? 1 : 0;
        });
    QObject::connect(&form, &TMainForm::formClosed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    if (form.ShowOnStart())
        form.show();
    // The start-up benchmark's mark: the window is shown and the event loop runs.
    if (qEnvironmentVariableIsSet("TOLVEX_STARTUP_PROBE")) {
        QTimer::singleShot(0, [] {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
        });
    }
    const int status = QApplication::exec();
    return status == 0 && form.UnattendedErrorReported() ? 1 : status;
}
