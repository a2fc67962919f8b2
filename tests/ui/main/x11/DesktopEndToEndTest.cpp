// Two desktop copies and a terminal copy on a LAN of network namespaces, each desktop on an
// X server of its own (Xvfb with trayer as notification area). The test drives one desktop
// copy as a user would, with xdotool, checks what the terminal peer received and what the
// transcript shows of its answer, and keeps screenshots of every window in the build folder.
#include "../DesktopHome.h"
#include "common/DesktopStack.h"
#include "common/Netns.h"
#include "common/TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QStringList kTools = {"Xvfb", "trayer", "xdotool", "xwd", "xclip"};

QString binary(const char *relative)
{
    return qEnvironmentVariable("TOLVEX_BINARY_DIR") + QLatin1Char('/') +
           QString::fromLatin1(relative);
}

QString shotFolder()
{
    const QString folder =
        qEnvironmentVariable("TOLVEX_BINARY_DIR") + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    return folder;
}

template <typename F>
bool waitFor(F condition, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

// A program that runs until the object goes.
class Running
{
public:
    Running() = default;
    Running(const Running &) = delete;
    Running &operator=(const Running &) = delete;
    ~Running() { stop(); }
    QProcess &process() { return m_process; }
    bool start(const QString &program, const QStringList &args, const QProcessEnvironment &env)
    {
        m_process.setProcessEnvironment(env);
        m_process.start(program, args);
        return m_process.waitForStarted(5000);
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    /// Everything the program printed so far.
    QByteArray output()
    {
        // Without a running event loop the pipe is read only while waiting for it.
        m_process.waitForReadyRead(20);
        m_output += m_process.readAllStandardOutput();
        return m_output;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

// One X server (no window manager) with a notification area.
class Display
{
public:
    Display() : m_stack(bareOptions()) {}
    bool start()
    {
        if (!m_stack.start())
            return false;
        m_tray.start(QStringLiteral("trayer"),
                     QStringLiteral("--edge bottom --align right --widthtype pixel --width 120 "
                                    "--height 24")
                         .split(QLatin1Char(' ')),
                     environment());
        return true;
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = m_stack.environment();
        // The program's own defaults: without a session bus the tray speaks X to trayer.
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        return env;
    }
    /// Runs an X tool on this display and returns its standard output.
    QByteArray tool(const QString &program, const QStringList &args, int timeoutMs = 20000) const
    {
        return m_stack.run(program, args, timeoutMs);
    }
    void xdotool(const QString &args) const { m_stack.xdotool(args.split(QLatin1Char(' '))); }
    void type(const QString &text) const { m_stack.type(text); }
    /// Whether a visible window's name matches now.
    bool visible(const QString &namePattern) const
    {
        return !m_stack.windows(namePattern).isEmpty();
    }
    /// Opens a menu with a click or key and waits until it is up (it takes the keyboard
    /// then), or waits until a closed one is gone.
    bool menuUp(const QString &name) const
    {
        return !window(QLatin1Char('^') + name + QLatin1Char('$')).isEmpty();
    }
    bool menuGone(const QString &name) const
    {
        return waitFor([&] { return !visible(QLatin1Char('^') + name + QLatin1Char('$')); });
    }
    /// The first visible window whose name matches, or empty.
    QByteArray window(const QString &namePattern, int timeoutMs = 15000) const
    {
        const desktop::WId id = m_stack.waitForWindow(namePattern, timeoutMs);
        return id ? QByteArray::number(id) : QByteArray();
    }
    QRect geometry(const QByteArray &window) const { return m_stack.geometry(window.toUInt()); }
    /// The whole screen.
    QImage screenshot() const { return m_stack.screenshot(); }

private:
    static desktop::DesktopStack::Options bareOptions()
    {
        desktop::DesktopStack::Options bare;
        bare.windowManager = bare.panel = bare.accessibility = false;
        return bare;
    }

    desktop::DesktopStack m_stack;
    Running m_tray;
};

void saveShot(const QImage &screen, const QRect &area, const QString &name)
{
    screen.copy(area).save(shotFolder() + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QProcessEnvironment hostEnvironment(QProcessEnvironment env, const QString &home)
{
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool near(const QColor &c, int r, int g, int b, int tolerance = 6)
{
    return qAbs(c.red() - r) <= tolerance && qAbs(c.green() - g) <= tolerance &&
           qAbs(c.blue() - b) <= tolerance;
}

} // namespace

TEST(DesktopEndToEndTest, ChatsWithATerminalPeerAndShowsEveryWindow)
{
    TOLVEX_REQUIRE_NETNS();
    for (const QString &tool : kTools) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            if (testenv::x11Required())
                FAIL() << tool.toStdString() << " is missing";
            GTEST_SKIP() << tool.toStdString() << " is missing";
        }
    }
    testnet::NetLab lab;
    lab.addLan("e2e");
    const QList<QByteArray> hosts = {"ann", "bea", "cid"};
    for (int i = 0; i < hosts.size(); ++i) {
        lab.addHost(hosts[i]);
        lab.attach(hosts[i], "e2e", "eth0", "10.74.1." + QByteArray::number(i + 1) + "/24");
    }
    QTemporaryDir homes;
    for (int i = 0; i < hosts.size(); ++i)
        writeDesktopSettings(homes.filePath(QString::fromLatin1(hosts[i])), hosts[i],
                             "10.74.1." + QByteArray::number(i + 1));
    const auto home = [&](const QByteArray &host) {
        return homes.filePath(QString::fromLatin1(host));
    };
    const auto inHost = [&](const QByteArray &host, const QString &program) {
        return QStringList{QStringLiteral("netns"), QStringLiteral("exec"),
                           QString::fromLatin1(lab.nsName(host)), program};
    };

    Display screenA, screenB;
    ASSERT_TRUE(screenA.start());
    ASSERT_TRUE(screenB.start());
    Running ann, bea, cid;
    ASSERT_TRUE(ann.start(QStringLiteral("ip"), inHost("ann", binary("src/tolvex")),
                          hostEnvironment(screenA.environment(), home("ann"))));
    ASSERT_TRUE(bea.start(QStringLiteral("ip"), inHost("bea", binary("src/tolvex")),
                          hostEnvironment(screenB.environment(), home("bea"))));
    ASSERT_TRUE(cid.start(QStringLiteral("ip"), inHost("cid", binary("src/cli/tolvex-cli")),
                          hostEnvironment(QProcessEnvironment::systemEnvironment(), home("cid"))));

    // Everybody meets within a few seconds of the first tick.
    ASSERT_TRUE(waitFor([&] {
        const QByteArray out = cid.output();
        return out.contains("joined: ann") && out.contains("joined: bea");
    })) << cid.output().constData()
        << cid.process().readAllStandardError().constData()
        << ann.process().readAllStandardError().constData();

    const QByteArray mainA = screenA.window(QStringLiteral("^Tolvex$"));
    ASSERT_FALSE(mainA.isEmpty());
    const QRect main = screenA.geometry(mainA);
    EXPECT_EQ(main.size(), QSize(130, 180));

    // Select cid (the last row) and open the chat window from the user menu, by keyboard.
    // A bare X server has no window manager to give the clicked window the keyboard.
    screenA.xdotool(
        QStringLiteral("mousemove %1 %2 click 1").arg(main.x() + 30).arg(main.y() + 12));
    screenA.xdotool(QStringLiteral("windowfocus --sync ") + QString::fromLatin1(mainA));
    // The click leaves the keyboard focus on the bottom panel; Shift+Tab goes back to the list.
    screenA.xdotool(QStringLiteral("key shift+Tab End"));
    screenA.xdotool(QStringLiteral("key shift+F10"));
    ASSERT_TRUE(screenA.menuUp(QStringLiteral("User menu")));
    screenA.xdotool(QStringLiteral("key Down Return"));
    const QByteArray chatA = screenA.window(QStringLiteral("^cid$"));
    if (chatA.isEmpty())
        saveShot(screenA.screenshot(), QRect(0, 0, 1024, 768), QStringLiteral("failed-chat"));
    ASSERT_FALSE(chatA.isEmpty()) << "the chat window did not open with cid selected";
    const QRect chat = screenA.geometry(chatA);
    EXPECT_EQ(chat.size(), QSize(250, 180));
    EXPECT_EQ(chat.top(), main.top());
    EXPECT_EQ(chat.right() + 1 + 5, main.left());

    // Type a line and press Enter: the keyboard follows the pointer on a bare X server.
    screenA.xdotool(
        QStringLiteral("mousemove %1 %2 click 1").arg(chat.x() + 60).arg(chat.bottom() - 12));
    screenA.xdotool(QStringLiteral("windowfocus --sync ") + QString::fromLatin1(chatA));
    screenA.type(QStringLiteral("hello cid, here is ann"));
    screenA.xdotool(QStringLiteral("key Return"));
    ASSERT_TRUE(waitFor([&] { return cid.output().contains("ann> hello cid, here is ann"); }))
        << cid.output().constData();

    // The peer answers twice; the answers are in the transcript.
    cid.process().write("hi ann, cid answers\n<b>not bold</b> {\\rtf1 literal}\n");
    cid.process().waitForBytesWritten(5000);
    const auto transcript = [&] {
        screenA.xdotool(
            QStringLiteral("mousemove %1 %2 click 1").arg(chat.x() + 120).arg(chat.y() + 60));
        screenA.xdotool(QStringLiteral("windowfocus --sync ") + QString::fromLatin1(chatA));
        screenA.xdotool(QStringLiteral("key ctrl+a ctrl+c"));
        return screenA.tool(
            QStringLiteral("xclip"),
            {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")},
            5000);
    };
    QByteArray text;
    ASSERT_TRUE(waitFor([&] {
        text = transcript();
        return text.contains("{\\rtf1 literal}");
    })) << text.constData();
    EXPECT_TRUE(text.contains("cid< hello cid, here is ann")) << text.constData();
    EXPECT_TRUE(text.contains("cid> hi ann, cid answers")) << text.constData();
    EXPECT_TRUE(text.contains("cid> <b>not bold</b> {\\rtf1 literal}")) << text.constData();

    // Screenshots and their key pixels, with the transcript's selection cleared: taken
    // again until the window shows what is checked (the repaint comes when it comes).
    screenA.xdotool(
        QStringLiteral("mousemove %1 %2 click 1").arg(chat.x() + 200).arg(chat.bottom() - 45));
    screenA.xdotool(QStringLiteral("mousemove 10 10"));
    QImage screen;
    const auto selectionShown = [&] {
        for (int y = chat.y() + 24; y < chat.y() + 70; y += 2)
            for (int x = chat.x() + 2; x < chat.x() + 240; x += 2)
                if (near(screen.pixelColor(x, y), 48, 140, 198, 30))
                    return true;
        return false;
    };
    const auto selectedRow = [&] {
        // cid's row (the second, after bea) is selected: white on blue.
        for (int y = main.y() + 3; y < main.y() + 60; ++y)
            if (near(screen.pixelColor(main.x() + 100, y), 128, 128, 255))
                return true;
        return false;
    };
    EXPECT_TRUE(waitFor([&] {
        screen = screenA.screenshot();
        return !screen.isNull() && !selectionShown() && selectedRow();
    }));
    ASSERT_FALSE(screen.isNull());
    saveShot(screen, main, QStringLiteral("main-window"));
    saveShot(screen, chat, QStringLiteral("chat-window"));
    saveShot(screen, chat.united(main).adjusted(-10, -10, 10, 34), QStringLiteral("desktop"));
    EXPECT_TRUE(near(screen.pixelColor(main.x() + 1, main.y() + 1), 233, 233, 233));
    EXPECT_TRUE(near(screen.pixelColor(main.x() + 10, main.y() + 140), 205, 209, 220));
    EXPECT_TRUE(near(screen.pixelColor(chat.x() + 200, chat.y() + 5), 233, 233, 233));

    // The skinned user menu.
    screenA.xdotool(
        QStringLiteral("mousemove %1 %2 click 3").arg(main.x() + 40).arg(main.y() + 100));
    ASSERT_TRUE(screenA.menuUp(QStringLiteral("User menu")));
    // The menu covers the list once it is drawn.
    EXPECT_TRUE(waitFor([&] {
        screen = screenA.screenshot();
        return !near(screen.pixelColor(main.x() + 100, main.y() + 112), 205, 209, 220, 2);
    }));
    saveShot(screen, QRect(main.x() + 30, main.y() + 90, 200, 110), QStringLiteral("user-menu"));
    screenA.xdotool(QStringLiteral("key Escape"));
    ASSERT_TRUE(screenA.menuGone(QStringLiteral("User menu")));

    // The configuration dialog and the about window, from the tray menu of the minimise
    // button.
    const QPoint minimise(main.x() + 102 + 12, main.y() + 156 + 2 + 9);
    const auto programMenu = [&](const QString &keys) {
        ASSERT_TRUE(screenA.menuGone(QStringLiteral("Program menu")));
        screenA.xdotool(
            QStringLiteral("mousemove %1 %2 click 3").arg(minimise.x()).arg(minimise.y()));
        ASSERT_TRUE(screenA.menuUp(QStringLiteral("Program menu")));
        screenA.xdotool(QStringLiteral("key ") + keys);
    };
    programMenu(QStringLiteral("Down Down Return"));
    const QByteArray configA = screenA.window(QStringLiteral("^Configuration$"));
    ASSERT_FALSE(configA.isEmpty());
    const QRect config = screenA.geometry(configA);
    EXPECT_EQ(config.size(), QSize(194, 372));
    screenA.xdotool(QStringLiteral("mousemove %1 %2").arg(config.x() + 5).arg(config.y() + 5));
    screenA.xdotool(QStringLiteral("windowfocus --sync ") + QString::fromLatin1(configA));
    EXPECT_TRUE(waitFor([&] {
        screen = screenA.screenshot();
        return near(screen.pixelColor(config.x() + 3, config.y() + 3), 233, 233, 233);
    }));
    saveShot(screen, config, QStringLiteral("configuration"));
    const qsizetype beforeConfig = cid.output().size();
    screenA.xdotool(QStringLiteral("key Escape"));
    // Closing the dialog took ann off line and on line again: cid sees it leave and return.
    ASSERT_TRUE(
        waitFor([&] { return screenA.window(QStringLiteral("^Configuration$"), 200).isEmpty(); }));
    EXPECT_TRUE(waitFor([&] {
        const QByteArray out = cid.output().mid(beforeConfig);
        return out.indexOf("left: ann") >= 0 &&
               out.indexOf("joined: ann") > out.indexOf("left: ann");
    })) << cid.output().mid(beforeConfig).constData();

    programMenu(QStringLiteral("Down Down Down Down Return"));
    const QByteArray aboutA = screenA.window(QStringLiteral("^About\\.\\.\\.$"));
    ASSERT_FALSE(aboutA.isEmpty());
    const QRect about = screenA.geometry(aboutA);
    EXPECT_EQ(about.size(), QSize(365, 200));
    screenA.xdotool(QStringLiteral("mousemove %1 %2").arg(about.x() + 200).arg(about.y() + 190));
    screenA.xdotool(QStringLiteral("windowfocus --sync ") + QString::fromLatin1(aboutA));
    EXPECT_TRUE(waitFor([&] {
        screen = screenA.screenshot();
        return near(screen.pixelColor(about.x() + 3, about.bottom() - 3), 235, 235, 235);
    }));
    saveShot(screen, about, QStringLiteral("about"));
    screenA.xdotool(QStringLiteral("key Escape"));
    ASSERT_TRUE(waitFor([&] { return !screenA.visible(QStringLiteral("^About\\.\\.\\.$")); }));

    // The tray icon is in trayer's notification area of both screens.
    saveShot(screenA.screenshot(), QRect(1024 - 130, 768 - 30, 130, 30), QStringLiteral("tray"));

    // Exit from the tray menu: ann's leave notice reaches cid.
    const qsizetype before = cid.output().size();
    programMenu(QStringLiteral("Down Down Down Return"));
    EXPECT_TRUE(ann.process().waitForFinished(10000));
    EXPECT_EQ(ann.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(ann.process().exitCode(), 0) << ann.process().readAllStandardError().constData();
    EXPECT_TRUE(waitFor([&] { return cid.output().mid(before).contains("left: ann"); }))
        << cid.output().mid(before).constData();
}
