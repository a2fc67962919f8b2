// Two tolvex-cli copies on subnets joined by a router: --reach by address and by a name
// from the namespace's own hosts file, and /reach listing, adding and removing.
#include "CliCopy.h"
#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

/// /etc/netns/<ns>/hosts, which "ip netns exec" puts in place of /etc/hosts.
class NamespaceHosts final
{
public:
    NamespaceHosts(const QByteArray &ns, const QByteArray &lines)
        : m_dir(QStringLiteral("/etc/netns/") + QString::fromLatin1(ns))
    {
        QDir().mkpath(m_dir);
        QFile file(m_dir + QStringLiteral("/hosts"));
        if (file.open(QIODevice::WriteOnly))
            file.write(lines);
    }
    ~NamespaceHosts() { QDir(m_dir).removeRecursively(); }
    NamespaceHosts(const NamespaceHosts &) = delete;
    NamespaceHosts &operator=(const NamespaceHosts &) = delete;

private:
    QString m_dir;
};

TEST(CliReach, CopiesOnTwoSubnetsMeetThroughAddressesAndHostNames)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addLan("rca");
    lab.addLan("rcb");
    for (const char *host : {"a", "b", "r"})
        lab.addHost(host);
    lab.attach("a", "rca", "eth0", "10.60.1.1/24");
    lab.attach("b", "rcb", "eth0", "10.60.2.1/24");
    lab.attach("r", "rca", "eth0", "10.60.1.254/24");
    lab.attach("r", "rcb", "eth1", "10.60.2.254/24");
    lab.exec("r", {"sysctl", "-qw", "net.ipv4.ip_forward=1"});
    for (const char *conf : {"all", "default", "eth0", "eth1"})
        lab.exec("r", {"sysctl", "-qw", QString("net.ipv4.conf.%1.bc_forwarding=1").arg(conf)});
    lab.setDefaultRoute("a", "eth0", "10.60.1.254");
    lab.setDefaultRoute("b", "eth0", "10.60.2.254");
    NamespaceHosts hosts(lab.nsName("b"), "127.0.0.1 localhost\n10.60.1.1 ann-desk\n");

    const QString bobConfig = lab.home("b") + QStringLiteral("/bob.ini");
    CliCopy ann(lab, "a", {"--name", "ann", "--channel", "Lab", "--reach", "10.60.2.255"});
    CliCopy bob(lab, "b",
                {"--name", "bob", "--channel", "Lab", "--config", bobConfig, "--reach", "ann-desk",
                 "--reach", "nowhere.invalid"});
    ASSERT_TRUE(ann.waitForUsers({"bob"}, 8000)) << ann.errors().data();
    ASSERT_TRUE(bob.waitForUsers({"ann"}, 2000)) << bob.errors().data();
    EXPECT_EQ(bob.errors().count("nowhere.invalid of the other networks does not resolve"), 1)
        << bob.errors().data();

    bob.send("/reach");
    EXPECT_TRUE(bob.waitFor(
        [&] {
            return bob.count("reach: ann-desk 10.60.1.1") == 1 &&
                   bob.count("reach: nowhere.invalid (unresolved)") == 1;
        },
        3000))
        << bob.lines().join('\n').data();
    bob.send("/reach -nowhere.invalid");
    bob.send("/reach 10.60.1.255");
    bob.send("/reach bad|name");
    bob.send("/quit");
    ASSERT_EQ(bob.waitForExit(8000), 0);
    const QByteArray told = bob.errors();
    EXPECT_TRUE(told.contains("reach: nowhere.invalid removed")) << told.data();
    EXPECT_TRUE(told.contains("reach: 10.60.1.255 added")) << told.data();
    EXPECT_TRUE(told.contains("neither an IPv4 address nor a host name")) << told.data();
    // bob's leave notice crossed the router.
    EXPECT_TRUE(ann.waitForUsers({}, 3000)) << ann.errors().data();

    // What /reach added is kept; what --reach named held for the run only.
    QFile saved(bobConfig);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray file = saved.readAll();
    EXPECT_TRUE(file.contains("[Networks]\nTarget0=10.60.1.255\n")) << file.data();
    EXPECT_FALSE(file.contains("ann-desk")) << file.data();
}

} // namespace
