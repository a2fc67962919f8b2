#include "ui/chat/ChatForm.h"

#include "ChatTestSupport.h"
#include "app/CodeCript.h"
#include "ui/WindowLook.h"
#include "ui/chat/ChatLook.h"
#include "ui/chat/RtfWriter.h"
#include "ui/components/ImageBt.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace ChatLook;

namespace {

bool waitFor(const std::function<bool()> &condition)
{
    return QTest::qWaitFor(condition, 10000);
}

QColor rgb(quint32 bbggrr)
{
    return WindowLook::color(bbggrr);
}

QString displayName()
{
    return WindowLook::text(CodeCript::Decode(CodeCript::DisplayName));
}

// Runs action once the next modal window (a dialog or message box) has opened; the watch
// ends with its owner, so that a modal window that never comes leaves nothing behind.
void whenModalOpens(QObject &owner, std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(&owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        timer->stop();
        action(modal);
    });
    timer->start();
}

class ChatFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host.main));
        chat.OpenBeside(host.main);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chat));
    }

    QStringList blocks() const
    {
        QStringList out;
        const QTextDocument *doc = chat.Memo()->document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            out.append(b.text());
        return out;
    }

    void type(const QString &text)
    {
        chat.SendEdit()->clear();
        QTest::keyClicks(chat.SendEdit(), text);
    }

    // The main window's place for a chat window at its present geometry.
    QPoint attachedMainPos() const
    {
        const QRect f = chat.frameGeometry();
        return QPoint(f.x() + f.width() + kMainGap, f.y());
    }

    StandInHost host;
    TChatForm chat{host};
};

// ---- transcript entries ----

struct EntryCase
{
    const char *what;
    QByteArray name;
    QByteArray text;
    bool outgoing;
    QStringList blocks;
};

TEST_F(ChatFormTest, EntryLayoutAndLineBreakRule)
{
    const EntryCase cases[] = {
        {"received", "Alice", "hi", false, {"Alice> hi", ""}},
        {"sent", "Bob", "hi", true, {"Bob< hi", ""}},
        {"CR LF inside", "N", "a\r\nb", false, {"N> a", "b", ""}},
        {"LF and CR alone", "N", "a\nb\rc", false, {"N> a", "b", "c", ""}},
        {"ending in a break leaves one empty line", "N", "a\r\n", false, {"N> a", "", ""}},
        {"no name, no mark", "", "text", false, {"text", ""}},
        {"leading blanks kept", "N", "  x", false, {"N>   x", ""}},
        {"markup stays text",
         "<i>N</i>",
         "<b>x</b> <img src=file:///etc/passwd>",
         false,
         {"<i>N</i>> <b>x</b> <img src=file:///etc/passwd>", ""}},
    };
    for (const EntryCase &c : cases) {
        chat.CleartextBtClick();
        chat.AddMessage(c.name, c.text, 0x000000FF, 0x00FF0000, c.outgoing);
        EXPECT_EQ(blocks(), c.blocks) << c.what;
    }
}

TEST_F(ChatFormTest, NameAndMarkBoldInNameColourTextRegularInTextColour)
{
    chat.AddMessage("Alice", "one\r\ntwo", 0x000000FF, 0x00000000, false);
    chat.AddMessage("Bob", "three", 0x00808080, 0x00800000, true);
    struct Run
    {
        QString text;
        QColor color;
        bool bold;
    };
    QList<Run> runs;
    for (QTextBlock b = chat.Memo()->document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            EXPECT_FALSE(f.isImageFormat());
            runs.append(
                {it.fragment().text(), f.foreground().color(), f.fontWeight() >= QFont::DemiBold});
        }
    }
    ASSERT_EQ(runs.size(), 5);
    const Run want[] = {{"Alice> ", rgb(0x000000FF), true},
                        {"one", rgb(0), false},
                        {"two", rgb(0), false},
                        {"Bob< ", rgb(0x00808080), true},
                        {"three", rgb(0x00800000), false}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(runs[i].text, want[i].text);
        EXPECT_EQ(runs[i].color, want[i].color) << want[i].text.toStdString();
        EXPECT_EQ(runs[i].bold, want[i].bold) << want[i].text.toStdString();
    }
}

