#include "common/Netns.h"

#include "common/EventWait.h"

#include <QDir>
#include <QProcess>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <stdexcept>
#include <unistd.h>

namespace testnet {

namespace {

std::atomic<int> g_labCounter{0};

QByteArray run(const QStringList &args, bool mustSucceed = true)
{
    QProcess process;
    process.start(QStringLiteral("ip"), args);
    const bool finished = process.waitForFinished(30000);
    const QByteArray out = process.readAllStandardOutput();
    if (mustSucceed &&
        (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)) {
        throw std::runtime_error(
            ("ip " + args.join(' ').toLocal8Bit() + " failed: " + process.readAllStandardError())
                .toStdString());
    }
    return out;
}

QString str(const QByteArray &b)
{
    return QString::fromLocal8Bit(b);
}

// Namespaces of earlier runs that died before cleaning up: "tlx-<pid>-..." of a pid that
// no longer exists.
void sweepLeftovers()
{
    const QList<QByteArray> lines = run({"netns", "list"}, false).split('\n');
    for (const QByteArray &line : lines) {
        const QByteArray name = line.split(' ').value(0);
        if (!name.startsWith("tlx-"))
            continue;
        const pid_t pid = pid_t(name.split('-').value(1).toInt());
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH)
            run({"netns", "delete", str(name)}, false);
    }
}

} // namespace

NetnsScope::NetnsScope(const QByteArray &nsName)
{
    m_original = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    if (m_original < 0)
        throw std::runtime_error("cannot open the thread's network namespace");
    const QByteArray path = "/run/netns/" + nsName;
    const int target = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (target < 0 || setns(target, CLONE_NEWNET) != 0) {
        if (target >= 0)
            ::close(target);
        ::close(m_original);
        throw std::runtime_error("cannot enter network namespace " + nsName.toStdString());
    }
    ::close(target);
}

NetnsScope::~NetnsScope()
{
    setns(m_original, CLONE_NEWNET);
    ::close(m_original);
}

NetLab::NetLab()
    : m_prefix("tlx-" + QByteArray::number(getpid()) + '-' + QByteArray::number(++g_labCounter))
{
    sweepLeftovers();
    m_switch = m_prefix + "-sw";
    run({"netns", "add", str(m_switch)});
    m_namespaces.append(m_switch);
}

NetLab::~NetLab()
{
    // Deleting a namespace takes its devices with it, bridges and veth pairs included.
    for (auto it = m_namespaces.crbegin(); it != m_namespaces.crend(); ++it)
        run({"netns", "delete", str(*it)}, false);
}

QByteArray NetLab::nsName(const QByteArray &host) const
{
    return m_prefix + '-' + host;
}

void NetLab::addHost(const QByteArray &host)
{
    const QByteArray ns = nsName(host);
    run({"netns", "add", str(ns)});
    m_namespaces.append(ns);
    run({"-n", str(ns), "link", "set", "lo", "up"});
}

void NetLab::addLan(const QByteArray &lan)
{
    run({"-n", str(m_switch), "link", "add", str(lan), "type", "bridge"});
    run({"-n", str(m_switch), "link", "set", str(lan), "up"});
}

void NetLab::attach(const QByteArray &host, const QByteArray &lan, const QByteArray &ifname,
                    const QByteArray &cidr)
{
    const QString port = QStringLiteral("p%1").arg(++m_nextPort);
    const QString ns = str(nsName(host));
    run({"-n", str(m_switch), "link", "add", port, "type", "veth", "peer", "name", str(ifname),
         "netns", ns});
    run({"-n", str(m_switch), "link", "set", port, "master", str(lan)});
    run({"-n", str(m_switch), "link", "set", port, "up"});
    run({"-n", ns, "addr", "add", str(cidr), "brd", "+", "dev", str(ifname)});
    run({"-n", ns, "link", "set", str(ifname), "up"});
    waitForCarrier(m_switch, port.toLocal8Bit());
    waitForCarrier(nsName(host), ifname);
}

void NetLab::waitForCarrier(const QByteArray &ns, const QByteArray &ifname)
{
    // A device set up has no carrier yet for a moment, and drops what is sent meanwhile.
    const bool up = testwait::waitFor([&] {
        const QByteArray link = run({"-n", str(ns), "-o", "link", "show", "dev", str(ifname)});
        return link.contains(",LOWER_UP") && link.contains(" state UP ");
    });
    if (!up)
        throw std::runtime_error("no carrier on " + ifname.toStdString() + " in " +
                                 ns.toStdString());
}

void NetLab::addFlatLan(int count)
{
    addLan("lan");
    for (int i = 1; i <= count; ++i) {
        const QByteArray host = QByteArray::number(i);
        addHost(host);
        attach(host, "lan", "eth0", flatAddr(i) + "/24");
        setDefaultRoute(host, "eth0");
    }
}

QByteArray NetLab::flatAddr(int host)
{
    return "10.77.0." + QByteArray::number(host);
}

void NetLab::setDefaultRoute(const QByteArray &host, const QByteArray &ifname,
                             const QByteArray &gateway)
{
    QStringList args{"-n", str(nsName(host)), "route", "replace", "default"};
    if (!gateway.isEmpty())
        args << "via" << str(gateway);
    args << "dev" << str(ifname);
    run(args);
}

QByteArray NetLab::exec(const QByteArray &host, const QStringList &args)
{
    return run(QStringList{"netns", "exec", str(nsName(host))} + args);
}

QString NetLab::home(const QByteArray &host)
{
    auto &dir = m_homes[host];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QDir(dir->path()).mkpath(QStringLiteral(".config"));
    }
    return dir->path();
}

QStringList NetLab::execArgs(const QByteArray &host, const QStringList &command)
{
    const QString homePath = home(host);
    return QStringList{"netns",
                       "exec",
                       str(nsName(host)),
                       "env",
                       "HOME=" + homePath,
                       "XDG_CONFIG_HOME=" + homePath + "/.config"} +
           command;
}

} // namespace testnet
