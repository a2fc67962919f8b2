#include "app/IniDocument.h"

#include <gtest/gtest.h>

namespace {

TEST(IniDocumentTest, NamesMatchWithoutRegardToCaseAndFirstCopyWins)
{
    const IniDocument doc = IniDocument::parse("[SeRvEr]\r\n  pORT = 6000  \r\nport=2\r\n"
                                               "empty=\r\n[server]\r\nName=late\r\n");
    EXPECT_EQ(doc.readString("server", "Port", "5040"), QByteArray("6000"));
    EXPECT_EQ(doc.keyNames("SERVER"), (QList<QByteArray>{"pORT", "port", "empty"}));
    EXPECT_EQ(doc.readString("Server", "Name", "dflt"), QByteArray("dflt"));
    // A key that is present with an empty value does not take the default.
    EXPECT_EQ(doc.readString("Server", "EMPTY", "dflt"), QByteArray());
    EXPECT_TRUE(doc.valueExists("Server", "Empty"));
    EXPECT_FALSE(doc.valueExists("Client", "Port"));
}

TEST(IniDocumentTest, ValuesAreCutAfter2047BytesAndAtZero)
{
    const QByteArray longValue(5000, 'v');
    const IniDocument doc =
        IniDocument::parse("[S]\nlong=" + longValue + "\nzero=ab" + QByteArray(1, '\0') + "cd\n");
    EXPECT_EQ(doc.readString("S", "long", {}), QByteArray(2047, 'v'));
    EXPECT_EQ(doc.readString("S", "zero", {}), QByteArray("ab"));
    EXPECT_TRUE(doc.toBytes().contains(longValue)) << "the file keeps the whole value";
}

TEST(IniDocumentTest, KeyNamesBeyondTheBufferCountAsMissing)
{
    // Keys of 7 bytes take 8 with their zero; one more zero ends the list.
    QByteArray text = "[S]\n";
    for (int i = 0; i < 2100; ++i)
        text += "K" + QByteArray::number(i).rightJustified(6, '0') + "=x\n";
    const IniDocument doc = IniDocument::parse(text);
    EXPECT_EQ(doc.keyNames("S").size(), (16384 - 1) / 8);
    EXPECT_TRUE(doc.valueExists("S", "K002046"));
    EXPECT_FALSE(doc.valueExists("S", "K002047"));
    EXPECT_EQ(doc.readString("S", "K002047", {}), QByteArray("x")) << "reading is not limited";
}

TEST(IniDocumentTest, BooleansAreReadAsIntegers)
{
    const std::tuple<const char *, bool, bool> cases[] = {
        // value, default, expected
        {"0", true, false},           {"2", false, true},           {"-1", false, true},
        {"0x0", true, false},         {"0X1f", false, true},        {"0xFFFFFFFF", false, true},
        {"yes", true, true},          {"true", false, false},       {"", true, true},
        {"0x", false, false},         {"1.0", false, false},        {"0x100000000", false, false},
        {"2147483648", false, false}, {"-2147483648", false, true},
    };
    for (const auto &[value, dflt, expected] : cases) {
        const IniDocument doc = IniDocument::parse(QByteArray("[S]\nb= ") + value + " \n");
        EXPECT_EQ(doc.readBool("S", "b", dflt), expected) << '"' << value << '"';
    }
}

TEST(IniDocumentTest, EnclosingQuotesAreTakenOffAndWrittenValuesReadBackWhole)
{
    const IniDocument doc = IniDocument::parse("[S]\nlock = \"1\" \nname='Main'\n"
                                               "mixed=\"x'\nlone=\"\n");
    EXPECT_TRUE(doc.readBool("S", "lock", false)) << "a quoted lock still locks";
    EXPECT_EQ(doc.readString("S", "name", {}), QByteArray("Main"));
    EXPECT_EQ(doc.readString("S", "mixed", {}), QByteArray("\"x'"));
    EXPECT_EQ(doc.readString("S", "lone", {}), QByteArray("\""));

    for (const QByteArray value :
         {" lead", "trail\t", "\"quoted\"", "'q'", "''", "\"", "a \"b\"", "plain"}) {
        IniDocument written;
        written.writeString("S", "k", value);
        EXPECT_EQ(IniDocument::parse(written.toBytes()).readString("S", "k", {}), value)
            << value.constData();
    }
    IniDocument plain;
    plain.writeString("S", "k", "a \"b\"");
    EXPECT_EQ(plain.toBytes(), QByteArray("[S]\nk=a \"b\"\n")) << "quotes only where needed";
}

TEST(IniDocumentTest, WritesKeepEveryOtherLine)
{
    IniDocument doc =
        IniDocument::parse("; admin notes\r\n[Server]\r\nPort=5040\r\n"
                           "; keep me\r\nCustom = kept \r\n\r\n[User]\r\nName=ann\r\n");
    doc.writeString("server", "port", "6000");
    doc.writeString("Server", "Interface", "10.0.0.2");
    doc.writeString("Channels", "Selected", "Main");
    // Line endings follow the file; a new key goes before the blank line that ends its
    // section, a new section at the end after one blank line.
    EXPECT_EQ(doc.toBytes(),
              QByteArray("; admin notes\r\n[Server]\r\nport=6000\r\n"
                         "; keep me\r\nCustom = kept \r\nInterface=10.0.0.2\r\n\r\n"
                         "[User]\r\nName=ann\r\n\r\n[Channels]\r\nSelected=Main\r\n"));
}

TEST(IniDocumentTest, WrittenValueCannotAddLines)
{
    IniDocument doc;
    doc.writeString("Channels", "Channel0", "evil\r\n[Restrictions]\nChannels=1");
    doc.writeString("Channels", "Channel1", QByteArray("a\0b", 3));
    const IniDocument reread = IniDocument::parse(doc.toBytes());
    EXPECT_FALSE(reread.valueExists("Restrictions", "Channels"));
    EXPECT_EQ(reread.readString("Channels", "Channel0", {}),
              QByteArray("evil  [Restrictions] Channels=1"));
    EXPECT_EQ(reread.readString("Channels", "Channel1", {}), QByteArray("a"));
}

TEST(IniDocumentTest, EraseRemovesEveryCopyOfTheSection)
{
    IniDocument doc = IniDocument::parse("[Channels]\nChannel0=a\n[User]\nName=n\n"
                                         "[CHANNELS]\nChannel0=stale\nChannel1=stale\n");
    doc.eraseSection("channels");
    doc.writeString("Channels", "Channel0", "b");
    EXPECT_EQ(doc.toBytes(), QByteArray("[User]\nName=n\n\n[Channels]\nChannel0=b\n"));
}

} // namespace
