// The one rule for comparing and trimming names, and the settings file's names that fold
// A-Z only.
#include "app/NameRules.h"

#include "app/IniDocument.h"

#include <gtest/gtest.h>

namespace {

struct foldCase
{
    const char *name;
    QByteArray text;
    QByteArray folded;
};

class NameFolding : public ::testing::TestWithParam<foldCase>
{};

TEST_P(NameFolding, LowersTheCapitalsOfTheCodePageOnly)
{
    EXPECT_EQ(NameRules::foldCase(GetParam().text), GetParam().folded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NameFolding,
    ::testing::Values(foldCase{"Ascii", "Sales-2 Lab", "sales-2 lab"},
                      foldCase{"AccentedCapitals", "\xC0\xC9\xDE", "\xE0\xE9\xFE"},
                      foldCase{"TimesSignIsNoLetter", "\xD7", "\xD7"},
                      foldCase{"SharpSAndMicroHaveNoCapital", "\xDF\xB5", "\xDF\xB5"},
                      foldCase{"CapitalsAmongTheHighBytes", "\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
                      // Unassigned bytes are nobody's letters and stay apart from "?".
                      foldCase{"UnassignedBytesStay", "\x81\x8D\x8F\x90\x9D",
                               "\x81\x8D\x8F\x90\x9D"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(NameRules, SettingsFileNamesFoldAsciiOnly)
{
    EXPECT_EQ(NameRules::foldAscii("Channel0 \xC9"), "channel0 \xC9");
    const IniDocument doc = IniDocument::parse("[\xC9T\xC9]\nKey=1\n[Server]\nPORT=5040\n");
    EXPECT_EQ(doc.value("server", "port"), QByteArray("5040"));
    EXPECT_FALSE(doc.value("\xE9t\xE9", "key"));
}

TEST(NameRules, BlanksAreSpaceAndControlCharacters)
{
    EXPECT_EQ(NameRules::trimBlanks(" \t\x01Lab\x1F\r "), "Lab");
    EXPECT_EQ(NameRules::trimBlanks("\xA0Lab\x7F"), "\xA0Lab\x7F") << "no-break space, DEL";
    EXPECT_EQ(NameRules::trimTrailingBlanks("  Lab \x02"), "  Lab");
    // The settings file trims by the same rule and quotes a value that would lose its ends.
    IniDocument doc = IniDocument::parse("[User]\nName=\x01 bob \x1B\n");
    EXPECT_EQ(doc.value("User", "Name"), QByteArray("bob"));
    doc.writeString("User", "Name", "\x01 bob");
    EXPECT_EQ(IniDocument::parse(doc.toBytes()).value("User", "Name"), QByteArray("\x01 bob"));
}

} // namespace
