#include "engine/TextRules.h"

#include <gtest/gtest.h>

namespace {

using TextRules::prepareChatLine;

struct LineCase
{
    const char *name;
    QByteArray typed;
    QByteArray handedOver;
};

class ChatLine : public ::testing::TestWithParam<LineCase>
{};

TEST_P(ChatLine, IsPreparedForTheDatagram)
{
    EXPECT_EQ(prepareChatLine(GetParam().typed), GetParam().handedOver);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChatLine,
    ::testing::Values(LineCase{"TrailingBlanksAndControlsGo", "hi \t\x01  ", "hi"},
                      LineCase{"LeadingBlanksStay", "  hi", "  hi"},
                      LineCase{"OnlyBlanksLeaveNothing", " \t ", ""},
                      LineCase{"SeparatorStartsANewLine", "one|two|", "one\r\ntwo\r\n"},
                      LineCase{"CutTo1000BeforeSeparatorsGrow", QByteArray(999, 'a') + "||",
                               QByteArray(999, 'a') + "\r\n"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

TEST(TextRulesFillArgs, FillsEachPlaceholderOnceAndLeavesWhatWasFilledIn)
{
    EXPECT_EQ(TextRules::fillArgs("User \"%1\" has IP %2", {"a%2b", "10.0.0.7"}),
              QByteArray("User \"a%2b\" has IP 10.0.0.7"));
    // A translation may put the placeholders in another order; one without an argument stays.
    EXPECT_EQ(TextRules::fillArgs("%2 / %1 / %3 / 100%", {"x", "y"}),
              QByteArray("y / x / %3 / 100%"));
}
