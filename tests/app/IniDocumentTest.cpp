#include "app/IniDocument.h"

#include <gtest/gtest.h>

namespace {

TEST(IniDocumentTest, NamesMatchWithoutRegardToCase)
{
    const IniDocument doc = IniDocument::parse("[SeRvEr]\r\n  pORT = 6000  \r\nName=x\r\n");
    EXPECT_EQ(doc.readString("server", "Port", "5040"), QByteArray("6000"));
    EXPECT_EQ(doc.readString("SERVER", "NAME", {}), QByteArray("x"));
    EXPECT_TRUE(doc.valueExists("Server", "port"));
    EXPECT_FALSE(doc.valueExists("Server", "Interface"));
    EXPECT_EQ(doc.readString("Server", "Interface", "dflt"), QByteArray("dflt"));
    EXPECT_EQ(doc.readString("Client", "Port", "dflt"), QByteArray("dflt"));
}

TEST(IniDocumentTest, FirstSectionAndFirstKeyWin)
{
    const IniDocument doc = IniDocument::parse("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nonly=5\n");
    EXPECT_EQ(doc.readString("A", "k", {}), QByteArray("1"));
    EXPECT_EQ(doc.readString("A", "only", "missing"), QByteArray("missing"));
    EXPECT_EQ(doc.keyNames("A"), (QList<QByteArray>{"k", "k"}));
}

TEST(IniDocumentTest, PresentEmptyValueIsNotTheDefault)
{
    const IniDocument doc = IniDocument::parse("[S]\nempty=\n");
    EXPECT_EQ(doc.readString("S", "empty", "dflt"), QByteArray());
    EXPECT_TRUE(doc.valueExists("S", "empty"));
}

TEST(IniDocumentTest, ValuesAreCutAfter2047BytesAndAtZero)
{
    const QByteArray longValue(5000, 'v');
    const IniDocument doc =
        IniDocument::parse("[S]\nlong=" + longValue + "\nzero=ab" + QByteArray(1, '\0') + "cd\n");
    EXPECT_EQ(doc.readString("S", "long", {}), QByteArray(2047, 'v'));
    EXPECT_EQ(doc.readString("S", "zero", {}), QByteArray("ab"));
    // The file keeps the whole value even though a read gives less.
    EXPECT_TRUE(doc.toBytes().contains(longValue));
}

TEST(IniDocumentTest, KeyNamesBeyondTheBufferCountAsMissing)
{
    // 2000 keys of 7 bytes plus a zero each: 16000 bytes, then one more zero.
    QByteArray text = "[S]\n";
    for (int i = 0; i < 2100; ++i)
        text += "K" + QByteArray::number(i).rightJustified(6, '0') + "=x\n";
    const IniDocument doc = IniDocument::parse(text);
    const QList<QByteArray> names = doc.keyNames("S");
    ASSERT_EQ(names.size(), (16384 - 1) / 8);
    EXPECT_TRUE(doc.valueExists("S", "K002046"));
    EXPECT_FALSE(doc.valueExists("S", "K002047"));
    // The value itself is still readable: only the existence test is limited.
    EXPECT_EQ(doc.readString("S", "K002047", {}), QByteArray("x"));
    EXPECT_EQ(doc.keyNames("S", 17).size(), 2);
}

TEST(IniDocumentTest, BooleansAreReadAsIntegers)
{
    const std::tuple<const char *, bool, bool> cases[] = {
        // value, default, expected
        {"0", true, false},
        {"1", false, true},
        {"2", false, true},
        {"-1", false, true},
        {"0x0", true, false},
        {"0X1f", false, true},
        {"0xFFFFFFFF", false, true},
        {"  0  ", true, false},
        {"yes", true, true},
        {"no", true, true},
        {"true", false, false},
        {"", true, true},
        {"0x", false, false},
        {"1.0", false, false},
        {"0 1", true, true},
        {"99999999999", false, false},
        {"0x100000000", false, false},
        {"2147483647", false, true},
        {"-2147483648", false, true},
        {"2147483648", false, false},
    };
    for (const auto &[value, dflt, expected] : cases) {
        const IniDocument doc = IniDocument::parse(QByteArray("[S]\nb=") + value + "\n");
        EXPECT_EQ(doc.readBool("S", "b", dflt), expected) << '"' << value << '"';
    }
    EXPECT_TRUE(IniDocument().readBool("S", "b", true));
    EXPECT_EQ(IniDocument::parseInteger("-0x10"), -16);
    EXPECT_EQ(IniDocument::parseInteger("+12"), 12);
}

TEST(IniDocumentTest, WritesKeepEveryOtherLine)
{
    IniDocument doc = IniDocument::parse("; admin notes\r\n"
                                         "[Server]\r\n"
                                         "Port=5040\r\n"
                                         "; keep me\r\n"
                                         "Custom = kept \r\n"
                                         "\r\n"
                                         "[User]\r\n"
                                         "Name=ann\r\n");
    doc.writeString("server", "port", "6000");
    doc.writeString("Server", "Interface", "10.0.0.2");
    doc.writeString("Channels", "Selected", "Main");
    // Line endings follow the file; a new key goes before the blank line that ends its
    // section, a new section at the end after one blank line.
    EXPECT_EQ(doc.toBytes(), QByteArray("; admin notes\r\n"
                                        "[Server]\r\n"
                                        "port=6000\r\n"
                                        "; keep me\r\n"
                                        "Custom = kept \r\n"
                                        "Interface=10.0.0.2\r\n"
                                        "\r\n"
                                        "[User]\r\n"
                                        "Name=ann\r\n"
                                        "\r\n"
                                        "[Channels]\r\n"
                                        "Selected=Main\r\n"));
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
    EXPECT_EQ(reread.toBytes().count('\n'), 3);
}

TEST(IniDocumentTest, EraseRemovesEveryCopyOfTheSection)
{
    IniDocument doc = IniDocument::parse("[Channels]\nChannel0=a\n[User]\nName=n\n"
                                         "[CHANNELS]\nChannel0=stale\nChannel1=stale\n");
    doc.eraseSection("channels");
    EXPECT_FALSE(doc.valueExists("Channels", "Channel0"));
    doc.writeString("Channels", "Channel0", "b");
    EXPECT_EQ(doc.toBytes(), QByteArray("[User]\nName=n\n\n[Channels]\nChannel0=b\n"));
    doc.eraseSection("Absent");
    EXPECT_EQ(doc.readString("User", "Name", {}), QByteArray("n"));
}

TEST(IniDocumentTest, ToleratesMalformedText)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 131 + 7) % 256);
    const QByteArray inputs[] = {
        garbage,
        "no sections here\nPort=1\n",
        "[unclosed\nk=v\n[]\n=novalue\n[S]\nk\n;k=comment\n",
        "[S]\nk=" + QByteArray(3 * 1024 * 1024, 'x') + "\n" + QByteArray(2 * 1024 * 1024, '['),
        QByteArray("\r\r\n\n\0\0[S]\0=\n", 12),
        "[S]\nk=v\r\r\n\r\n", // stray carriage returns in a file with bare line feeds
    };
    for (const QByteArray &input : inputs) {
        const IniDocument doc = IniDocument::parse(input);
        const QByteArray once = doc.toBytes();
        EXPECT_EQ(IniDocument::parse(once).toBytes(), once);
    }
    const IniDocument noSections = IniDocument::parse(inputs[1]);
    EXPECT_EQ(noSections.readString("", "Port", "dflt"), QByteArray("dflt"));
    const IniDocument odd = IniDocument::parse(inputs[2]);
    EXPECT_EQ(odd.readString("unclosed", "k", {}), QByteArray("v"));
    EXPECT_EQ(odd.keyNames("S"), QList<QByteArray>());
    EXPECT_EQ(IniDocument::parse(inputs[3]).readString("S", "k", {}).size(), 2047);
}

} // namespace
