#include "engine/ChannelList.h"

#include <gtest/gtest.h>

namespace {

TEST(ChannelList, FindsNamesWithoutRegardToCaseInInsertionOrder)
{
    ChannelList list;
    list.reset({"Sales", "Lab", "sales"}, "Lab");
    EXPECT_EQ(list.findExact("SALES"), 0);
    EXPECT_EQ(list.findExact("lab"), 1);
    EXPECT_EQ(list.findExact("La"), -1) << "exact, not a prefix";
    EXPECT_FALSE(list.contains("\xC9t\xE9"));
    list.append("\xC9t\xE9"); // Été in the code page
    EXPECT_TRUE(list.contains("\xE9T\xC9"));

    // A duplicate keeps the name known until its last copy goes.
    list.removeAt(0);
    EXPECT_EQ(list.findExact("Sales"), 1);
    list.removeAt(1);
    EXPECT_FALSE(list.contains("sales"));
}

} // namespace
