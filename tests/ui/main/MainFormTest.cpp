// The main window under the offscreen platform, driven with Qt Test input.
#include "MainFormFixture.h"
#include "app/CodeCript.h"
#include "engine/Datagram.h"
#include "net/WSocket.h"
#include "platform/Autostart.h"
#include "platform/desktop/ScreenEdge.h"
#include "ui/HintStyle.h"
#include "ui/about/AboutForm.h"
#include "ui/chat/ChatForm.h"
#include "ui/components/RegionBt.h"
#include "ui/components/TrayVis.h"
#include "ui/config/ConfigForm.h"
#include "ui/main/MainLayout.h"
#include "ui/main/UserListView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

QPoint rowCentre(UserListView *list, int row)
{
    return list->visualRect(list->model()->index(row, 0)).center();
}

QByteArray displayName()
{
    return CodeCript::Decode(CodeCript::DisplayName);
}

} // namespace

class MainFormTest : public MainFormFixture
{};

TEST_F(MainFormTest, CtrlClickOnOneOfThreeSelectedRowsDeselectsAllAndDisablesSend)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    addPeer(1, "ann");
    addPeer(2, "bob");
    addPeer(3, "cid");
    UserListView *list = form.UserList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(list, 2));
    ASSERT_EQ(form.Engine().users().selectedRows(), (QList<int>{0, 1, 2}));
    EXPECT_TRUE(form.ChatForm().SendEnabled());
    EXPECT_EQ(form.ChatForm().CaptionLabel()->text(), QStringLiteral("ann, bob, cid"));

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(list, 1));
    EXPECT_TRUE(form.Engine().users().selectedRows().isEmpty());
    EXPECT_FALSE(form.ChatForm().SendEnabled());
    EXPECT_EQ(form.ChatForm().CaptionLabel()->text(), QString::fromLatin1(displayName()));

    // A plain click on another row selects it alone and enables sending again.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, 2));
    EXPECT_EQ(form.Engine().users().selectedRows(), QList<int>{2});
    EXPECT_TRUE(form.ChatForm().SendEnabled());
    EXPECT_EQ(form.ChatForm().CaptionLabel()->text(), QStringLiteral("cid"));
}

TEST_F(MainFormTest, DoubleClickOnEmptySpaceOpensTheChatWindowWithThePlaceholderTitle)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    addPeer(1, "ann");
    ASSERT_FALSE(form.ChatForm().isVisible());
    const QPoint below(20, form.UserList()->viewport()->height() - 5);
    QTest::mouseDClick(form.UserList()->viewport(), Qt::LeftButton, {}, below);
    EXPECT_TRUE(form.ChatForm().isVisible());
    EXPECT_EQ(form.ChatForm().CaptionLabel()->text(), QString::fromLatin1(displayName()));
    // Beside the main window, 5 pixels to its left, top edges aligned.
    EXPECT_EQ(form.ChatForm().geometry().top(), form.geometry().top());
    EXPECT_EQ(form.ChatForm().frameGeometry().right() + 1 + 5, form.frameGeometry().left());
}

TEST_F(MainFormTest, UserPopupEnablesChatAndIpOnlyWithASelection)
{
    writeSettings();
    TMainForm &form = start();
    addPeer(1, "ann");
    for (const bool selected : {false, true}) {
        if (selected)
            form.Engine().users().selectOnly(0);
        form.UserPopupPopup();
        EXPECT_EQ(form.OpenchatBt()->isEnabled(), selected);
        EXPECT_EQ(form.ShowIP()->isEnabled(), selected);
        EXPECT_TRUE(form.ReloadList()->isEnabled());
    }
    EXPECT_EQ(form.UserPopup()->defaultAction(), form.OpenchatBt());
    EXPECT_EQ(form.TrayPopup()->defaultAction(), form.RestoreBt());
    QStringList tray;
    for (QAction *a : form.TrayPopup()->actions())
        tray.append(a->text());
    EXPECT_EQ(tray, (QStringList{"Restore Tolvex", "Configuration...", "Exit", "About...",
                                 "More free products..."}));
}