TEST_F(ChatFormTest, EntryGoesToTheEndWhateverTheSelection)
{
    chat.AddMessage("A", "first", 0, 0, false);
    QTextCursor start = chat.Memo()->textCursor();
    start.setPosition(0);
    start.setPosition(3, QTextCursor::KeepAnchor);
    chat.Memo()->setTextCursor(start);
    chat.AddMessage("B", "second", 0, 0, false);
    EXPECT_EQ(blocks(), QStringList({"A> first", "B> second", ""}));
    EXPECT_FALSE(chat.Memo()->textCursor().hasSelection());

    // The newest entry is scrolled into view, even after the user scrolled up.
    for (int i = 0; i < 50; ++i)
        chat.AddMessage("C", "more", 0, 0, false);
    QScrollBar *bar = chat.Memo()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    chat.AddMessage("D", "newest", 0, 0, false);
    EXPECT_GT(bar->value(), 0);
    EXPECT_TRUE(chat.Memo()->viewport()->rect().contains(chat.Memo()->cursorRect()));
}

// ---- composing and sending ----

struct KeyCase
{
    const char *what;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool sends;
};

TEST_F(ChatFormTest, EnterWithAnyModifierSendsAndEscapeClears)
{
    const KeyCase cases[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier, true},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, true},
        {"Shift+Return", Qt::Key_Return, Qt::ShiftModifier, true},
        {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier, true},
        {"Alt+Return", Qt::Key_Return, Qt::AltModifier, true},
        {"Escape", Qt::Key_Escape, Qt::NoModifier, false},
    };
    for (const KeyCase &c : cases) {
        host.lines.clear();
        type(QStringLiteral("hello"));
        QTest::keyClick(chat.SendEdit(), c.key, c.modifiers);
        if (c.sends) {
            EXPECT_EQ(host.lines, QList<QByteArray>({"hello"})) << c.what;
        } else {
            EXPECT_TRUE(host.lines.isEmpty()) << c.what;
            EXPECT_TRUE(chat.SendEdit()->text().isEmpty()) << c.what;
        }
    }
}

TEST_F(ChatFormTest, DisabledSendButtonKeepsTheLine)
{
    chat.SetSendEnabled(false);
    EXPECT_FALSE(chat.SendEnabled());
    type(QStringLiteral("wait"));
    QTest::keyClick(chat.SendEdit(), Qt::Key_Return);
    chat.SendBtClick();
    EXPECT_TRUE(host.lines.isEmpty());
    EXPECT_EQ(chat.SendEdit()->text(), QStringLiteral("wait"));

    chat.SetSendEnabled(true);
    QTest::mouseClick(chat.SendBt(), Qt::LeftButton);
    EXPECT_EQ(host.lines, QList<QByteArray>({"wait"}));
}

struct ComposeCase
{
    const char *what;
    QString typed;
    std::optional<QByteArray> line;
};

TEST_F(ChatFormTest, ComposedLineRules)
{
    const QString thousand(1000, u'x');
    const ComposeCase cases[] = {
        {"trailing blanks dropped, leading kept", QStringLiteral("  hi  "), "  hi"},
        {"trailing tab dropped", QStringLiteral("hi\t"), "hi"},
        {"blank line sends nothing", QStringLiteral("    "), std::nullopt},
        {"bar starts a new line", QStringLiteral("one|two"), "one\r\ntwo"},
        {"bar at the end", QStringLiteral("one|"), "one\r\n"},
        {"code page text", QStringLiteral(u"caf\u00e9 \u20ac"), "caf\xe9 \x80"},
        {"1000 characters", thousand + QStringLiteral("yz"), thousand.toLatin1()},
        {"limit before the bars", QString(999, u'x') + u'|', QByteArray(999, 'x') + "\r\n"},
    };
    for (const ComposeCase &c : cases) {
        host.lines.clear();
        chat.SendEdit()->setText(c.typed);
        chat.SendBtClick();
        if (c.line) {
            ASSERT_EQ(host.lines.size(), 1) << c.what;
            EXPECT_EQ(host.lines.front(), *c.line) << c.what;
        } else {
            EXPECT_TRUE(host.lines.isEmpty()) << c.what;
            EXPECT_TRUE(chat.SendEdit()->text().isEmpty()) << c.what;
        }
    }
}

// ---- title ----

