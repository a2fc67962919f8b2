#include "platform/NetworkState.h"

#include "common/Netns.h"
#include "common/TestEnv.h"

#include <gtest/gtest.h>

TEST(NetworkState, ConnectedOnlyWithARunningNonLoopbackIPv4Interface)
{
    TOLVEX_REQUIRE_NETNS();
    testnet::NetLab lab;
    lab.addHost("a");
    // Loopback alone is no network.
    EXPECT_FALSE(lab.runIn("a", [] { return NetworkState::connected(); }));

    lab.addLan("lan1");
    lab.attach("a", "lan1", "eth1", "10.71.9.1/24");
    EXPECT_TRUE(lab.runIn("a", [] { return NetworkState::connected(); }));

    // A device taken down no longer counts, though it keeps its address.
    lab.exec("a", {"ip", "link", "set", "eth1", "down"});
    EXPECT_FALSE(lab.runIn("a", [] { return NetworkState::connected(); }));
}