TEST_F(MainFormTest, ShowUserIpNamesThePeerLiterallyInAPlainTextBox)
{
    writeSettings();
    TMainForm &form = start();
    addPeer(1, "<b>x</b>");
    form.Engine().users().selectOnly(0);
    form.ShowIPClick();
    ASSERT_EQ(m_boxes.size(), 1);
    EXPECT_EQ(m_boxes.first(), "User \"<b>x</b>\" has IP " + peerAddr(1));
    // The list shows the name as typed, never as markup.
    EXPECT_EQ(form.UserList()->model()->index(0, 0).data().toString(), QStringLiteral("<b>x</b>"));
}

TEST_F(MainFormTest, MessageBoxesShowNetworkTextAsPlainText)
{
    writeSettings();
    // Real boxes this time: only the dialogs are answered by the test.
    TMainForm::Seams seams;
    seams.engine = loopbackSeams();
    seams.runDialog = [](QWidget &dialog) { dialog.close(); };
    TMainForm form(m_settings, std::move(seams));
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        format = box->textFormat();
        box->accept();
    });
    form.messageBox(EngineWindows::Box::Information, "User \"<img src=x>\" has IP 10.0.0.7");
    EXPECT_EQ(shown, QStringLiteral("User \"<img src=x>\" has IP 10.0.0.7"));
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(MainFormTest, RestoreMovesTheWindowBackUnlessTheChatWindowIsOpen)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QPoint home = TMainForm::StartPosition(TaskbarTop(), screen->geometry().width());
    EXPECT_EQ(form.pos(), home);

    form.move(40, 40);
    form.RestoreBtClick();
    EXPECT_EQ(form.pos(), home);

    form.showChatWindow();
    form.move(60, 60);
    form.RestoreBtClick();
    EXPECT_EQ(form.pos(), QPoint(60, 60));
}

TEST_F(MainFormTest, StartPositionSitsAboveTheTaskbarNearTheRightEdge)
{
    EXPECT_EQ(TMainForm::StartPosition(1040, 1280), QPoint(1280 - 130 - 25, 1040 - 180 - 15));
}

TEST_F(MainFormTest, ConfigurationClosedUnchangedTakesTheProgramOffAndOnLine)
{
    writeSettings();
    TMainForm &form = start();
    form.Engine().OpenReceiver(true);
    addPeer(1, "ann");
    ASSERT_EQ(form.Engine().users().count(), 1);
    form.ConfigBtClick();
    EXPECT_EQ(m_dialogs, QStringList{"TConfigForm"});
    EXPECT_EQ(form.Engine().users().count(), 0);
    EXPECT_EQ(nextBroadcast(), "EXT");
    EXPECT_EQ(nextBroadcast(), "ACK|BCT|Sales|me|");
    EXPECT_EQ(form.Engine().WSocketRecv().State(), wsConnected);
    EXPECT_TRUE(form.Engine().AliveTimer().isActive());
    EXPECT_EQ(form.Engine().AliveTimer().interval(), MessagingEngine::kTickMs);
}

TEST_F(MainFormTest, ConfigurationIsDisabledByTheRestriction)
{
    writeSettings("[Restrictions]\nConfiguration=1\n");
    TMainForm &form = start();
    EXPECT_FALSE(form.ConfigBt()->isEnabled());
    EXPECT_TRUE(form.ExitBt()->isEnabled());
    EXPECT_TRUE(form.AboutBt()->isEnabled());
}

struct NameCase
{
    const char *typed;
    const char *stored; // nullptr: the default name
};

class ConfigNameTest : public MainFormFixture, public ::testing::WithParamInterface<NameCase>
{};

