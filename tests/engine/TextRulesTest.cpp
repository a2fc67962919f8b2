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
