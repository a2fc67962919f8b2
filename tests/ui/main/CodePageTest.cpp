// Text the network's code page cannot carry never goes out as question marks: the composing
// line and the name field leave such characters out as they are typed, and say so.
#include "MainFormFixture.h"
#include "engine/Datagram.h"
#include "ui/HintStyle.h"
#include "ui/chat/ChatForm.h"
#include "ui/config/CodePageGuard.h"
#include "ui/config/ConfigForm.h"
#include "ui/main/MainLayout.h"
#include "ui/main/UserListView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

namespace {

class CodePageTest : public MainFormFixture
{
protected:
    // The chat window with ann selected, active, the keyboard in its composing line.
    TChatForm &chatWithAnn()
    {
        writeSettings();
        TMainForm &form = start();
        form.show();
        addPeer(1, "ann");
        form.Engine().users().selectOnly(0);
        form.showChatWindow();
        TChatForm &chat = form.ChatForm();
        chat.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&chat));
        return chat;
    }

    HintStyle m_hints{MainLayout::kHintColor, MainLayout::kHintHidePauseMs};
};

// Types text one character at a time, as key presses that carry it (Qt Test's own typing
// knows only Latin-1); a character outside the BMP comes as one key press.
void type(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
        const QString character = text.mid(i, length);
        i += length - 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

QLabel *noticeOf(QWidget &window)
{
    return window.findChild<QLabel *>(QStringLiteral("CodePageNotice"));
}

TEST_F(CodePageTest, TheComposingLineShowsWhatGoesOut)
{
    UdpProbe ann(peerAddr(1), m_port);
    TChatForm &chat = chatWithAnn();
    QLineEdit *line = chat.SendEdit();
    ASSERT_TRUE(line->hasFocus());

    type(line, QString::fromUtf8("Привет 😀 hi"));
    EXPECT_EQ(line->text(), QStringLiteral("  hi"));
    QLabel *notice = noticeOf(chat);
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains(QString::fromUtf8("Привет😀")))
        << notice->text().toStdString();
    EXPECT_TRUE(chat.rect().contains(notice->geometry())) << "inside the window";

    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    const auto sent = ann.next();
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->data.mid(7), "MSG|  hi|");
}

// Each "|" goes out as CR LF: the line takes no more than one datagram carries, instead of
// being cut on the way out behind the user's back.
TEST_F(CodePageTest, TheComposingLineTakesNoMoreThanOneMessageCarries)
{
    UdpProbe ann(peerAddr(1), m_port);
    TChatForm &chat = chatWithAnn();
    QLineEdit *line = chat.SendEdit();
    type(line, QString(500, QLatin1Char('|')));
    type(line, QStringLiteral("abcdefghijklm"));
    EXPECT_EQ(line->text(), QString(500, QLatin1Char('|')) + QStringLiteral("abcdefghijkl"));
    ASSERT_NE(noticeOf(chat), nullptr);
    EXPECT_TRUE(noticeOf(chat)->isVisible());
    EXPECT_EQ(noticeOf(chat)->text(), CodePageGuard::TooLongNotice());

    QTest::keyClick(line, Qt::Key_Return);
    QCoreApplication::sendPostedEvents();
    const auto sent = ann.next();
    ASSERT_TRUE(sent.has_value());
    EXPECT_TRUE(sent->data.endsWith("\r\nabcdefghijkl|"));
    EXPECT_EQ(sent->data.size(), Datagram::kMaxSize);
}

TEST_F(CodePageTest, ControlCharactersAndUndefinedBytesFromPeersShowAsQuestionMarks)
{
    writeSettings();
    TMainForm &form = start();
    addPeer(1, QByteArray("a\x81"
                          "b"));
    form.Engine().handleDatagram("1A2B3C|" + Datagram::messageBody("x\x01y\x9dz"), peerAddr(1));
    EXPECT_EQ(form.UserList()->model()->index(0, 0).data().toString(), QStringLiteral("a?b"));
    EXPECT_EQ(form.ChatForm().Memo()->toPlainText(), QStringLiteral("a?b> x?y?z\n"));
}

TEST_F(CodePageTest, TheNameFieldKeepsOnlyANameThatCanGoOut)
{
    writeSettings();
    TMainForm &form = start();
    TConfigForm config(form.Engine(), form);
    config.show();
    config.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&config));
    QLineEdit *name = config.UserEdit();
    name->selectAll();
    type(name, QString::fromUtf8("Иван Ivan"));
    EXPECT_EQ(name->text(), QStringLiteral(" Ivan"));
    ASSERT_NE(noticeOf(config), nullptr);
    EXPECT_TRUE(noticeOf(config)->isVisible());
    config.close();
    EXPECT_EQ(form.Engine().Settings().UserName, "Ivan");
}

} // namespace