TEST_P(ConfigNameTest, ClosingStoresTheCleanedValues)
{
    writeSettings();
    TMainForm &form = start();
    form.Engine().OpenReceiver(false);
    m_onDialog = [](QWidget &dialog) {
        auto &config = static_cast<TConfigForm &>(dialog);
        config.UserEdit()->setText(QString::fromLatin1(GetParam().typed));
        config.PortEdit()->setText(QStringLiteral("5041x"));
        config.AutoChannCheck()->setChecked(false);
    };
    form.ConfigBtClick();
    const SettingsValues &values = form.Engine().Settings();
    EXPECT_EQ(values.UserName,
              GetParam().stored ? QByteArray(GetParam().stored) : DefaultUserName(ownAddr()));
    EXPECT_EQ(values.Port, "5041x"); // as typed: the reopening reports an unusable port
    EXPECT_EQ(values.Interface, ownAddr());
    EXPECT_FALSE(values.AutoAdd);
}

INSTANTIATE_TEST_SUITE_P(Names, ConfigNameTest,
                         ::testing::Values(NameCase{"  ", nullptr}, NameCase{"a|b", "a-b"},
                                           NameCase{"\t ann \r", "ann"}));

TEST_F(MainFormTest, ConfigurationShowsTheValuesAndRestoresTheDefaultName)
{
    writeSettings();
    TMainForm &form = start();
    form.Engine().OpenReceiver(false);
    TConfigForm config(form.Engine(), form);
    EXPECT_EQ(config.UserEdit()->text(), QStringLiteral("me"));
    EXPECT_EQ(config.PortEdit()->text(), QString::number(m_port));
    EXPECT_EQ(config.InterfCombo()->currentText(), QString::fromLatin1(ownAddr()));
    EXPECT_TRUE(config.AutoChannCheck()->isChecked());
    EXPECT_FALSE(config.AutoStartCheck()->isChecked());
    EXPECT_EQ(config.size(), QSize(194, 372));
    QTest::mouseClick(config.DefNameLabel(), Qt::LeftButton);
    EXPECT_EQ(config.UserEdit()->text(), QString::fromLatin1(DefaultUserName(ownAddr())));
}

TEST_F(MainFormTest, ConfigurationOpenedBeforeTheFirstTickKeepsTheInterface)
{
    writeSettings();
    TMainForm &form = start();
    ASSERT_TRUE(form.Engine().LocalAddresses().isEmpty());
    {
        TConfigForm config(form.Engine(), form);
        config.show();
        EXPECT_EQ(config.InterfCombo()->currentText(), QString::fromLatin1(ownAddr()));
        config.close();
    }
    EXPECT_EQ(form.Engine().Settings().Interface, ownAddr());
}

TEST_F(MainFormTest, OtherNetworksTakeAddressesAndNamesAndTellWhatWasLeftOut)
{
    writeSettings();
    TMainForm &form = start();
    {
        TConfigForm config(form.Engine(), form);
        config.show();
        EXPECT_TRUE(config.TargetsEdit()->text().isEmpty());
        config.TargetsEdit()->setText(QStringLiteral(" 192.168.2.255, gw.example bad|entry  "
                                                     "192.168.2.255"));
        config.close();
    }
    EXPECT_EQ(form.Engine().Settings().Targets, (QByteArrayList{"192.168.2.255", "gw.example"}));
    EXPECT_EQ(form.Engine().targets().list(), form.Engine().Settings().Targets);
    ASSERT_FALSE(m_boxes.isEmpty());
    EXPECT_TRUE(m_boxes.last().contains("bad|entry")) << m_boxes.last().constData();
    emit form.Engine().targets().unresolved("gw.example");
    EXPECT_TRUE(m_boxes.last().contains("\"gw.example\" of the other networks does not resolve"))
        << m_boxes.last().constData();
}

TEST_F(MainFormTest, AutostartEntryIsWrittenAndRemovedByTheUsersClicksOnly)
{
    writeSettings();
    TMainForm &form = start();
    TConfigForm config(form.Engine(), form);
    config.show();
    // Ticking it from code (as FormCreate does) writes nothing.
    config.AutoStartCheck()->setChecked(true);
    EXPECT_FALSE(Autostart::isSet());
    config.AutoStartCheck()->setChecked(false);

    QTest::mouseClick(config.AutoStartCheck(), Qt::LeftButton);
    EXPECT_TRUE(Autostart::isSet());
    QTest::keyClick(config.AutoStartCheck(), Qt::Key_Space);
    EXPECT_FALSE(Autostart::isSet());
}

