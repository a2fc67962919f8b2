#include "engine/PresenceTargets.h"

#include <gtest/gtest.h>

namespace {

TEST(PresenceTargets, ListTakesAddressesAndHostNamesOnceUpTo64)
{
    EXPECT_TRUE(PresenceTargets::problem("192.168.2.255").isEmpty());
    EXPECT_TRUE(PresenceTargets::problem(" vpn-gw.example ").isEmpty());
    for (const QByteArray bad : {"", "0.0.0.0", "a|b", "-x.example", "a..b", "two words"})
        EXPECT_FALSE(PresenceTargets::problem(bad).isEmpty()) << bad.constData();

    QByteArrayList many{"10.8.0.14", "GW.example", "gw.EXAMPLE", "bad|name"};
    for (int i = 0; i < 100; ++i)
        many.append("10.9.0." + QByteArray::number(i));
    const QByteArrayList kept = PresenceTargets::cleaned(many);
    ASSERT_EQ(kept.size(), PresenceTargets::kMaxTargets);
    EXPECT_EQ(kept.mid(0, 3), (QByteArrayList{"10.8.0.14", "GW.example", "10.9.0.0"}));

    PresenceTargets targets;
    targets.setList({"10.8.0.14", "10.8.0.14 ", "192.168.2.255"});
    EXPECT_EQ(targets.addresses(), (QByteArrayList{"10.8.0.14", "192.168.2.255"}));
}

} // namespace
