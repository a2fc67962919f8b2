// Reaching peers on other subnets, in a lab of network namespaces: how long a copy takes
// from its first tick to listing 200 peers spread over 4 routed subnets through its target
// list, against the same 200 on its own subnet; and how many datagrams one keep-alive tick
// hands to the sockets with 0, 1 and 64 targets.
//
// Every copy is a real engine on a thread of its own inside its host's namespace. Needs
// root. PEERS overrides the number of peers (a multiple of 4).
#include "EngineHost.h"
#include "common/Netns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kSubnets = 4;
// A bridge of more than about 32 ports drops broadcasts in this lab, so a large subnet is
// made of segments of this many hosts, joined by a host that bridges them.
constexpr int kSegmentHosts = 24;

/// The LAN segments of one subnet for hosts hosts, joined into one broadcast domain; the
/// segment of the host with index i is segments[i / kSegmentHosts].
QByteArrayList segmentedLan(testnet::NetLab &lab, const QByteArray &name, int hosts)
{
    QByteArrayList segments;
    for (int k = 0; k * kSegmentHosts < hosts; ++k) {
        segments.append(name + "g" + QByteArray::number(k));
        lab.addLan(segments.back());
    }
    if (segments.size() < 2)
        return segments;
    const QByteArray joiner = name + "j";
    lab.addHost(joiner);
    lab.exec(joiner, {"ip", "link", "add", "br0", "type", "bridge"});
    for (int k = 0; k < segments.size(); ++k) {
        const QString dev = QString("e%1").arg(k);
        lab.attach(joiner, segments[k], dev.toLatin1(),
                   "192.0.2." + QByteArray::number(k + 1) + "/32");
        lab.exec(joiner, {"ip", "addr", "flush", "dev", dev});
        lab.exec(joiner, {"ip", "link", "set", dev, "master", "br0"});
    }
    lab.exec(joiner, {"ip", "link", "set", "br0", "up"});
    return segments;
}

QByteArray subnetAddr(int subnet, int host)
{
    return "10.62." + QByteArray::number(subnet + 1) + "." + QByteArray::number(host);
}

QByteArray subnetBroadcast(int subnet)
{
    return subnetAddr(subnet, 255);
}

void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

/// Milliseconds from the observer's first tick until it lists want peers; -1 after 20 s.
/// Datagrams of a first contact get lost in a lab this large (a router queues only about a
/// hundred for a neighbour it has not resolved yet, and a crowded bridge drops some), so the
/// observer announces again every second until it lists everybody; how many announcements
/// it took and the time after the last one are printed.
qint64 timeToList(EngineHost &observer, int want)
{
    QElapsedTimer t;
    t.start();
    observer.comeOnLine();
    int announcements = 1;
    qint64 next = 1000;
    qint64 last = 0;
    while (t.elapsed() < 20000) {
        if (observer.names().size() >= want) {
            std::printf("  (%d announcements; listed %lld ms after the last one)\n", announcements,
                        static_cast<long long>(t.elapsed() - last));
            return t.elapsed();
        }
        if (t.elapsed() >= next) {
            last = t.elapsed();
            observer.call([](MessagingEngine &engine) { engine.Announce(); });
            ++announcements;
            next += 1000;
        }
        QThread::msleep(2);
    }
    std::printf("  (the observer listed only %lld of %d after %d announcements)\n",
                static_cast<long long>(observer.names().size()), want, announcements);
    return -1;
}

