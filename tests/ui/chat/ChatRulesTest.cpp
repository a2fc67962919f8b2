#include "ui/chat/ChatRules.h"

#include "app/CodeCript.h"
#include "ui/WindowLook.h"

#include <gtest/gtest.h>

namespace {

QString displayName()
{
    return WindowLook::text(CodeCript::Decode(CodeCript::DisplayName));
}

TEST(ChatRules, TitleJoinsNamesInNavyOrShowsDisplayNameInGray)
{
    struct Case
    {
        QList<QByteArray> names;
        QString text;
        quint32 color;
    };
    const Case cases[] = {
        {{}, displayName(), WindowLook::kGray},
        {{""}, displayName(), WindowLook::kGray},
        {{"Alice"}, QStringLiteral("Alice"), WindowLook::kNavy},
        {{"Bob", "Alice", "Carol"}, QStringLiteral("Bob, Alice, Carol"), WindowLook::kNavy},
        {{"Ren\xe9"}, QStringLiteral(u"Ren\u00e9"), WindowLook::kNavy},
    };
    for (const Case &c : cases) {
        const ChatRules::Title title = ChatRules::ChatTitle(c.names);
        EXPECT_EQ(title.text, c.text);
        EXPECT_EQ(title.color, c.color) << c.text.toStdString();
    }
}

TEST(ChatRules, ProposedFileNameStaysInTheChosenFolder)
{
    struct Case
    {
        QString title;
        QString name;
    };
    const Case cases[] = {
        {QStringLiteral("Alice, Bob"), QStringLiteral("Alice, Bob")},
        {QStringLiteral("../../etc/passwd"), QStringLiteral("_.._etc_passwd.rtf")},
        {QStringLiteral("/tmp/x"), QStringLiteral("_tmp_x")},
        {QStringLiteral(".bashrc"), QStringLiteral("bashrc")},
        {QStringLiteral(" .. "), displayName()},
        {QStringLiteral(".."), displayName()},
        {QString::fromUtf16(u"a\0b\nc", 5), QStringLiteral("a_b_c")},
        {QStringLiteral("Dr. Who"), QStringLiteral("Dr. Who.rtf")},
        {QStringLiteral("log.RTF"), QStringLiteral("log.RTF")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChatRules::ProposedFileName(c.title), c.name) << c.title.toStdString();
}

TEST(ChatRules, ProposedFileNameFitsTheFileSystem)
{
    // Many selected users make a long title; the name must stay a valid file name.
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names.append(QStringLiteral(u"\u00c9l\u00e8ve %1").arg(i));
    const QString name = ChatRules::ProposedFileName(names.join(QStringLiteral(", ")));
    EXPECT_LE(name.toUtf8().size(), ChatRules::kMaxFileNameBytes);
    EXPECT_TRUE(name.startsWith(QStringLiteral(u"\u00c9l\u00e8ve 0, ")));
    // A character beyond the BMP is never cut in half.
    const QString emoji = ChatRules::ProposedFileName(
        QString(120, u'a') + QString(60, u'x').replace(u'x', QStringLiteral(u"\U0001F600")));
    EXPECT_LE(emoji.toUtf8().size(), ChatRules::kMaxFileNameBytes);
    EXPECT_FALSE(emoji.back().isHighSurrogate());
    EXPECT_EQ(emoji, QString::fromUtf8(emoji.toUtf8()));
}

} // namespace
