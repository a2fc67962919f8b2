#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <map>
#include <memory>
#include <utility>

// Network namespaces for tests that need several hosts (and may broadcast): each host is
// a namespace of its own, each LAN a bridge inside one extra "switch" namespace, joined
// to hosts by veth pairs. Nothing is created in the machine's own namespace, and the
// lab removes everything it made when it goes, also when a test fails half-way.
//
//     testnet::NetLab lab;                       // needs root (see TOLVEX_REQUIRE_NETNS)
//     lab.addLan("lan1");
//     lab.addHost("a");
//     lab.attach("a", "lan1", "eth1", "10.71.1.1/24");
//     lab.setDefaultRoute("a", "eth1");
//     lab.runIn("a", [&] { socket.Listen(); });  // the socket lives in host a
//     lab.exec("a", {"ip", "addr"});             // a command inside host a
//     QProcess::start("ip", lab.execArgs("a", {program}))  // a program on host a
//
// addFlatLan(n) makes the usual one: hosts "1".."n" at 10.77.0.1.. on one LAN.
//
// Every method throws std::runtime_error (with the command's output) when a step fails.

namespace testnet {

/// Switches the calling thread into a named namespace and back when destroyed. Sockets
/// created by the thread meanwhile stay in that namespace for their whole life.
class NetnsScope final
{
public:
    explicit NetnsScope(const QByteArray &nsName);
    ~NetnsScope();
    NetnsScope(const NetnsScope &) = delete;
    NetnsScope &operator=(const NetnsScope &) = delete;

private:
    int m_original = -1;
};

/// A set of hosts and LANs made of network namespaces; names are unique per process, so
/// parallel runs do not collide, and leftovers of crashed runs are swept on construction.
class NetLab final
{
public:
    NetLab();
    ~NetLab();
    NetLab(const NetLab &) = delete;
    NetLab &operator=(const NetLab &) = delete;

    /// A host: a namespace with its loopback up and no other device.
    void addHost(const QByteArray &host);
    /// A LAN: a bridge (at most 15 characters) in the lab's switch namespace.
    void addLan(const QByteArray &lan);
    /// Plugs host into lan through a device named ifname, with an address such as
    /// "10.71.1.1/24" and its subnet's broadcast address; the device is up on return, its
    /// carrier too, so that the first datagram sent is not dropped.
    void attach(const QByteArray &host, const QByteArray &lan, const QByteArray &ifname,
                const QByteArray &cidr);
    /// Hosts "1".."count" on a LAN "lan", host i at flatAddr(i)/24 on eth0, which also
    /// carries its default route, as on any small network.
    void addFlatLan(int count);
    /// The address of host i of addFlatLan.
    static QByteArray flatAddr(int host);
    /// Points the host's default route at a device, through a gateway address if given.
    void setDefaultRoute(const QByteArray &host, const QByteArray &ifname,
                         const QByteArray &gateway = {});
    /// Runs a command inside the host's namespace and returns its standard output.
    QByteArray exec(const QByteArray &host, const QStringList &args);
    /// The host's own HOME, with XDG_CONFIG_HOME below it; made on first use, removed
    /// with the lab.
    QString home(const QByteArray &host);
    /// Arguments for the program "ip" that run command inside the host with its HOME; the
    /// process becomes the command itself, so signals sent to it reach the command.
    QStringList execArgs(const QByteArray &host, const QStringList &command);
    /// The system name of the host's namespace.
    QByteArray nsName(const QByteArray &host) const;

    /// Calls fn with the calling thread switched into the host's namespace.
    template <class F>
    decltype(auto) runIn(const QByteArray &host, F &&fn)
    {
        NetnsScope scope(nsName(host));
        return std::forward<F>(fn)();
    }

    /// Waits until the device in the namespace of that system name (nsName(host), or the
    /// switch's) has its carrier and is up: a device set up again drops what is sent before.
    void waitForCarrier(const QByteArray &ns, const QByteArray &ifname);

private:
    QByteArray m_prefix;
    QByteArray m_switch;
    QList<QByteArray> m_namespaces;
    int m_nextPort = 0;
    std::map<QByteArray, std::unique_ptr<QTemporaryDir>> m_homes;
};

} // namespace testnet
