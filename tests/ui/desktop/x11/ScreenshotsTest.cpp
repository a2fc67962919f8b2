// Every window as a user sees it at one, one and a half and two pixels per point, saved under
// build/screenshots/ to be looked at; at two, the pictures must be drawn from their dense
// forms, not as 1x pixels doubled.
#include "DesktopSuite.h"
#include "ui/chat/ChatLook.h"

#include <QThread>

namespace {

// Whether the part is a picture of half its size with every pixel doubled: for one of the
// four alignments every 2x2 block is a single colour.
bool doubledPixels(const QImage &part)
{
    for (int oy = 0; oy < 2; ++oy)
        for (int ox = 0; ox < 2; ++ox) {
            bool doubled = true;
            for (int y = oy; doubled && y + 1 < part.height(); y += 2)
                for (int x = ox; doubled && x + 1 < part.width(); x += 2) {
                    const QRgb c = part.pixel(x, y);
                    doubled = part.pixel(x + 1, y) == c && part.pixel(x, y + 1) == c &&
                              part.pixel(x + 1, y + 1) == c;
                }
            if (doubled)
                return true;
        }
    return false;
}

} // namespace

class ScreenshotsTest : public DesktopSuite, public ::testing::WithParamInterface<qreal>
{
protected:
    // The same desktop in points at both scales.
    desktop::DesktopStack::Options options() const override
    {
        desktop::DesktopStack::Options o;
        o.screen = (QSizeF(1024, 768) * GetParam()).toSize();
        return o;
    }

    qreal scale() const { return GetParam(); }

    // Saves the window's area (with a margin for its frame) as name@<scale>x.
    void save(const QRect &area, const QString &name)
    {
        desktop::DesktopStack::saveShot(
            stack().screenshot(),
            area.adjusted(-2, -2, 2, 2).intersected(QRect(QPoint(), stack().screenSize())),
            name + QStringLiteral("@%1x").arg(scale()));
    }

    // The popup of that title, opened by a click that the caller made.
    WId popup(const QString &title)
    {
        const WId w = stack().waitForWindow(QLatin1Char('^') + title + QLatin1Char('$'), 5000);
        // Menus fade in or lay out after their mapping.
        QThread::msleep(300);
        return w;
    }

    // The program's icon in the panel's notification area.
    WId trayIcon()
    {
        WId icon = 0;
        desktop::waitUntil([&] {
            // Embedded in the panel at the notification area's icon size; its name is not
            // always set.
            const QRect screen(QPoint(), stack().screenSize());
            for (WId w : stack().windows(QStringLiteral(".*"), false)) {
                const QRect g = stack().geometry(w);
                if (g.size() == QSize(22, 22) && screen.contains(g))
                    icon = w;
            }
            return icon != 0;
        });
        return icon;
    }
};

TEST_P(ScreenshotsTest, EveryWindowIsSavedAndItsPicturesAreSharp)
{
    const qreal s = scale();
    CliCopy &bob = peer("bob");
    startDesktop({{QStringLiteral("QT_SCALE_FACTOR"), QString::number(s)}});
    ASSERT_TRUE(meets(bob));
    const WId main = mainWindow();
    ASSERT_NE(main, 0u);
    // The accessibility tree speaks in points.
    const QPoint bobRow = row(QStringLiteral("bob")) * s;
    ASSERT_FALSE(bobRow.isNull());
    save(stack().geometry(main), QStringLiteral("main-window"));

    stack().click(bobRow, 3);
    const WId userMenu = popup(QStringLiteral("User menu"));
    ASSERT_NE(userMenu, 0u);
    const QRect menuArea = stack().geometry(userMenu);
    save(menuArea, QStringLiteral("user-menu"));
    stack().key(QStringLiteral("Escape"));

    stack().click(bobRow, 1, 2);
    const WId chat = stack().waitForWindow(QStringLiteral("^bob$"));
    ASSERT_NE(chat, 0u);
    QThread::msleep(300);
    const QRect chatArea = stack().geometry(chat);
    save(chatArea, QStringLiteral("chat-window"));
    using namespace ChatLook;
    const QImage closePicture = stack().screenshot().copy(
        QRect(chatArea.topLeft() +
                  QPoint(qRound(chatArea.width() / s) - kCloseFromRight, kFrameButtonTop) * s,
              QSize(kFrameButtonSize, kFrameButtonSize) * s));

    const WId icon = trayIcon();
    ASSERT_NE(icon, 0u);
    stack().click(stack().geometry(icon).center(), 3);
    ASSERT_NE(popup(QStringLiteral("Program menu")), 0u);
    save(stack().geometry(popup(QStringLiteral("Program menu"))), QStringLiteral("tray-menu"));
    stack().key(QStringLiteral("Down Down Return"));
    const WId dialog = stack().waitForWindow(QStringLiteral("^Configuration$"));
    ASSERT_NE(dialog, 0u);
    QThread::msleep(300);
    save(stack().geometry(dialog), QStringLiteral("configuration-dialog"));
    stack().key(QStringLiteral("Escape"));
    ASSERT_TRUE(desktop::waitUntil(
        [&] { return stack().windows(QStringLiteral("^Configuration$")).isEmpty(); }));

    stack().click(stack().geometry(icon).center(), 3);
    ASSERT_NE(popup(QStringLiteral("Program menu")), 0u);
    stack().key(QStringLiteral("Down Down Down Down Return"));
    const WId about = stack().waitForWindow(QStringLiteral("^About\\.\\.\\.$"));
    ASSERT_NE(about, 0u);
    QThread::msleep(300);
    save(stack().geometry(about), QStringLiteral("about-window"));

    // At 1.5 every picture is scaled; doubled pixels tell only at 2.
    if (s == 2) {
        EXPECT_FALSE(doubledPixels(closePicture)) << "the chat window's close button";
    }
}

INSTANTIATE_TEST_SUITE_P(Scale, ScreenshotsTest, ::testing::Values(1.0, 1.5, 2.0));
