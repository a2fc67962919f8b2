// Renders the window and its menu to PNG files under the build folder, for a person to look
// at, and checks the colours the window is made of.
#include "ChatTestSupport.h"
#include "ui/WindowLook.h"
#include "ui/chat/ChatForm.h"
#include "ui/chat/ChatLook.h"

#include <QAction>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

TEST(ChatPicture, OpenedWindowShowsPanelsFieldsAndEntries)
{
    StandInHost host;
    host.main.show();
    TChatForm chat(host);
    chat.SetTitle({"Alice", "Bob"});
    chat.OpenBeside(host.main);
    chat.AddMessage("Alice", "Hello there\r\nhow are you?", 0x000000FF, 0, false);
    chat.AddMessage("Alice", "fine, thanks", 0x00808080, 0, true);
    chat.AddMessage("Bob", "<b>x</b> {\\rtf1 y}", 0x00800000, 0, false);
    chat.SendEdit()->setText(QStringLiteral("typing a line"));
    const QImage picture = chat.grab().toImage();
    ASSERT_TRUE(picture.save(
        testOutputPath(QGuiApplication::platformName() + QStringLiteral("-chat-window.png"))));
    ASSERT_EQ(picture.size(), QSize(ChatLook::kOpenWidth, ChatLook::kOpenHeight));

    const QColor panel = WindowLook::color(ChatLook::kWindowColor);
    const QColor field = WindowLook::color(ChatLook::kMemoColor);
    EXPECT_EQ(picture.pixelColor(100, 1), panel) << "top panel";
    EXPECT_EQ(picture.pixelColor(1, ChatLook::kOpenHeight - 1), panel) << "bottom panel";
    EXPECT_EQ(picture.pixelColor(240, 150), field) << "transcript";
    EXPECT_EQ(picture.pixelColor(150, ChatLook::kOpenHeight - 12), field) << "composing line";

    chat.SetSendEnabled(false);
    chat.SetTitle({});
    chat.resize(330, 220);
    ASSERT_TRUE(QTest::qWaitFor([&] { return chat.width() == 330; }));
    EXPECT_TRUE(chat.grab().save(
        testOutputPath(QGuiApplication::platformName() + QStringLiteral("-chat-window-wide.png"))));

    chat.UtilsPopupPopup();
    chat.UtilsPopup()->popup(chat.mapToGlobal(QPoint(20, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chat.UtilsPopup()));
    chat.UtilsPopup()->setActiveAction(chat.SavetofileBt());
    EXPECT_TRUE(chat.UtilsPopup()->grab().save(
        testOutputPath(QGuiApplication::platformName() + QStringLiteral("-chat-menu.png"))));
    chat.UtilsPopup()->hide();
}

} // namespace