qint64 routed(int peers, std::vector<qint64> *perTick)
{
    testnet::NetLab lab;
    lab.addHost("r");
    std::vector<QByteArrayList> lans;
    for (int s = 0; s < kSubnets; ++s) {
        // Index 0 of each subnet is the router, 1 the observer on subnet 0.
        lans.push_back(segmentedLan(lab, "s" + QByteArray::number(s), peers / kSubnets + 2));
        lab.attach("r", lans.back().first(), "eth" + QByteArray::number(s),
                   subnetAddr(s, 254) + "/24");
    }
    lab.exec("r", {"sysctl", "-qw", "net.ipv4.ip_forward=1"});
    lab.exec("r", {"sysctl", "-qw", "net.ipv4.conf.all.bc_forwarding=1"});
    lab.exec("r", {"sysctl", "-qw", "net.ipv4.conf.default.bc_forwarding=1"});
    for (int s = 0; s < kSubnets; ++s)
        lab.exec("r", {"sysctl", "-qw", QString("net.ipv4.conf.eth%1.bc_forwarding=1").arg(s)});
    const auto addHost = [&](const QByteArray &name, int subnet, int host, int index) {
        lab.addHost(name);
        lab.attach(name, lans[size_t(subnet)][index / kSegmentHosts], "eth0",
                   subnetAddr(subnet, host) + "/24");
        lab.setDefaultRoute(name, "eth0", subnetAddr(subnet, 254));
    };
    addHost("obs", 0, 1, 1);
    std::vector<std::unique_ptr<EngineHost>> hosts;
    for (int i = 0; i < peers; ++i) {
        const int subnet = i % kSubnets;
        const QByteArray name = "p" + QByteArray::number(i);
        addHost(name, subnet, 10 + i / kSubnets, 2 + i / kSubnets);
        hosts.push_back(std::make_unique<EngineHost>(lab.nsName(name), name, "Bench"));
    }
    const auto targetsFor = [](int subnet) {
        QByteArrayList list;
        for (int s = 0; s < kSubnets; ++s)
            if (s != subnet)
                list.append(subnetBroadcast(s));
        return list;
    };
    for (int i = 0; i < peers; ++i) {
        hosts[size_t(i)]->call([&](MessagingEngine &engine) {
            engine.Settings().Targets = targetsFor(i % kSubnets);
            engine.applyTargets();
        });
        hosts[size_t(i)]->comeOnLine();
    }
    settle(3000);
    EngineHost observer(lab.nsName("obs"), "observer", "Bench");
    observer.call([&](MessagingEngine &engine) {
        engine.Settings().Targets = targetsFor(0);
        engine.applyTargets();
    });
    const qint64 ms = timeToList(observer, peers);

    // Datagrams of one keep-alive tick: the broadcast plus one per target not skipped.
    for (int count : {0, 1, 64}) {
        QByteArrayList targets;
        for (int s = 1; s < kSubnets && targets.size() < count; ++s)
            targets.append(subnetBroadcast(s));
        for (int i = 0; targets.size() < count; ++i)
            targets.append(subnetAddr(1 + i % 3, 10 + i / 3));
        qint64 sends = 0;
        qint64 tickUs = 0;
        observer.call([&](MessagingEngine &engine) {
            engine.Settings().Targets = targets;
            engine.applyTargets();
            const qint64 before = engine.presenceSends();
            QElapsedTimer t;
            t.start();
            engine.AliveTimerTimer();
            tickUs = t.nsecsElapsed() / 1000;
            sends = engine.presenceSends() - before;
        });
        perTick->push_back(sends);
        std::printf("targets %2d: %lld datagrams per keep-alive tick, tick %lld us\n", count,
                    static_cast<long long>(sends), static_cast<long long>(tickUs));
    }
    return ms;
}

qint64 flat(int peers)
{
    testnet::NetLab lab;
    const QByteArrayList lan = segmentedLan(lab, "f", peers + 1);
    const auto addHost = [&](const QByteArray &name, int index) {
        lab.addHost(name);
        lab.attach(name, lan[index / kSegmentHosts], "eth0",
                   "10.63." + QByteArray::number(index / 250) + "." +
                       QByteArray::number(1 + index % 250) + "/16");
    };
    addHost("obs", 0);
    std::vector<std::unique_ptr<EngineHost>> hosts;
    for (int i = 0; i < peers; ++i) {
        const QByteArray name = "p" + QByteArray::number(i);
        addHost(name, i + 1);
        hosts.push_back(std::make_unique<EngineHost>(lab.nsName(name), name, "Bench"));
        hosts.back()->comeOnLine();
    }
    settle(3000);
    EngineHost observer(lab.nsName("obs"), "observer", "Bench");
    const qint64 ms = timeToList(observer, peers);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int peers =
        qEnvironmentVariableIsSet("PEERS") ? qEnvironmentVariableIntValue("PEERS") : 200;
    std::vector<qint64> perTick;
    const qint64 routedMs = qEnvironmentVariableIsSet("FLAT_ONLY") ? 0 : routed(peers, &perTick);
    std::printf("%d peers over %d routed subnets through targets: listed after %lld ms\n", peers,
                kSubnets, static_cast<long long>(routedMs));
    const qint64 flatMs = flat(peers);
    std::printf("%d peers on one subnet: listed after %lld ms\n", peers,
                static_cast<long long>(flatMs));
    return routedMs < 0 || flatMs < 0 ? 1 : 0;
}