TEST_F(MainFormTest, FirstRunOpensTheAboutWindowThenWritesTheFirstStartKeys)
{
    QByteArray fileAtAbout = "(not opened)";
    m_onDialog = [&](QWidget &) { fileAtAbout = settingsText(); };
    TMainForm &form = start();
    EXPECT_EQ(m_dialogs, QStringList{"TAboutForm"});
    EXPECT_TRUE(fileAtAbout.isEmpty()); // the about window comes before the file is written
    const QByteArray text = settingsText();
    EXPECT_TRUE(text.contains("Version=010001")) << text.constData();
    EXPECT_TRUE(text.contains("Port=5040"));
    EXPECT_TRUE(text.contains("Name=" + DefaultUserName(ownAddr())));
    const QByteArray channel = CodeCript::Decode(CodeCript::DefaultChannel);
    EXPECT_TRUE(text.contains("Channel0=" + channel));
    EXPECT_TRUE(text.contains("Selected=" + channel));
    EXPECT_TRUE(text.contains("AutoAdd=1"));
    EXPECT_FALSE(text.contains("Interface="));
    EXPECT_TRUE(form.Engine().AliveTimer().isActive());
    EXPECT_EQ(form.Engine().AliveTimer().interval(), MessagingEngine::kFirstTickMs);
}

TEST_F(MainFormTest, ExitWithPeersBroadcastsTheLeaveNoticeBeforeSaving)
{
    writeSettings();
    TMainForm &form = start();
    form.Engine().OpenReceiver(false);
    addPeer(1, "ann");
    form.Engine().ChannelBox().append("Lab");
    QByteArray heardBeforeSave;
    QObject::connect(&form.Engine(), &MessagingEngine::aboutToSaveSettings,
                     [&] { heardBeforeSave = nextBroadcast(); });
    bool closed = false;
    QObject::connect(&form, &TMainForm::formClosed, [&] { closed = true; });
    form.ExitBt()->trigger();
    EXPECT_TRUE(closed);
    EXPECT_EQ(heardBeforeSave, "EXT");
    EXPECT_TRUE(settingsText().contains("Channel1=Lab"));
}

TEST_F(MainFormTest, StartAtLogonStaysHiddenInTheTrayUntilTheFirstRestore)
{
    writeSettings();
    ASSERT_TRUE(Autostart::set(QStringLiteral("/usr/bin/tolvex")));
    TMainForm &form = start();
    EXPECT_FALSE(form.ShowOnStart());
    EXPECT_TRUE(form.StartedHidden());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.TrayVis().InTray());
    EXPECT_TRUE(form.TrayVis().Trayicon().IconAdded());
    EXPECT_EQ(form.TrayVis().Trayicon().ToolTip(),
              QString::fromLatin1(displayName()) + QStringLiteral(", click to restore"));
    EXPECT_EQ(form.Engine().AliveTimer().interval(), MessagingEngine::kLogonFirstTickMs);
    EXPECT_EQ(form.Engine().aliveTimerTag(), 1);

    form.RestoreBtClick();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.StartedHidden());
    EXPECT_FALSE(form.TrayVis().InTray());
    form.MinimizeBtClick();
    EXPECT_FALSE(form.isVisible());
    form.RestoreBtClick();
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MainFormTest, ChannelBoxTakesATypedChannelOnEnter)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    QLineEdit *edit = form.ChannelBox()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("  Lab  "));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(form.Engine().ActiveChannel(), "Lab");
    EXPECT_EQ(form.ChannelBox()->currentText(), QStringLiteral("Lab"));
    EXPECT_NE(form.Engine().ChannelBox().findExact("Lab"), -1);
    EXPECT_EQ(form.ChannelBox()->count(), 2);
}

