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

TEST(Cp1252, ControlCharactersAndUndefinedBytesShowAsQuestionMarksButLineBreaksStay)
{
    EXPECT_EQ(Cp1252::toDisplay("a\x81"
                                "b\x9d\x01\t\x7f"
                                "c\r\nd\x80"),
              QString::fromUtf8("a?b????c\r\nd\u20ac"));
    EXPECT_EQ(Cp1252::toDisplay(QByteArray("x\0y", 3)), QStringLiteral("x?y"));
}

TEST(Cp1252, FindsAndLeavesOutWhatItCannotHold)
{
    const QString typed = QString::fromUtf8("Привет 😀 caf\u00e9 \u20ac? П");
    EXPECT_EQ(Cp1252::unheld(typed), QString::fromUtf8("Привет😀"));
    EXPECT_EQ(Cp1252::withoutUnheld(typed), QString::fromUtf8("  caf\u00e9 \u20ac? "));
    EXPECT_TRUE(Cp1252::unheld(QString::fromUtf8("\u0081 plain \u0178")).isEmpty());
    EXPECT_EQ(Cp1252::withoutUnheld(QString(QChar(0xD800)) + QLatin1Char('a')),
              QStringLiteral("a"));
}
