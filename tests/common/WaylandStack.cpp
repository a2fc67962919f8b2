#include "common/WaylandStack.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <functional>
#include <pwd.h>
#include <unistd.h>

namespace desktop {

namespace {

void walk(const QJsonObject &node, const std::function<void(const QJsonObject &)> &visit)
{
    visit(node);
    for (const char *children : {"nodes", "floating_nodes"})
        for (const QJsonValue &child : node.value(QLatin1String(children)).toArray())
            walk(child.toObject(), visit);
}

// Any user may connect: the compositor's side runs as nobody, the tests and programs as root.
const char kBusConfig[] =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

QByteArray run(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(10000);
    return p.readAllStandardOutput();
}

} // namespace

QStringList missingWaylandTools()
{
    QStringList missing;
    for (const char *tool : {"sway", "swaymsg", "swaybar", "Xwayland", "xhost", "wtype", "grim",
                             "setpriv", "foot", "dbus-daemon", "mako", "makoctl", "busctl"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    return missing;
}

WaylandStack::WaylandStack() = default;

WaylandStack::~WaylandStack()
{
    stop();
}

bool WaylandStack::start(bool tray)
{
    const passwd *nobody = ::getpwnam("nobody");
    if (!m_dir.isValid() || !nobody) {
        m_failure = QStringLiteral("no temporary folder or no user nobody");
        return false;
    }
    m_run = m_dir.filePath(QStringLiteral("run"));
    QDir().mkpath(m_run);
    // The compositor's user owns its runtime folder; the folder above must let it in.
    if (::chown(m_run.toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid) != 0 ||
        !QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ExeOwner | QFile::ExeOther)) {
        m_failure = QStringLiteral("cannot prepare the runtime folder");
        return false;
    }
    QFile::setPermissions(m_run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString displayFile = m_run + QStringLiteral("/x-display");
    const QString config = m_dir.filePath(QStringLiteral("sway.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_failure = QStringLiteral("cannot write the configuration");
        return false;
    }
    file.write("xwayland force\n"
               "output HEADLESS-1 resolution 1024x768\n"
               // XWayland lets in its own user only; the programs run as root.
               "exec sh -c 'xhost +si:localuser:root >/dev/null; echo $DISPLAY > " +
               displayFile.toLocal8Bit() +
               "'\n"
               "exec mako\n" +
               QByteArray(tray ? "bar {\n    position top\n    tray_output *\n}\n" : ""));
    file.close();
    QFile::setPermissions(config, QFile::ReadOwner | QFile::ReadOther | QFile::WriteOwner);

    const QString busConfig = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile bus(busConfig);
    if (!bus.open(QIODevice::WriteOnly)) {
        m_failure = QStringLiteral("cannot write the bus configuration");
        return false;
    }
    const QString busSocket = m_run + QStringLiteral("/bus");
    bus.write(QString::fromLatin1(kBusConfig).arg(busSocket).toLocal8Bit());
    bus.close();
    QFile::setPermissions(busConfig, QFile::ReadOwner | QFile::ReadOther | QFile::WriteOwner);

    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
    env.insert(QStringLiteral("HOME"), m_run);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_run);
    env.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    env.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    env.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    const QStringList asNobody{QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                               QStringLiteral("--clear-groups")};
    if (!m_bus.start(QStringLiteral("setpriv"),
                     asNobody + QStringList{QStringLiteral("dbus-daemon"),
                                            QStringLiteral("--nofork"),
                                            QStringLiteral("--config-file=") + busConfig,
                                            QStringLiteral("--print-address=1")},
                     env) ||
        !waitUntil([&] { return m_bus.output().contains('\n') || !m_bus.running(); }) ||
        !m_bus.running()) {
        m_failure = QStringLiteral("no session bus: ") + QString::fromLocal8Bit(m_bus.errors());
        return false;
    }
    m_busAddress = QStringLiteral("unix:path=") + busSocket;
    // The bar's tray and the notification daemon come with the compositor and share the bus.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    if (!m_compositor.start(QStringLiteral("setpriv"),
                            {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                             QStringLiteral("--clear-groups"), QStringLiteral("sway"),
                             QStringLiteral("-c"), config},
                            env)) {
        m_failure = QStringLiteral("sway did not start");
        return false;
    }
    const bool up = waitUntil(
        [&] {
            if (!m_compositor.running())
                return false;
            QFile display(displayFile);
            if (!display.open(QIODevice::ReadOnly))
                return false;
            m_xDisplay = QString::fromLocal8Bit(display.readAll()).trimmed();
            for (const QString &s :
                 QDir(m_run).entryList({QStringLiteral("wayland-*")}, QDir::System))
                if (!s.endsWith(QLatin1String(".lock")))
                    m_wayland = s;
            return !m_xDisplay.isEmpty() && !m_wayland.isEmpty() &&
                   !QDir(m_run).entryList({QStringLiteral("sway-ipc.*")}, QDir::System).isEmpty();
        },
        15000);
    // The tray host and the notice service are on the bus before any program looks for them.
    const auto onBus = [&](const char *name) {
        return run(QStringLiteral("busctl"), {QStringLiteral("--user"), QStringLiteral("list")},
                   environment())
            .contains(name);
    };
    const bool services = up && waitUntil(
                                    [&] {
                                        return (!tray || onBus("org.kde.StatusNotifierWatcher")) &&
                                               onBus("org.freedesktop.Notifications");
                                    },
                                    15000);
    if (!up) {
        m_failure = QStringLiteral("sway did not come up (") + QDir(m_run).entryList().join(' ') +
                    QStringLiteral("): ") +
                    QString::fromLocal8Bit(m_compositor.errors().right(2000));
        return false;
    }
    if (!services) {
        m_failure = QStringLiteral("no tray host or notice service on the bus: ") +
                    QString::fromLocal8Bit(m_compositor.errors().right(2000));
        return false;
    }
    return true;
}

void WaylandStack::stop()
{
    m_compositor.stop(3000);
    m_bus.stop(3000);
}

QProcessEnvironment WaylandStack::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("XAUTHORITY"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_run);
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_wayland);
    env.insert(QStringLiteral("DISPLAY"), m_xDisplay);
    const QStringList ipc = QDir(m_run).entryList({QStringLiteral("sway-ipc.*")}, QDir::System);
    if (!ipc.isEmpty())
        env.insert(QStringLiteral("SWAYSOCK"), m_run + QLatin1Char('/') + ipc.first());
    return env;
}

