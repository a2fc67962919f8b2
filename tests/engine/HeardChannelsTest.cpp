#include "engine/HeardChannels.h"

#include "engine/ChannelList.h"

#include <gtest/gtest.h>

namespace {

QByteArray source(int i)
{
    return "10.0.0." + QByteArray::number(i);
}

TEST(HeardChannels, AFullBoxGivesWayOnlyWithTheLeastRecentlyHeard)
{
    ChannelList box;
    box.reset({"Typed", "Mine"}, "Mine");
    HeardChannels heard(box);
    heard.reset({});
    int added = 0;
    for (int s = 0; box.count() < HeardChannels::kMaxChannels; ++s) {
        for (int k = 0; k < HeardChannels::kMaxPerSource; ++k)
            heard.add("C" + QByteArray::number(added++), source(s), "Mine");
    }
    heard.add("C0", source(99), "Mine"); // announced again: now the last to give way
    heard.add("New", source(98), "Mine");
    EXPECT_EQ(box.count(), HeardChannels::kMaxChannels);
    EXPECT_TRUE(box.contains("New"));
    EXPECT_TRUE(box.contains("C0"));
    EXPECT_FALSE(box.contains("C1"));
    EXPECT_TRUE(box.contains("Typed"));
    EXPECT_TRUE(box.contains("Mine"));
    EXPECT_FALSE(heard.contains("C1"));
    EXPECT_FALSE(heard.contains("Typed"));
}

TEST(HeardChannels, OneSourceAddsAtMostItsShareUntilOneIsForgotten)
{
    ChannelList box;
    box.reset({"Mine"}, "Mine");
    HeardChannels heard(box);
    for (int k = 0; k <= HeardChannels::kMaxPerSource; ++k)
        heard.add("C" + QByteArray::number(k), source(1), "Mine");
    EXPECT_EQ(box.count(), 1 + HeardChannels::kMaxPerSource);
    // Chosen here: no longer heard, and its place in the source's share is free again.
    heard.forget("c0");
    EXPECT_FALSE(heard.contains("C0"));
    heard.add("Later", source(1), "Mine");
    EXPECT_TRUE(box.contains("Later"));
}

} // namespace
