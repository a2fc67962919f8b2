#include "platform/desktop/DesktopNotice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

// The id of the last notice, so that a burst of messages shows one notice, not a pile.
uint g_lastId = 0;

} // namespace

void DesktopNotice::show(const QString &title, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Body markup is allowed by servers: names and text come from the network, so escaped.
    call << QStringLiteral("Tolvex") << g_lastId << QStringLiteral("tolvex") << title
         << body.toHtmlEscaped() << QStringList() << QVariantMap() << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isValid())
            g_lastId = reply.value();
        w->deleteLater();
    });
}