TEST_F(ChatFormTest, TitleGoesToLabelHintAndCaption)
{
    struct Case
    {
        QList<QByteArray> names;
        QString text;
        quint32 color;
    };
    const Case cases[] = {
        {{"<b>Al</b>", "B[*]b"}, QStringLiteral("<b>Al</b>, B[*]b"), WindowLook::kNavy},
        {{}, displayName(), WindowLook::kGray},
    };
    for (const Case &c : cases) {
        chat.SetTitle(c.names);
        EXPECT_EQ(chat.CaptionLabel()->text(), c.text);
        EXPECT_EQ(chat.windowHandle()->title(), c.text);
        EXPECT_EQ(chat.CaptionLabel()->palette().color(QPalette::WindowText), rgb(c.color));
        EXPECT_EQ(chat.CaptionLabel()->textFormat(), Qt::PlainText);
        // The hint is the text as it is; the program's tip style shows it as plain text.
        EXPECT_EQ(chat.CaptionLabel()->toolTip(), c.text);
    }
}

// ---- menu and tools ----

TEST_F(ChatFormTest, MenuEnablingRules)
{
    const auto state = [this] {
        chat.UtilsPopupPopup();
        return std::tuple(chat.CopytoclipBt()->isEnabled(), chat.CleartextBt()->isEnabled(),
                          chat.SavetofileBt()->isEnabled());
    };
    EXPECT_EQ(state(), std::tuple(false, false, false)) << "empty";
    chat.AddMessage("A", "text", 0, 0, false);
    EXPECT_EQ(state(), std::tuple(false, true, true)) << "text, no selection";
    chat.Memo()->selectAll();
    EXPECT_EQ(state(), std::tuple(true, true, true)) << "selection";
    chat.CleartextBtClick();
    EXPECT_TRUE(chat.Memo()->document()->isEmpty());
    EXPECT_EQ(state(), std::tuple(false, false, false)) << "cleared";
}

TEST_F(ChatFormTest, CopyKeepsTheFormatting)
{
    chat.AddMessage("Alice", "<b>hi</b>", 0x000000FF, 0, false);
    chat.Memo()->selectAll();
    chat.CopytoclipBtClick();
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text().trimmed(), QStringLiteral("Alice> <b>hi</b>"));
    ASSERT_TRUE(data->hasHtml());
    QTextDocument pasted;
    pasted.setHtml(data->html());
    EXPECT_EQ(pasted.toPlainText().trimmed(), QStringLiteral("Alice> <b>hi</b>"));
    const QTextCharFormat name = pasted.begin().begin().fragment().charFormat();
    EXPECT_EQ(name.foreground().color(), QColor(Qt::red));
    EXPECT_GE(name.fontWeight(), QFont::DemiBold);
    EXPECT_TRUE(data->data(QStringLiteral("text/rtf")).contains("\\b Alice> "));
}

TEST_F(ChatFormTest, SaveWritesTheTranscriptAndReplacesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chat.rtf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    chat.AddMessage("Alice", "hello", 0x000000FF, 0, false);
    ASSERT_TRUE(chat.SaveTranscript(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), RtfWriter::write(*chat.Memo()->document()));
}

TEST_F(ChatFormTest, FailedSaveIsReportedAndLeavesTheTranscript)
{
    QTemporaryDir dir;
    chat.AddMessage("Alice", "hello", 0x000000FF, 0, false);
    const QString before = chat.Memo()->toHtml();
    QString reported;
    QObject watch;
    whenModalOpens(watch, [&reported](QWidget *modal) {
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            reported = box->text();
        modal->close();
    });
    const QString path = dir.filePath(QStringLiteral("missing/folder/chat.rtf"));
    EXPECT_FALSE(chat.SaveTranscript(path));
    EXPECT_TRUE(reported.contains(path)) << reported.toStdString();
    EXPECT_EQ(chat.Memo()->toHtml(), before);
    EXPECT_TRUE(chat.isVisible());
}

