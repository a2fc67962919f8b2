#include "app/CodeCript.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

using CodeCript::Decode;
using CodeCript::Encode;

TEST(CodeCriptTest, RoundTripsWithFourSymbolsPerStartedGroupOfThree)
{
    const std::pair<QByteArray, qsizetype> cases[] = {
        {"", 0}, {"a", 4}, {"ab", 4}, {"abc", 4}, {"abcd", 8}};
    for (const auto &[text, symbols] : cases) {
        EXPECT_EQ(Encode(text).size(), symbols) << text.constData();
        EXPECT_EQ(Decode(Encode(text)), text) << text.constData();
    }
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all += char(b);
    for (int shift = 0; shift < 3; ++shift)
        EXPECT_EQ(Decode(Encode(all.mid(shift))), all.mid(shift));
    // Both stop at a zero byte.
    EXPECT_EQ(Encode(QByteArray("ab\0cd", 5)), Encode("ab"));
    EXPECT_EQ(Decode(Encode("abc") + '\0' + Encode("def")), QByteArray("abc"));
}

TEST(CodeCriptTest, DecodeReadsOnlyFullGroupsAndTestsPaddingPerPosition)
{
    const QByteArray full = Encode("xyzabc");
    EXPECT_EQ(Decode(full.left(3)), QByteArray());
    EXPECT_EQ(Decode(full.left(5)), QByteArray("xyz"));
    EXPECT_EQ(Decode(full.left(2) + "=="), QByteArray("x"));
    EXPECT_EQ(Decode(full.left(3) + "="), QByteArray("xy"));
    // "=" in third place only: the second byte is left out and the third symbol counts as 0.
    const QByteArray gap = Decode(full.left(2) + "=" + full.mid(3, 1));
    ASSERT_EQ(gap.size(), 2);
    EXPECT_EQ(gap[0], 'x');
    EXPECT_EQ(quint8(gap[1]), quint8('z') & 63);
}

TEST(CodeCriptTest, UnknownSymbolsCountAsMinusOneInSignedArithmetic)
{
    // -1 * 4 + (-1 / 16) = -4, (-1 % 16) * 16 + (-1 / 4) = -16, (-1 % 4) * 64 + (-1) = -65,
    // each kept to its low eight bits.
    EXPECT_EQ(Decode("????"), QByteArray("\xFC\xF0\xBF"));
    // "=" is no symbol of the table, so it counts as -1 in the first two places.
    EXPECT_EQ(Decode("===="), QByteArray("\xFC"));
}

TEST(CodeCriptTest, ConstantsDecodeToTheirTexts)
{
    const QByteArray table(CodeCript::Table);
    EXPECT_EQ(QSet<char>(table.cbegin(), table.cend()).size(), 64);
    EXPECT_FALSE(table.contains('='));

    const std::pair<const char *, QByteArray> constants[] = {
        {CodeCript::DisplayName, "Tolvex"},
        {CodeCript::ProductTitle, "Tolvex LAN Chat"},
        {CodeCript::OuterFolderName, "Tolvex Software"},
        {CodeCript::DefaultChannel, "Main"},
        {CodeCript::WebPage, "https://www.example.org/tolvex/"},
        {CodeCript::MailTemplate, "mailto:feedback@example.org?subject=%1"},
        {CodeCript::DonationTemplate,
         "https://www.example.org/tolvex/donate?product=%1&action=%2&note=%3"},
        {CodeCript::InfoLine1, "Serverless chat for your local network."},
        {CodeCript::InfoLine2, "Free to use and to pass on."},
    };
    for (const auto &[scrambled, text] : constants)
        EXPECT_EQ(Decode(scrambled), text);
}

TEST(CodeCriptTest, TemplatesAreFilledInOnePassWithEncodedArguments)
{
    // An argument that looks like a placeholder is not expanded again.
    EXPECT_EQ(CodeCript::fillTemplate("%1-%2-%3-%4%", {"%2", "b%1", "%"}),
              QByteArray("%2-b%1-%-%4%"));
    EXPECT_EQ(CodeCript::DonationLink("Tolvex LAN Chat", "Donate", ""),
              QByteArray("https://www.example.org/tolvex/donate?product=Tolvex%20LAN%20Chat"
                         "&action=Donate&note="));
    // Arguments cannot add query fields or fragments to the address.
    EXPECT_EQ(CodeCript::MailLink("a&cc=x#y"),
              QByteArray("mailto:feedback@example.org?subject=a%26cc%3Dx%23y"));
}

} // namespace