// Where nothing would bring a minimised window back, it folds to its bottom bar; the
// minimise button (or the restore) unfolds it.
TEST_F(MainFormTest, FoldsToItsBottomBarAndTheMinimiseButtonUnfoldsIt)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    form.Fold(true);
    EXPECT_EQ(form.size(), QSize(MainLayout::kWidth, MainLayout::kBottomPanelHeight));
    EXPECT_EQ(form.BottomPanel()->geometry(), QRect(0, 0, 130, 24));
    EXPECT_FALSE(form.UserList()->isVisibleTo(&form));
    EXPECT_TRUE(form.MinimizeBt()->isVisibleTo(&form));

    form.MinimizeBtClick();
    EXPECT_FALSE(form.Folded());
    EXPECT_EQ(form.size(), QSize(MainLayout::kWidth, MainLayout::kHeight));
    EXPECT_EQ(form.BottomPanel()->geometry(), QRect(0, 156, 130, 24));
    EXPECT_TRUE(form.UserList()->isVisibleTo(&form));
    EXPECT_FALSE(form.TrayVis().InTray());

    form.Fold(true);
    form.RestoreBtClick();
    EXPECT_FALSE(form.Folded());
}

TEST_F(MainFormTest, TheLayoutHasItsSizesAndColours)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    EXPECT_EQ(form.size(), QSize(MainLayout::kWidth, MainLayout::kHeight));
    EXPECT_EQ(form.ChannelBox()->geometry(), MainLayout::kChannelBox);
    EXPECT_EQ(form.MinimizeBt()->geometry(), MainLayout::kMinimizeBt);
    EXPECT_EQ(form.UserList()->geometry(), MainLayout::kUserList);
    EXPECT_EQ(form.BottomPanel()->geometry(), QRect(0, 156, 130, 24));
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(233, 233, 233));
    EXPECT_EQ(shot.pixelColor(10, 120), QColor(205, 209, 220));
    addPeer(1, "ann");
    form.Engine().users().selectOnly(0);
    const QRect row = form.UserList()->visualRect(form.UserList()->model()->index(0, 0));
    const QImage selected = form.UserList()->viewport()->grab().toImage();
    EXPECT_EQ(selected.pixelColor(row.right() - 3, row.center().y()), QColor(128, 128, 255));
}

TEST_F(MainFormTest, EveryControlAndMenuItemHasAnAccessibleNameAndAKeyboardPath)
{
    writeSettings();
    TMainForm &form = start();
    form.show();
    TConfigForm config(form.Engine(), form);
    TAboutForm about;
    for (QWidget *window : {static_cast<QWidget *>(&form), static_cast<QWidget *>(&config),
                            static_cast<QWidget *>(&about)}) {
        for (QWidget *w : window->findChildren<QWidget *>()) {
            if (w->focusPolicy() == Qt::NoFocus || qobject_cast<QMenu *>(w) ||
                !w->isVisibleTo(window))
                continue;
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(iface, nullptr);
            EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty())
                << window->objectName().toStdString() << ": " << w->metaObject()->className() << " "
                << w->objectName().toStdString();
        }
    }
    for (QMenu *menu : {form.UserPopup(), form.TrayPopup(), form.ChannPopup()})
        for (QAction *a : menu->actions())
            EXPECT_FALSE(a->text().isEmpty());

    // The menu key on the list opens the user menu; Escape on the bottom panel minimises.
    form.activateWindow();
    form.UserList()->setFocus();
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(form.UserPopup()->isVisible());
        form.UserPopup()->close();
    });
    QTest::keyClick(form.UserList(), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(!form.UserPopup()->isVisible());
    form.BottomPanel()->setFocus();
    QTest::keyClick(form.BottomPanel(), Qt::Key_Escape);
    EXPECT_TRUE(form.TrayVis().InTray());
}