TEST_F(ChatFormTest, SaveDialogProposesTheTitleAndAddsTheExtension)
{
    QTemporaryDir dir;
    chat.SetTitle({"Alice", "Bob"});
    chat.AddMessage("Alice", "hello", 0x000000FF, 0, false);
    QString proposed;
    QObject watch;
    whenModalOpens(watch, [&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        auto *model = dialog->findChild<QFileSystemModel *>();
        if (!name || !model) {
            modal->close();
            return;
        }
        proposed = name->text();
        // The dialog puts its proposal back once a folder has been read; type after that.
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        dialog->setDirectory(dir.path());
        waitFor([&] {
            return std::any_of(loaded.begin(), loaded.end(), [&](const QList<QVariant> &args) {
                return QDir(args.at(0).toString()) == QDir(dir.path());
            });
        });
        name->clear();
        QTest::keyClicks(name, QStringLiteral("notes"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    chat.SavetofileBtClick();
    EXPECT_EQ(proposed, QStringLiteral("Alice, Bob"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("notes.rtf"))));
}

// ---- frame ----

TEST_F(ChatFormTest, OpensBesideTheMainWindowAtTheOpeningSize)
{
    EXPECT_EQ(chat.size(), QSize(kOpenWidth, kOpenHeight));
    EXPECT_EQ(chat.minimumSize(), QSize(kOpenWidth, kOpenHeight));
    EXPECT_EQ(chat.frameGeometry().topLeft(),
              QPoint(host.main.x() - kOpenWidth - kMainGap, host.main.y()));
    EXPECT_GE(host.taskbarHidden, 1);
    EXPECT_TRUE(chat.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(chat.windowType(), Qt::Window);

    // Already visible: nothing changes.
    chat.resize(400, 300);
    ASSERT_TRUE(waitFor([&] { return chat.size() == QSize(400, 300); }));
    chat.OpenBeside(host.main);
    EXPECT_EQ(chat.size(), QSize(400, 300));
}

TEST_F(ChatFormTest, HideAndReopenResetsTheSizeAndKeepsTranscriptAndLine)
{
    chat.AddMessage("Alice", "kept", 0, 0, false);
    chat.SendEdit()->setText(QStringLiteral("unsent"));
    chat.resize(400, 300);
    ASSERT_TRUE(waitFor([&] { return chat.size() == QSize(400, 300); }));
    QTest::mouseClick(chat.CloseBt(), Qt::LeftButton);
    EXPECT_FALSE(chat.isVisible());
    host.main.move(700, 320);
    chat.OpenBeside(host.main);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&chat));
    EXPECT_EQ(chat.size(), QSize(kOpenWidth, kOpenHeight));
    EXPECT_EQ(chat.pos(), QPoint(700 - kOpenWidth - kMainGap, 320));
    EXPECT_EQ(blocks(), QStringList({"Alice> kept", ""}));
    EXPECT_EQ(chat.SendEdit()->text(), QStringLiteral("unsent"));
}

TEST_F(ChatFormTest, ClosingNeverEndsTheProgram)
{
    // The main window is a tool window, which does not count as a window that keeps the
    // program running; closing the chat window must not end it all the same. A quit would
    // be handled before the exit posted after it, and make the loop return 0.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, &chat, [this] {
        chat.close();
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(42); }, Qt::QueuedConnection);
    });
    EXPECT_EQ(QCoreApplication::exec(), 42);
    EXPECT_FALSE(chat.isVisible());
    EXPECT_EQ(lastClosed.count(), 0);
}

TEST_F(ChatFormTest, MinimizeButtonMinimizes)
{
    QTest::mouseClick(chat.MinimizeBt(), Qt::LeftButton);
    EXPECT_TRUE(waitFor([&] { return chat.isMinimized(); }));
}

TEST_F(ChatFormTest, MainWindowFollowsMovesOfTheChatWindow)
{
    chat.move(100, 150);
    EXPECT_TRUE(waitFor([&] { return host.main.pos() == attachedMainPos(); }))
        << host.main.x() << "," << host.main.y();
    EXPECT_EQ(host.main.pos(), QPoint(100 + kOpenWidth + kMainGap, 150));

    // Moving the main window leaves the chat window where it is.
    host.main.move(900, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(chat.pos(), QPoint(100, 150));
}

TEST_F(ChatFormTest, DraggingByTopBarOrTitleMovesBothWindows)
{
    QWidget *const handles[] = {chat.TopPanel(), chat.CaptionLabel()};
    for (QWidget *handle : handles) {
        const QPoint start = chat.pos();
        const QPoint grip(30, 5);
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(-40, 25));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(-40, 25));
        EXPECT_TRUE(waitFor([&] { return chat.pos() == start + QPoint(-40, 25); }))
            << handle->objectName().toStdString();
        EXPECT_TRUE(waitFor([&] { return host.main.pos() == attachedMainPos(); }));
    }

    // Only the left button drags.
    const QPoint start = chat.pos();
    QTest::mousePress(chat.TopPanel(), Qt::RightButton, {}, QPoint(30, 5));
    QTest::mouseMove(chat.TopPanel(), QPoint(60, 40));
    QTest::mouseRelease(chat.TopPanel(), Qt::RightButton, {}, QPoint(60, 40));
    QCoreApplication::processEvents();
    EXPECT_EQ(chat.pos(), start);
}

