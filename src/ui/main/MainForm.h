#pragma once

#include "engine/EngineWindows.h"
#include "engine/MessagingEngine.h"
#include "ui/chat/ChatHost.h"
#include "ui/components/TrayHost.h"

#include <QItemSelection>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QMenu;
class TChatForm;
class TRegionBt;
class TTrayVis;
class TXPMenu;
class UserListView;
struct SettingsValues;

/// The main window: a borderless panel above the right end of the task bar with the user
/// list, the channel box and the minimise button, the menus that reach the other windows,
/// and the tray icon. It hosts the messaging engine and serves its window interface; the
/// chat window is made when first needed and lives as long as the main window.
class TMainForm final : public QWidget, public EngineWindows, public ChatHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainForm)

public:
    /// What a test or the sandbox may replace; the defaults are the real ones.
    struct Seams
    {
        EngineSeams engine = EngineSeams::system();
        /// The notification area; empty for the desktop's own.
        std::unique_ptr<TrayHost> trayHost;
        /// Answers message boxes instead of showing them; empty to show them.
        std::function<bool(Box, const QByteArray &)> messageBox;
        /// Runs the configuration dialog or the about window instead of exec(); empty to
        /// run them modally.
        std::function<void(QWidget &dialog)> runDialog;
    };

    /// FormCreate runs here: placement, tray icon, the start-at-log-on test and the deferred
    /// start-up event. settings must outlive the window.
    explicit TMainForm(SettingsValues &settings);
    TMainForm(SettingsValues &settings, Seams seams, QWidget *parent = nullptr);
    ~TMainForm() override;

    MessagingEngine &Engine() { return *m_engine; }
    /// The chat window, made now if it was not needed before.
    TChatForm &ChatForm() { return chat(); }
    TTrayVis &TrayVis() { return *m_trayVis; }
    /// Whether the program shows this window once the event loop runs; cleared by a start at
    /// log-on.
    bool ShowOnStart() const { return m_showOnStart; }
    /// Started at log-on and not yet shown.
    bool StartedHidden() const { return m_startedHidden; }
    /// The end comes from outside (a signal, the session's end, a lost display) and nobody
    /// may be there to answer: from now on message boxes go to standard error instead.
    void SetUnattended() { m_unattended = true; }
    /// A message box had to go to standard error (an error at an unattended end).
    bool UnattendedErrorReported() const { return m_unattendedError; }

    UserListView *UserList() const { return m_userList; }
    QComboBox *ChannelBox() const { return m_channelBox; }
    QWidget *BottomPanel() const { return m_bottomPanel; }
    TRegionBt *MinimizeBt() const { return m_minimizeBt; }
    QMenu *UserPopup() const { return m_userPopup; }
    QMenu *TrayPopup() const { return m_trayPopup; }
    QMenu *ChannPopup() const { return m_channPopup; }
    QAction *OpenchatBt() const { return m_openchatBt; }
    QAction *ShowIP() const { return m_showIP; }
    QAction *ReloadList() const { return m_reloadList; }
    QAction *RestoreBt() const { return m_restoreBt; }
    QAction *ConfigBt() const { return m_configBt; }
    QAction *ExitBt() const { return m_exitBt; }
    QAction *AboutBt() const { return m_aboutBt; }
    QAction *MoreprodBt() const { return m_moreprodBt; }
    QAction *DeletechannBt() const { return m_deletechannBt; }

    /// Top-left corner at start-up: 25 pixels from the right screen edge, 15 above the task
    /// bar.
    static QPoint StartPosition(int taskbarTop, int screenWidth);
    /// Puts the window at its start-up place on the primary screen: screenWidth is the right
    /// end of the available area there, so that a panel along the right edge stays free.
    void PlaceAtStart();
    /// The work area changed: back to the start-up place above the panel, unless the user
    /// moved the window away from where it was placed.
    void WorkAreaChanged();
    /// The channel a first start comes up on, read from the settings file, for the channel
    /// box while the first-run about window is open.
    static QByteArray FirstRunChannel(const QString &settingsPath);
    /// The text of "Show user IP" for a peer.
    static QByteArray UserIpText(const QByteArray &name, const QByteArray &addr);
    /// The selected users' names, in list order.
    QList<QByteArray> SelectedNames() const;

    // Handlers of the window's controls and menus.
    void UserListSelectItem(const QItemSelection &selected, const QItemSelection &deselected);
    void UserListDblClick();
    void UserListMouseUp();
    void UserPopupPopup();
    void OpenchatBtClick();
    void ShowIPClick();
    void MinimizeBtClick();
    /// Folds the window down to its bottom bar (the minimise button unfolds it), or back.
    void Fold(bool folded);
    bool Folded() const { return m_folded; }
    void RestoreBtClick();
    void TrayVisTrayRestore();
    void ConfigBtClick();
    void AboutBtClick();
    void MoreprodBtClick();
    void ExitBtClick();
    /// Recomputes the chat window's title from the selection.
    void UpdateChatTitle();

    // EngineWindows
    void showChatWindow() override;
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                    quint32 textColor, bool outgoing) override;
    void attention() override;
    bool messageBox(Box kind, const QByteArray &text) override;
    void giveFocus(Focus target) override;
    void clearSendEdit() override;
    void bringToFront() override;
    void showAboutFirstRun() override;

    // ChatHost
    QWidget *FollowingWindow() override { return this; }
    void QueueLine(const QByteArray &line) override;
    void HideTaskbarButton() override;

signals:
    /// FormClose is done: the network is left and the settings are saved; the program ends.
    void formClosed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildLayout();
    void buildMenus();
    void buildTray(std::unique_ptr<TrayHost> host);
    void wireChannelBox();
    void restoreChatAsked();
    void syncChannelText();
    void openPopup(QMenu *menu, QWidget *at, const QPoint &local);
    /// A right click on the tray icon where the menu cannot open at the icon: the main
    /// window comes back instead of a menu window of its own; through XWayland the menu opens
    /// at its bottom bar.
    void trayMenuAskedOnWayland();
    void runDialog(QWidget &dialog);
    TChatForm &chat();
    bool chatVisible() const;

    SettingsValues &m_settings;
    Seams m_seams;
    std::unique_ptr<MessagingEngine> m_engine;
    /// After the engine, so that it goes first.
    std::unique_ptr<TChatForm> m_chat;
    TTrayVis *m_trayVis = nullptr;
    TXPMenu *m_xpMenu = nullptr;
    QWidget *m_bottomPanel = nullptr;
    QWidget *m_mainPanel = nullptr;
    QComboBox *m_channelBox = nullptr;
    TRegionBt *m_minimizeBt = nullptr;
    UserListView *m_userList = nullptr;
    QMenu *m_userPopup = nullptr;
    QMenu *m_trayPopup = nullptr;
    QMenu *m_channPopup = nullptr;
    QAction *m_openchatBt = nullptr;
    QAction *m_showIP = nullptr;
    QAction *m_reloadList = nullptr;
    QAction *m_restoreBt = nullptr;
    QAction *m_configBt = nullptr;
    QAction *m_exitBt = nullptr;
    QAction *m_aboutBt = nullptr;
    QAction *m_moreprodBt = nullptr;
    QAction *m_deletechannBt = nullptr;
    QPoint m_placedAt;
    // Folded down to the bottom bar: "minimise" where nothing else would leave a way back.
    bool m_folded = false;
    bool m_showOnStart = true;
    bool m_startedHidden = false;
    bool m_closed = false;
    bool m_unattended = false;
    bool m_unattendedError = false;
    bool m_inSelectItem = false;
    bool m_removingRows = false;
};
