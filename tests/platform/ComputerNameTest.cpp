#include "platform/ComputerName.h"

#include <gtest/gtest.h>

namespace {

class ComputerNameTest : public ::testing::Test
{
protected:
    void TearDown() override { ComputerName::setSource({}); }

    static std::optional<QByteArray> readWith(std::optional<QByteArray> raw)
    {
        ComputerName::setSource([raw] { return raw; });
        return ComputerName::read();
    }
};

TEST_F(ComputerNameTest, KeepsNameUpToFirstDotWithinFifteenCharacters)
{
    EXPECT_EQ(readWith(QByteArray("OFFICE|PC7")), QByteArray("OFFICE|PC7"));
    EXPECT_EQ(readWith(QByteArray("desk.lan.example.org")), QByteArray("desk"));
    EXPECT_EQ(readWith(QByteArray("fifteen-chars-x")), QByteArray("fifteen-chars-x"));
    // Only the part before the dot counts towards the limit.
    EXPECT_EQ(readWith(QByteArray("fifteen-chars-x.example.org")), QByteArray("fifteen-chars-x"));
}

TEST_F(ComputerNameTest, LongEmptyOrUnreadableNameIsFailure)
{
    EXPECT_FALSE(readWith(QByteArray("sixteen-chars-xy")));
    EXPECT_FALSE(readWith(QByteArray("")));
    EXPECT_FALSE(readWith(QByteArray(".example.org")));
    EXPECT_FALSE(readWith(std::nullopt));
}

TEST_F(ComputerNameTest, SystemNameIsShortWhenReadable)
{
    const std::optional<QByteArray> name = ComputerName::read();
    if (name) {
        EXPECT_FALSE(name->isEmpty());
        EXPECT_LE(name->size(), ComputerName::MaxLength);
        EXPECT_FALSE(name->contains('.'));
    }
}

} // namespace
