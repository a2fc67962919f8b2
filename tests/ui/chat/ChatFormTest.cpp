#include "ui/chat/ChatForm.h"

#include "ChatTestSupport.h"
#include "ui/chat/ChatLook.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

TEST(ChatFormLook, RendersTheOpenedWindow)
{
    StandInHost host;
    host.main.show();
    TChatForm chat(host);
    chat.SetTitle({"Alice", "Bob"});
    chat.OpenBeside(host.main);
    chat.AddMessage("Alice", "Hello there|how are you?", 0x000000FF, 0, false);
    chat.AddMessage("Alice", "fine\r\nthanks", 0x00808080, 0, true);
    chat.AddMessage("Bob", "<b>x</b> {\\rtf1 y}", 0x00800000, 0, false);
    chat.SendEdit()->setText(QStringLiteral("typing a line"));
    const QImage picture = chat.grab().toImage();
    ASSERT_TRUE(picture.save(testOutputPath(QStringLiteral("chat-window.png"))));
    EXPECT_EQ(picture.size(), QSize(ChatLook::kOpenWidth, ChatLook::kOpenHeight));

    chat.UtilsPopupPopup();
    chat.UtilsPopup()->popup(chat.mapToGlobal(QPoint(20, 40)));
    QTRY_VERIFY(chat.UtilsPopup()->isVisible());
    chat.UtilsPopup()->setActiveAction(chat.SavetofileBt());
    ASSERT_TRUE(chat.UtilsPopup()->grab().save(testOutputPath(QStringLiteral("chat-menu.png"))));
    chat.UtilsPopup()->hide();
    ASSERT_TRUE(chat.SaveTranscript(testOutputPath(QStringLiteral("chat.rtf"))));
}

} // namespace
