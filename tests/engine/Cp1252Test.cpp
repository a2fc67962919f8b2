#include "engine/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteRoundTripsThroughText)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1252::toUnicode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Cp1252::fromUnicode(text), all);
}

TEST(Cp1252, MapsTheWindowsRangeToItsCharacters)
{
    EXPECT_EQ(Cp1252::toUnicode("\x80"), QString(QChar(0x20AC)));
    EXPECT_EQ(Cp1252::toUnicode("\x9f"), QString(QChar(0x0178)));
    EXPECT_EQ(Cp1252::toUnicode("\x93hi\x94"), QString::fromUtf8("\u201chi\u201d"));
    EXPECT_EQ(Cp1252::toUnicode("caf\xe9"), QString::fromUtf8("caf\u00e9"));
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("\u20ac \u0152 \u2122")), "\x80 \x8c \x99");
}

TEST(Cp1252, CharactersItCannotHoldBecomeOneQuestionMarkEach)
{
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("a\u0410b")), "a?b");         // Cyrillic
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("\xF0\x9F\x98\x80!")), "?!"); // emoji pair
    EXPECT_EQ(Cp1252::fromUnicode(QString::fromUtf8("\u4e2d\u6587")), "??");
    // A lone surrogate is still one character the code page lacks.
    EXPECT_EQ(Cp1252::fromUnicode(QString(QChar(0xD800))), "?");
}

TEST(Cp1252, ZeroBytesAndEmptyTextSurvive)
{
    EXPECT_TRUE(Cp1252::toUnicode(QByteArray()).isEmpty());
    EXPECT_EQ(Cp1252::toUnicode(QByteArray("a\0b", 3)).size(), 3);
}