QByteArray WaylandStack::swaymsg(const QStringList &args) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("swaymsg"), args);
    p.waitForFinished(10000);
    return p.readAllStandardOutput();
}

QJsonObject WaylandStack::tree() const
{
    return QJsonDocument::fromJson(swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")}))
        .object();
}

QString WaylandStack::focusedName() const
{
    QString name;
    walk(tree(), [&](const QJsonObject &node) {
        if (node.value(QLatin1String("focused")).toBool() &&
            node.value(QLatin1String("type")).toString() == QLatin1String("con"))
            name = node.value(QLatin1String("name")).toString();
    });
    return name;
}

QStringList WaylandStack::windowNames() const
{
    QStringList names;
    walk(tree(), [&](const QJsonObject &node) {
        if (node.contains(QLatin1String("pid")))
            names.append(node.value(QLatin1String("name")).toString());
    });
    return names;
}

void WaylandStack::type(const QString &text) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("wtype"), {QStringLiteral("--"), text});
    p.waitForFinished(10000);
}

void WaylandStack::key(const QString &name) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("wtype"), {QStringLiteral("-k"), name});
    p.waitForFinished(10000);
}

QImage WaylandStack::screenshot() const
{
    const QString path = m_dir.filePath(QStringLiteral("shot.png"));
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("grim"), {path});
    p.waitForFinished(10000);
    return QImage(path);
}

QJsonArray WaylandStack::notices() const
{
    const QJsonObject list = QJsonDocument::fromJson(run(QStringLiteral("makoctl"),
                                                         {QStringLiteral("list")}, environment()))
                                 .object();
    return list.value(QLatin1String("data")).toArray().at(0).toArray();
}

void WaylandStack::invokeNotice() const
{
    run(QStringLiteral("makoctl"), {QStringLiteral("invoke")}, environment());
}

QString WaylandStack::trayItem() const
{
    const QJsonObject items =
        QJsonDocument::fromJson(
            run(QStringLiteral("busctl"),
                {QStringLiteral("--user"), QStringLiteral("--json=short"),
                 QStringLiteral("get-property"), QStringLiteral("org.kde.StatusNotifierWatcher"),
                 QStringLiteral("/StatusNotifierWatcher"),
                 QStringLiteral("org.kde.StatusNotifierWatcher"),
                 QStringLiteral("RegisteredStatusNotifierItems")},
                environment()))
            .object();
    return items.value(QLatin1String("data")).toArray().at(0).toString();
}

void WaylandStack::trayContextMenu(int x, int y) const
{
    // Registered as "service/path" (or the service alone, at the usual path).
    const QString item = trayItem();
    const qsizetype slash = item.indexOf(QLatin1Char('/'));
    const QString service = slash < 0 ? item : item.left(slash);
    const QString path = slash < 0 ? QStringLiteral("/StatusNotifierItem") : item.mid(slash);
    run(QStringLiteral("busctl"),
        {QStringLiteral("--user"), QStringLiteral("call"), service, path,
         QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("ContextMenu"),
         QStringLiteral("ii"), QString::number(x), QString::number(y)},
        environment());
}

} // namespace desktop