TEST_F(ChatFormTest, GripResizesWithAnyButtonAndNeverBelowTheMinimum)
{
    const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    for (const Qt::MouseButton button : buttons) {
        QLabel *grip = chat.ResizeImage();
        const QPoint topLeft = chat.pos();
        QTest::mousePress(grip, button, {}, QPoint(5, 10));
        EXPECT_TRUE(chat.Resizing());
        // Outwards: the bottom-right corner goes to the pointer.
        const QPoint far = topLeft + QPoint(380, 260);
        QTest::mouseMove(grip, grip->mapFromGlobal(far));
        EXPECT_TRUE(waitFor([&] { return chat.size() == QSize(380, 260); }))
            << chat.width() << "x" << chat.height();
        EXPECT_TRUE(waitFor([&] { return host.main.pos() == attachedMainPos(); }));
        EXPECT_EQ(host.main.x(), topLeft.x() + 380 + kMainGap);
        // Towards the top-left: stops at the opening size.
        QTest::mouseMove(grip, grip->mapFromGlobal(topLeft + QPoint(20, 20)));
        EXPECT_TRUE(waitFor([&] { return chat.size() == QSize(kOpenWidth, kOpenHeight); }));
        QTest::mouseRelease(grip, button, {}, grip->mapFromGlobal(topLeft + QPoint(20, 20)));
        EXPECT_FALSE(chat.Resizing());
        EXPECT_EQ(chat.pos(), topLeft);
    }
}

TEST_F(ChatFormTest, ControlsKeepTheirAnchorsWhenResized)
{
    chat.resize(400, 300);
    ASSERT_TRUE(waitFor([&] { return chat.size() == QSize(400, 300); }));
    EXPECT_EQ(chat.CloseBt()->geometry(), QRect(400 - kCloseFromRight, 3, 16, 16));
    EXPECT_EQ(chat.MinimizeBt()->geometry(), QRect(400 - kMinimizeFromRight, 3, 16, 16));
    EXPECT_EQ(chat.BottomPanel()->geometry(), QRect(0, 300 - 25, 400, 25));
    EXPECT_EQ(chat.SendEdit()->geometry(), QRect(2, 2, 207 + 150, 21));
    EXPECT_EQ(chat.SendBt()->geometry(), QRect(212 + 150, 2, 23, 22));
    EXPECT_EQ(chat.ResizeImage()->geometry(), QRect(390, 2, 10, 23));
    EXPECT_EQ(chat.Memo()->geometry(), QRect(0, 22, 400, 300 - 22 - 25));
}

TEST_F(ChatFormTest, ActivationPutsTheFocusOnTheComposingLine)
{
    chat.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chat));
    chat.Memo()->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    chat.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chat));
    EXPECT_EQ(QApplication::focusWidget(), chat.SendEdit());
}

TEST_F(ChatFormTest, OpeningFromWithinTheProgramActivatesTheWindow)
{
    chat.hide();
    host.main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host.main));
    chat.OpenBeside(host.main);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&chat));
    EXPECT_FALSE(chat.testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST_F(ChatFormTest, ContextMenuOpensWithTheEnablingRulesApplied)
{
    chat.AddMessage("Alice", "text", 0, 0, false);
    QWidget *viewport = chat.Memo()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            viewport->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(viewport, &event);
    ASSERT_TRUE(waitFor([&] { return chat.UtilsPopup()->isVisible(); }));
    EXPECT_FALSE(chat.CopytoclipBt()->isEnabled());
    EXPECT_TRUE(chat.CleartextBt()->isEnabled());
    EXPECT_TRUE(chat.SavetofileBt()->isEnabled());
    chat.UtilsPopup()->hide();
}

// ---- attention ----

TEST_F(ChatFormTest, AttentionRaisesAndFlashesWithoutTakingTheFocus)
{
    QWidget other;
    auto *field = new QLineEdit(&other);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    field->setFocus();
    int tones = 0;
    QList<QWidget *> flashed;
    chat.SetTonePlayer([&tones] {
        ++tones;
        return false; // no sound device: the bell instead
    });
    chat.SetFlasher([&flashed](QWidget &window) { flashed.append(&window); });
    chat.attention();
    QCoreApplication::processEvents();
    EXPECT_EQ(tones, 1);
    EXPECT_EQ(flashed, QList<QWidget *>({&chat}));
    EXPECT_EQ(QApplication::activeWindow(), &other);
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(ChatFormTest, AttentionWithoutSoundDeviceStillReturns)
{
    // The real tones: on a machine without a sound device this falls back to the bell.
    int flashes = 0;
    chat.SetFlasher([&flashes](QWidget &) { ++flashes; });
    chat.attention();
    EXPECT_EQ(flashes, 1);
}

} // namespace
