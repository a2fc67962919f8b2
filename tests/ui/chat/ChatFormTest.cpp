#include "ui/chat/ChatForm.h"

#include "ChatTestSupport.h"
#include "ui/chat/ChatLook.h"

#include <QLabel>
#include <QLineEdit>
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
}

} // namespace