TEST(HintStyleTest, TooltipsTakeTheProgramsColourAndShowNamesAsTyped)
{
    HintStyle hints(MainLayout::kHintColor, MainLayout::kHintHidePauseMs);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(228, 231, 237));
    EXPECT_EQ(hints.hidePauseMs(), 10000);
    QWidget widget;
    widget.resize(50, 50);
    widget.setToolTip(QStringLiteral("<img src=x> <b>ann</b>"));
    widget.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), widget.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&widget, &help);
    ASSERT_TRUE(QToolTip::isVisible());
    // Escaped, so the markup shows as typed.
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("&lt;b&gt;ann&lt;/b&gt;")))
        << QToolTip::text().toStdString();
    QToolTip::hideText();
}

TEST_F(MainFormTest, AnEndWhileTheConfigurationIsOpenLeavesTheProgramOffLine)
{
    writeSettings();
    TMainForm &form = start();
    form.Engine().OpenReceiver(false);
    // SIGTERM or the session's end arrive while the modal dialog runs its own loop.
    m_onDialog = [&](QWidget &) { form.close(); };
    form.ConfigBtClick();
    EXPECT_FALSE(form.Engine().AliveTimer().isActive());
    EXPECT_NE(form.Engine().WSocketRecv().State(), wsConnected);
    EXPECT_TRUE(settingsText().contains("AutoAdd=1"));
}

TEST_F(MainFormTest, APeerThatLeavesOrFallsSilentTakesOnlyItsOwnSelection)
{
    writeSettings();
    TMainForm &form = start();
    form.Engine().AliveTimerTimer(); // the first tick: on line
    addPeer(1, "ann");
    addPeer(2, "bob");
    addPeer(3, "cid");
    QItemSelectionModel *selection = form.Engine().users().selectionModel();
    selection->select(
        QItemSelection(form.Engine().users().index(0), form.Engine().users().index(2)),
        QItemSelectionModel::Select);
    ASSERT_EQ(form.Engine().users().selectedRows().size(), 3);

    // ann leaves; bob falls silent and is dropped at the next tick; cid keeps talking.
    form.Engine().handleDatagram(Datagram::leaveNotice(), peerAddr(1));
    m_now = m_now.addSecs(76);
    form.Engine().handleDatagram(Datagram::keepAlive("Main"), peerAddr(3));
    form.Engine().AliveTimerTimer();
    ASSERT_EQ(form.Engine().users().count(), 1);
    EXPECT_EQ(form.SelectedNames(), QList<QByteArray>{"cid"});
    EXPECT_TRUE(form.ChatForm().SendEnabled());
    EXPECT_EQ(form.ChatForm().CaptionLabel()->text(), QStringLiteral("cid"));
}

// The window goes with peers listed and selected and the chat window open: the chat window
// and the engine go with it, the list view after the engine, and another listener of the
// lists before or after them. Nobody hears of the peers' going.
TEST_F(MainFormTest, GoesWithPeersSelectedAndTheChatOpenWhicheverListenerGoesFirst)
{
    writeSettings();
    for (const bool listenerFirst : {true, false}) {
        SCOPED_TRACE(listenerFirst ? "listener first" : "listener last");
        TMainForm &form = start();
        form.show();
        form.Engine().AliveTimerTimer();
        addPeer(1, "ann");
        addPeer(2, "bob");
        ::UserList &users = form.Engine().users();
        users.selectionModel()->select(QItemSelection(users.index(0), users.index(1)),
                                       QItemSelectionModel::Select);
        form.UserListDblClick();
        form.AddMessage("ann", "hello", 0, 0, false);
        ASSERT_TRUE(form.ChatForm().isVisible());
        ASSERT_EQ(form.ChatForm().CaptionLabel()->text(), QStringLiteral("ann, bob"));
        const QPointer<::UserList> list(&users);
        const QPointer<TChatForm> chat(&form.ChatForm());
        const QPointer<UserListView> view(form.UserList());
        ListListener listener(users);
        if (listenerFirst)
            listener.end();
        m_form.reset();
        EXPECT_TRUE(list.isNull());
        EXPECT_TRUE(chat.isNull());
        EXPECT_TRUE(view.isNull());
        EXPECT_EQ(listener.heard(), 0);
        EXPECT_TRUE(m_boxes.isEmpty());
    }
}
