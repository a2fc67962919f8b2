#include "platform/desktop/DesktopNotice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kDefaultAction = QStringLiteral("default");

// Hears the service's answer to a click on the program's notice.
class Listener final : public QObject
{
    Q_OBJECT
public:
    // The id of the last notice, so that a burst of messages shows one notice, not a pile.
    uint lastId = 0;
    std::function<void()> open;

public slots:
    void actionInvoked(uint id, const QString &action)
    {
        // Other programs' notices raise the same signal on the shared bus.
        if (id == lastId && action == kDefaultAction && open)
            open();
    }
};

Listener &listener(QDBusConnection &bus)
{
    static Listener *instance = [&] {
        auto *l = new Listener;
        bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), l,
                    SLOT(actionInvoked(uint, QString)));
        return l;
    }();
    return *instance;
}

} // namespace

void DesktopNotice::show(const QString &title, const QString &body, std::function<void()> open)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    Listener &heard = listener(bus);
    heard.open = std::move(open);
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    // A click on the notice itself runs the default action; services without actions drop it.
    const QStringList actions =
        heard.open ? QStringList{kDefaultAction, QStringLiteral("Open")} : QStringList();
    // Body markup is allowed by servers: names and text come from the network, so escaped.
    call << QStringLiteral("Tolvex") << heard.lastId << QStringLiteral("tolvex") << title
         << body.toHtmlEscaped() << actions << QVariantMap() << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [&heard](QDBusPendingCallWatcher *w) {
                         const QDBusPendingReply<uint> reply = *w;
                         if (reply.isValid())
                             heard.lastId = reply.value();
                         w->deleteLater();
                     });
}

#include "DesktopNotice.moc"
