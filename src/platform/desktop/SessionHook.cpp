#include "platform/desktop/SessionHook.h"

#include "platform/SessionEnd.h"

#include <QGuiApplication>

void SessionHook::watchDesktopSession(SessionEnd &end)
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    // The session manager asks before it ends the session; closing then lets the leave
    // notice out while the network is still up.
    QObject::connect(app, &QGuiApplication::commitDataRequest, &end,
                     [&end] { emit end.requested(0); });
}
