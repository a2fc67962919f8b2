#include "ui/main/MainForm.h"

#include "app/CodeCript.h"
#include "app/IniFile.h"
#include "app/NameRules.h"
#include "app/SettingsFile.h"
#include "app/Support.h"
#include "engine/TextRules.h"
#include "net/WSocket.h"
#include "platform/Autostart.h"
#include "platform/desktop/ScreenEdge.h"
#include "platform/desktop/X11Window.h"
#include "ui/WindowLook.h"
#include "ui/about/AboutForm.h"
#include "ui/chat/ChatForm.h"
#include "ui/components/RegionBt.h"
#include "ui/components/TrayHost.h"
#include "ui/components/TrayVis.h"
#include "ui/components/XPMenu.h"
#include "ui/config/ConfigForm.h"
#include "ui/main/MainLayout.h"
#include "ui/main/UserListView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <iterator>

// The pictures live in resource files of a static library; naming them keeps them linked.
static void loadPictures()
{
    Q_INIT_RESOURCE(main);
    Q_INIT_RESOURCE(about);
}

namespace {

QString decoded(const char *scrambled)
{
    return WindowLook::text(CodeCript::Decode(scrambled));
}

// Read as PNG and nothing else: a reader left to guess the format first loads every image
// plugin there is, which the start does not need.
QImage image(const QString &name)
{
    return WindowLook::image(QStringLiteral(":/main/art/") + name + QStringLiteral(".png"));
}

QIcon picture(const QString &name)
{
    return QIcon(QPixmap::fromImage(image(name)));
}

// The program's icon in several sizes, read when a size is asked for: the window system takes
// each size once when the window is made, and keeping them all decoded would hold about
// 350 kB for nothing. The last size asked for is kept; the tray asks for it at every paint.
class ProgramIcon final : public QIconEngine
{
public:
    static constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        if (size.isEmpty())
            return {};
        if (size == m_lastSize && mode == m_lastMode)
            return m_last;
        const int wanted = std::max(size.width(), size.height());
        int file = kSizes[std::size(kSizes) - 1];
        for (const int n : kSizes) {
            if (n >= wanted) {
                file = n;
                break;
            }
        }
        QPixmap pm = QPixmap::fromImage(image(QStringLiteral("tolvex-%1").arg(file)));
        if (pm.width() > size.width() || pm.height() > size.height())
            pm = pm.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (mode != QIcon::Normal) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            pm = QApplication::style()->generatedIconPixmap(mode, pm, &option);
        }
        m_lastSize = size;
        m_lastMode = mode;
        m_last = pm;
        return pm;
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        QPixmap pm = pixmap(size * scale, mode, state);
        pm.setDevicePixelRatio(scale);
        return pm;
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QPixmap pm = scaledPixmap(rect.size(), mode, state, scale);
        const QSize shown = pm.deviceIndependentSize().toSize();
        painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2,
                                                          (rect.height() - shown.height()) / 2),
                                  shown),
                            pm);
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int largest = kSizes[std::size(kSizes) - 1];
        return QSize(largest, largest)
            .scaled(size.boundedTo(QSize(largest, largest)), Qt::KeepAspectRatio);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int n : kSizes)
            sizes.append(QSize(n, n));
        return sizes;
    }
    QIconEngine *clone() const override { return new ProgramIcon; }
    QString key() const override { return QStringLiteral("ProgramIcon"); }

private:
    QSize m_lastSize;
    QIcon::Mode m_lastMode = QIcon::Normal;
    QPixmap m_last;
};

// A panel in the window's colour that takes the keyboard focus.
QWidget *focusPanel(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    WindowLook::paintBackground(*panel, WindowLook::kPanelColor);
    panel->setFocusPolicy(Qt::StrongFocus);
    return panel;
}

} // namespace

TMainForm::TMainForm(SettingsValues &settings) : TMainForm(settings, Seams()) {}

TMainForm::TMainForm(SettingsValues &settings, Seams seams, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_settings(settings),
      m_seams(std::move(seams))
{
    loadPictures();
    m_engine = std::make_unique<MessagingEngine>(*this, m_settings, m_seams.engine);
    setObjectName(QStringLiteral("MainForm"));
    buildLayout();
    buildMenus();
    buildTray(std::move(m_seams.trayHost));
    wireChannelBox();
    FormCreate();
}

TMainForm::~TMainForm() = default;

TChatForm &TMainForm::chat()
{
    // Most starts never open it; it is made on its first use, in the state the selection
    // has put it in.
    if (!m_chat) {
        m_chat = std::make_unique<TChatForm>(*this);
        // Its task-bar entry shows the program's icon.
        m_chat->setWindowIcon(windowIcon());
        m_chat->SetTitle(SelectedNames());
        m_chat->SetSendEnabled(m_engine->users().selectionModel()->hasSelection());
        // A click on the desktop notice is the user asking for the window: it opens and may
        // take the keyboard, as from the list. The notice service may call after the
        // program's windows are gone.
        m_chat->setNoticeOpener([this, alive = QPointer<TMainForm>(this)] {
            if (!alive)
                return;
            if (m_trayVis->InTray())
                RestoreBtClick();
            showChatWindow();
            if (!chatVisible())
                m_chat->show();
            restoreChatAsked();
            m_chat->raise();
            m_chat->activateWindow();
        });
    }
    return *m_chat;
}

bool TMainForm::chatVisible() const
{
    return m_chat && m_chat->isVisible();
}

// ---------------------------------------------------------------------------------------
// Building the window

void TMainForm::buildLayout()
{
    using namespace MainLayout;
    setFixedSize(kWidth, kHeight);
    WindowLook::paintBackground(*this, WindowLook::kPanelColor);
    setAccessibleName(tr("Tolvex user list"));

    m_mainPanel = new QWidget(this);
    m_mainPanel->setObjectName(QStringLiteral("MainPanel"));
    m_mainPanel->setGeometry(0, 0, kWidth, kHeight - kBottomPanelHeight);
    m_mainPanel->setAccessibleName(tr("Users panel"));
    WindowLook::paintBackground(*m_mainPanel, WindowLook::kPanelColor);

    m_userList = new UserListView(m_mainPanel);
    m_userList->setObjectName(QStringLiteral("UserList"));
    m_userList->setGeometry(kUserList);
    m_userList->setModel(&m_engine->users());
    m_userList->setSelectionModel(m_engine->users().selectionModel());
    m_userList->setUserIcon(picture(QStringLiteral("user")));
    m_userList->setAccessibleName(tr("User name"));
    m_userList->setContextMenuPolicy(Qt::CustomContextMenu);

    m_bottomPanel = focusPanel(this);
    m_bottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    m_bottomPanel->setGeometry(0, kHeight - kBottomPanelHeight, kWidth, kBottomPanelHeight);
    m_bottomPanel->setAccessibleName(tr("Bottom panel"));
    m_bottomPanel->setAccessibleDescription(
        tr("The menu key opens the program menu; Escape minimizes to the tray"));
    m_bottomPanel->setContextMenuPolicy(Qt::CustomContextMenu);

    m_channelBox = new QComboBox(m_bottomPanel);
    m_channelBox->setObjectName(QStringLiteral("ChannelBox"));
    m_channelBox->setGeometry(kChannelBox);
    // The font first: a line edit made before it would be laid out in the default font,
    // which loads another font face at start for nothing.
    m_channelBox->setFont(WindowLook::windowFont());
    m_channelBox->setEditable(true);
    m_channelBox->setInsertPolicy(QComboBox::NoInsert);
    m_channelBox->setCompleter(nullptr);
    m_channelBox->setFrame(false);
    m_channelBox->setToolTip(tr(kChannelHint));
    m_channelBox->setAccessibleName(tr(kChannelHint));
    m_channelBox->lineEdit()->setAccessibleName(tr(kChannelHint));
    m_channelBox->view()->setAccessibleName(tr("Channels"));
    WindowLook::paintField(*m_channelBox);
    m_channelBox->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);

    m_minimizeBt = new TRegionBt(m_bottomPanel);
    m_minimizeBt->setObjectName(QStringLiteral("MinimizeBt"));
    m_minimizeBt->setGeometry(kMinimizeBt);
    TBitmaps &images = m_minimizeBt->images();
    images.beginUpdate();
    images.add(biNormal, image(QStringLiteral("minimize-normal")));
    images.add(biMask, image(QStringLiteral("minimize-mask")));
    images.add(biClip, image(QStringLiteral("minimize-clip")));
    images.add(biOver, image(QStringLiteral("minimize-hover")));
    images.add(biPush, image(QStringLiteral("minimize-pressed")));
    images.endUpdate();
    m_minimizeBt->setToolTip(tr(kMinimizeHint));
    m_minimizeBt->setShowHotHint(true);
    m_minimizeBt->setCursorHotHand(true);
    m_minimizeBt->setAccessibleName(tr("Minimize"));
    m_minimizeBt->setAccessibleDescription(tr(kMinimizeHint));
    m_minimizeBt->OnClick = [this](TRegionBt *) { MinimizeBtClick(); };

    setTabOrder(m_channelBox, m_userList);
    setTabOrder(m_userList, m_bottomPanel);
    // The box itself gets the user's keys and focus changes (its line edit has it as focus
    // proxy and is handed them directly, past any filter); the line edit is watched for
    // events sent to it alone.
    for (QWidget *w :
         {static_cast<QWidget *>(m_userList), static_cast<QWidget *>(m_bottomPanel),
          static_cast<QWidget *>(m_channelBox), static_cast<QWidget *>(m_channelBox->lineEdit())})
        w->installEventFilter(this);

    QItemSelectionModel *selection = m_engine->users().selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &TMainForm::UserListSelectItem);
    // Rows that go away take their selection with them; that is no deselection by the user.
    ::UserList *users = &m_engine->users();
    connect(users, &::UserList::removingRows, this, [this](bool removing) {
        m_removingRows = removing;
        if (!removing)
            UpdateChatTitle();
    });
    connect(m_userList, &UserListView::doubleClickedAnywhere, this, &TMainForm::UserListDblClick);
    connect(m_userList, &UserListView::mouseReleased, this, &TMainForm::UserListMouseUp);
}

void TMainForm::buildMenus()
{
    const auto action = [this](QMenu *menu, const QString &caption, const QString &glyph,
                               void (TMainForm::*handler)()) {
        QAction *a = menu->addAction(picture(glyph), caption);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    m_userPopup = new QMenu(this);
    m_userPopup->setObjectName(QStringLiteral("UserPopup"));
    // The titles name the popups for the window system, where a user's tools find them.
    m_userPopup->setWindowTitle(tr("User menu"));
    m_userPopup->setAccessibleName(tr("User menu"));
    m_openchatBt = action(m_userPopup, tr("Open chat window"), QStringLiteral("open-chat"),
                          &TMainForm::OpenchatBtClick);
    m_showIP =
        action(m_userPopup, tr("Show user IP"), QStringLiteral("show-ip"), &TMainForm::ShowIPClick);
    m_reloadList =
        m_userPopup->addAction(picture(QStringLiteral("reload")), tr("Reload user list"));
    connect(m_reloadList, &QAction::triggered, m_engine.get(), &MessagingEngine::ReloadListClick);
    m_userPopup->setDefaultAction(m_openchatBt);
    connect(m_userPopup, &QMenu::aboutToShow, this, &TMainForm::UserPopupPopup);

    m_trayPopup = new QMenu(this);
    m_trayPopup->setObjectName(QStringLiteral("TrayPopup"));
    m_trayPopup->setWindowTitle(tr("Program menu"));
    m_trayPopup->setAccessibleName(tr("Program menu"));
    m_restoreBt = action(m_trayPopup, tr("Restore Tolvex"), QStringLiteral("restore"),
                         &TMainForm::RestoreBtClick);
    m_configBt = action(m_trayPopup, tr("Configuration..."), QStringLiteral("configuration"),
                        &TMainForm::ConfigBtClick);
    m_exitBt = action(m_trayPopup, tr("Exit"), QStringLiteral("exit"), &TMainForm::ExitBtClick);
    m_aboutBt =
        action(m_trayPopup, tr("About..."), QStringLiteral("about"), &TMainForm::AboutBtClick);
    m_moreprodBt = action(m_trayPopup, tr("More free products..."), QStringLiteral("more-products"),
                          &TMainForm::MoreprodBtClick);
    m_trayPopup->setDefaultAction(m_restoreBt);

    m_channPopup = new QMenu(this);
    m_channPopup->setObjectName(QStringLiteral("ChannPopup"));
    m_channPopup->setWindowTitle(tr("Channel menu"));
    m_channPopup->setAccessibleName(tr("Channel menu"));
    m_deletechannBt =
        m_channPopup->addAction(picture(QStringLiteral("delete-channel")), tr("Delete channel"));
    connect(m_deletechannBt, &QAction::triggered, m_engine.get(),
            &MessagingEngine::DeletechannBtClick);

    m_minimizeBt->setPopupmenu(m_trayPopup);
    connect(m_userList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { openPopup(m_userPopup, m_userList, pos); });
    connect(m_bottomPanel, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { openPopup(m_trayPopup, m_bottomPanel, pos); });
    connect(m_channelBox->lineEdit(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { openPopup(m_channPopup, m_channelBox->lineEdit(), pos); });

    m_xpMenu = new TXPMenu(this);
    WindowLook::applyMenuSkin(*m_xpMenu);
}

void TMainForm::buildTray(std::unique_ptr<TrayHost> host)
{
    m_trayVis = new TTrayVis(this);
    if (host)
        m_trayVis->SetTrayHost(std::move(host));
    const QIcon icon(new ProgramIcon);
    setWindowIcon(icon);
    m_trayVis->Trayicon().SetIcon(icon);
    m_trayVis->Trayicon().SetPopupMenu(m_trayPopup);
    m_trayVis->BallooInfo().SetInfoIconType(bitInfo);
    m_trayVis->BallooInfo().SetInfoTimeOut(10);
    m_trayVis->OnTrayLeftClick = [this](TTrayVis *) { RestoreBtClick(); };
    m_trayVis->OnTrayRestore = [this](TTrayVis *) { TrayVisTrayRestore(); };
    // On Wayland a program cannot place a menu at the bar's icon: a menu is drawn only as a
    // popup of a window that has had the user's input, and otherwise becomes a window of its
    // own. A right click there brings the main window back, where the same menu is on the
    // bottom panel.
    // Through XWayland the pointer's place is stale (the last one over an X window) and the
    // bar does not tell the icon's: the menu opens at the bottom bar of the window brought
    // forward, where the program knows the place.
    if (X11Window::onWayland() || X11Window::onXWayland())
        m_trayVis->OnTrayContextMenu = [this](TTrayVis *) { trayMenuAskedOnWayland(); };
}

void TMainForm::trayMenuAskedOnWayland()
{
    if (m_trayVis->InTray() || !isVisible())
        RestoreBtClick();
    raise();
    activateWindow();
    if (X11Window::onXWayland())
        openPopup(m_trayPopup, m_bottomPanel, QPoint(0, 0));
}

void TMainForm::wireChannelBox()
{
    ChannelList &channels = m_engine->ChannelBox();
    m_channelBox->setModel(&channels);
    m_channelBox->setCurrentIndex(-1);
    // The engine's text is the box's text: typing goes to the engine, and whatever the engine
    // does to the list or the text comes back to the box.
    connect(m_channelBox->lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        m_engine->ChannelBox().setText(WindowLook::bytes(text));
    });
    connect(&channels, &ChannelList::textChanged, this, &TMainForm::syncChannelText);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&channels, signal, this, &TMainForm::syncChannelText);
    connect(&channels, &QAbstractItemModel::modelReset, this, &TMainForm::syncChannelText);
    connect(&channels, &ChannelList::enabledChanged, m_channelBox, &QWidget::setEnabled);
    connect(m_channelBox, &QComboBox::activated, this, [this](int row) {
        m_engine->ChannelBox().select(row);
        m_engine->ChannelBoxSelect();
    });
    connect(m_engine.get(), &MessagingEngine::settingsLoaded, this, [this] {
        m_configBt->setEnabled(!m_engine->configurationLocked());
        m_channelBox->setEnabled(m_engine->ChannelBox().isEnabled());
        syncChannelText();
    });
    // Told once per name, in a box that leaves the keyboard where the user is typing.
    connect(&m_engine->targets(), &PresenceTargets::unresolved, this,
            [this](const QByteArray &name) {
                const QByteArray text = TextRules::fillArgs(
                    WindowLook::bytes(
                        tr("The host name \"%1\" of the other networks does not resolve. It is "
                           "tried again every 30 seconds.")),
                    {name});
                if (m_unattended || m_seams.messageBox) {
                    messageBox(Box::Information, text);
                    return;
                }
                auto *box = new QMessageBox(QMessageBox::Information, windowTitle(),
                                            WindowLook::text(text), QMessageBox::Ok, this);
                box->setTextFormat(Qt::PlainText);
                box->setAttribute(Qt::WA_DeleteOnClose);
                box->setAttribute(Qt::WA_ShowWithoutActivating);
                box->setWindowModality(Qt::NonModal);
                box->show();
            });
}

void TMainForm::syncChannelText()
{
    const QString text = WindowLook::text(m_engine->ChannelBox().text());
    if (m_channelBox->currentText() != text)
        m_channelBox->setEditText(text);
}

// ---------------------------------------------------------------------------------------
// Start-up and shutdown

void TMainForm::FormCreate()
{
    using namespace MainLayout;
    m_trayVis->LoadSystemCursor(kCrHandPoint, kIdcHand);
    setWindowTitle(decoded(CodeCript::DisplayName));
    m_trayVis->Trayicon().SetToolTip(windowTitle() + tr(kTrayTipSuffix));
    m_userList->setToolTip(decoded(CodeCript::ProductTitle));
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive)
                    m_engine->AppOnActivate();
                else
                    m_engine->AppOnDeactivate();
            });
    if (m_settings.Path.isEmpty())
        m_settings.Path = SettingsFilePath(QCoreApplication::applicationFilePath());
    PlaceAtStart();
    // A panel that comes, goes or changes size later moves the window with it.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::availableGeometryChanged, this, &TMainForm::WorkAreaChanged);
        connect(screen, &QScreen::geometryChanged, this, &TMainForm::WorkAreaChanged);
    }
    m_trayVis->HideTaskbarButton(true);
    m_trayVis->Trayicon().SetAlwaysActive(true);

    // An entry left by a removed or moved program is pointed at this one first.
    Autostart::repair(QCoreApplication::applicationFilePath());
    const bool atLogon = Autostart::isSet();
    if (atLogon) {
        m_showOnStart = false;
        m_trayVis->HideToTray();
        m_startedHidden = true;
    }
    m_engine->FormCreate(atLogon);
}

QPoint TMainForm::StartPosition(int taskbarTop, int screenWidth)
{
    using namespace MainLayout;
    return {screenWidth - kWidth - kRightMargin, taskbarTop - kHeight - kTaskbarGap};
}

namespace {

// How long a window manager may take to minimise a window before the program folds it.
constexpr int kMinimiseCheckMs = 1000;

// The right end of the area windows may take: a panel along the right edge (where the
// window system tells of it) is left free, as one along the bottom is by TaskbarTop.
int rightEnd()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect area = screen->availableGeometry();
    return area.isValid() ? area.x() + area.width() : screen->geometry().width();
}

} // namespace

void TMainForm::PlaceAtStart()
{
    move(StartPosition(TaskbarTop(), rightEnd()));
    m_placedAt = pos();
}

void TMainForm::WorkAreaChanged()
{
    // Where the user has put the windows (by dragging the chat window), they stay.
    if (pos() != m_placedAt)
        return;
    const QPoint place = StartPosition(TaskbarTop(), rightEnd());
    const QPoint shift = place - pos();
    m_placedAt = place;
    if (shift.isNull())
        return;
    // The chat window beside it moves too; the main window follows it.
    if (chatVisible())
        m_chat->move(m_chat->pos() + shift);
    move(place);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_trayVis->HideTaskbarButton(true);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_closed)
        return;
    m_closed = true;
    m_engine->FormClose();
    if (m_chat)
        m_chat->hide();
    emit formClosed();
}

void TMainForm::ExitBtClick()
{
    close();
}

// ---------------------------------------------------------------------------------------
// User list

QList<QByteArray> TMainForm::SelectedNames() const
{
    QList<QByteArray> names;
    const ::UserList &users = m_engine->users();
    for (const int row : users.selectedRows())
        names.append(users.at(row)->Name);
    return names;
}

void TMainForm::UpdateChatTitle()
{
    if (m_chat)
        m_chat->SetTitle(SelectedNames());
}

void TMainForm::UserListSelectItem(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_inSelectItem || m_removingRows)
        return;
    const QScopedValueRollback guard(m_inSelectItem, true);
    QItemSelectionModel *model = m_engine->users().selectionModel();
    // A row made the only selected one (a click on it, or a message from it) while it was
    // already selected is reported only through the others' deselection; it is selected
    // all the same, after them.
    QItemSelection chosen = selected;
    const QModelIndex current = model->currentIndex();
    if (!deselected.isEmpty() && current.isValid() && model->isSelected(current) &&
        !deselected.contains(current) && !selected.contains(current))
        chosen.select(current, current);
    // A row that loses its selection takes every other row's with it; rows selected by the
    // same click come after that, as they do one by one.
    if (!deselected.isEmpty()) {
        model->clearSelection();
        model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        if (m_chat)
            m_chat->SetSendEnabled(false);
        if (!chosen.isEmpty())
            model->select(chosen, QItemSelectionModel::Select);
    }
    if (!chosen.isEmpty()) {
        model->setCurrentIndex(chosen.indexes().constLast(), QItemSelectionModel::NoUpdate);
        if (m_chat && !m_chat->SendEnabled())
            m_chat->SetSendEnabled(true);
    }
    UpdateChatTitle();
}

void TMainForm::UserListDblClick()
{
    showChatWindow();
    restoreChatAsked();
    UpdateChatTitle();
}

void TMainForm::UserListMouseUp()
{
    QCoreApplication::processEvents();
    if (chatVisible())
        m_chat->raise();
    else
        m_bottomPanel->setFocus();
}

void TMainForm::UserPopupPopup()
{
    const bool selected = m_engine->users().selectionModel()->hasSelection();
    m_openchatBt->setEnabled(selected);
    m_showIP->setEnabled(selected);
    m_reloadList->setEnabled(true);
}

void TMainForm::OpenchatBtClick()
{
    if (m_engine->users().selectionModel()->hasSelection()) {
        showChatWindow();
        restoreChatAsked();
    }
}

void TMainForm::restoreChatAsked()
{
    // The user asked for the chat window: a minimised one comes back as well. A message
    // alone never does this; it asks for attention instead.
    if (chatVisible() && m_chat->isMinimized()) {
        m_chat->showNormal();
        m_chat->activateWindow();
    }
}

QByteArray TMainForm::UserIpText(const QByteArray &name, const QByteArray &addr)
{
    // Filled in as bytes: the name keeps every byte the network gave it.
    return TextRules::fillArgs(WindowLook::bytes(tr("User \"%1\" has IP %2")), {name, addr});
}

void TMainForm::ShowIPClick()
{
    const ::UserList &users = m_engine->users();
    const QList<int> rows = users.selectedRows();
    if (rows.isEmpty())
        return;
    const TUser *user = users.at(rows.first());
    messageBox(Box::Information, UserIpText(user->Name, user->Addr));
}

// ---------------------------------------------------------------------------------------
// Tray and menus

void TMainForm::MinimizeBtClick()
{
    if (m_folded) {
        Fold(false);
        return;
    }
    // Without a notification area the window is minimised, and the window system's task bar
    // brings it back. A Wayland compositor may have neither a task bar nor a minimise (a
    // tiling one keeps the window where it is), and the program cannot tell: there the window
    // folds instead.
    if (X11Window::onWayland() && !m_trayVis->Host().available()) {
        Fold(true);
        return;
    }
    m_trayVis->MinimizeToTray();
    if (!m_trayVis->InTray() || !isVisible())
        return;
    // Minimised in place of the tray: an X window manager that ignored the request (as
    // compositors do for their X clients) leaves the window as it was; fold it then.
    QTimer::singleShot(kMinimiseCheckMs, this, [this] {
        if (m_trayVis->InTray() && isVisible() && !X11Window::iconic(windowHandle())) {
            m_trayVis->RestoreFromTray();
            Fold(true);
        }
    });
}

void TMainForm::Fold(bool folded)
{
    using namespace MainLayout;
    if (m_folded == folded)
        return;
    m_folded = folded;
    const int height = folded ? kBottomPanelHeight : kHeight;
    m_mainPanel->setVisible(!folded);
    setFixedSize(kWidth, height);
    m_bottomPanel->move(0, height - kBottomPanelHeight);
}

void TMainForm::RestoreBtClick()
{
    Fold(false);
    if (!chatVisible())
        PlaceAtStart();
    if (m_trayVis->InTray())
        m_trayVis->RestoreFromTray();
    else
        m_engine->postRestore();
}

void TMainForm::TrayVisTrayRestore()
{
    if (!m_startedHidden)
        return;
    // A window hidden at a start at log-on was never shown by the event loop.
    m_startedHidden = false;
    show();
    raise();
    activateWindow();
}

void TMainForm::ConfigBtClick()
{
    QCoreApplication::processEvents();
    {
        TConfigForm dialog(*m_engine, *this, this);
        runDialog(dialog);
    }
    m_engine->resumeOnline();
}

void TMainForm::AboutBtClick()
{
    // Hidden in the tray, the main window is no window to stand above.
    TAboutForm about(isVisible() ? this : nullptr);
    runDialog(about);
}

void TMainForm::MoreprodBtClick()
{
    WindowLook::linkOpener()(TAboutForm::WebTarget());
}

void TMainForm::runDialog(QWidget &dialog)
{
    if (m_seams.runDialog) {
        m_seams.runDialog(dialog);
        return;
    }
    if (auto *modal = qobject_cast<QDialog *>(&dialog))
        modal->exec();
}

void TMainForm::openPopup(QMenu *menu, QWidget *at, const QPoint &local)
{
    menu->popup(at->mapToGlobal(local));
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_channelBox || watched == m_channelBox->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                m_engine->ChannelBoxKeyDown(VirtualKey::Enter))
                return true; // the box never sees the Enter key
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            // The drop-down list and menus take the focus only for a moment.
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                m_engine->ChannelBoxExit();
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Shift+F10 opens the focused control's menu, as the menu key does.
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            auto *w = qobject_cast<QWidget *>(watched);
            if (w && w->contextMenuPolicy() == Qt::CustomContextMenu) {
                emit w->customContextMenuRequested(QPoint(4, 4));
                return true;
            }
        }
        if (watched == m_bottomPanel && key->key() == Qt::Key_Escape) {
            MinimizeBtClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// The engine's window interface

void TMainForm::showChatWindow()
{
    if (chatVisible())
        return;
    if (m_trayVis->InTray())
        PlaceAtStart();
    chat().OpenBeside(*this);
}

void TMainForm::AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                           quint32 textColor, bool outgoing)
{
    chat().AddMessage(name, text, nameColor, textColor, outgoing);
}

void TMainForm::attention()
{
    chat().attention();
}

bool TMainForm::messageBox(Box kind, const QByteArray &text)
{
    if (m_unattended) {
        QByteArray line = text;
        line.replace("\r\n", " ");
        std::fprintf(stderr, "tolvex: %s\n", WindowLook::text(line).toLocal8Bit().constData());
        std::fflush(stderr);
        m_unattendedError = m_unattendedError || kind == Box::Error;
        return false;
    }
    if (m_seams.messageBox)
        return m_seams.messageBox(kind, text);
    QMessageBox box(this);
    box.setWindowTitle(windowTitle());
    // Names and channels come from the network: never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(WindowLook::text(text));
    switch (kind) {
    case Box::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Box::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Box::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    return box.exec() == QMessageBox::Yes;
}

void TMainForm::giveFocus(Focus target)
{
    if (target == Focus::UserList)
        m_userList->setFocus();
    else
        m_bottomPanel->setFocus();
}

void TMainForm::clearSendEdit()
{
    if (m_chat)
        m_chat->clearSendEdit();
}

void TMainForm::bringToFront()
{
    if (m_trayVis->InTray())
        return;
    m_trayVis->BringToTop(true, false, false);
    activateWindow();
}

void TMainForm::showAboutFirstRun()
{
    // The settings are read but not yet applied while the window is open: the box shows the
    // channel the start comes up on.
    if (m_channelBox->currentText().isEmpty())
        m_channelBox->setEditText(WindowLook::text(FirstRunChannel(m_settings.Path)));
    AboutBtClick();
}

QByteArray TMainForm::FirstRunChannel(const QString &settingsPath)
{
    return LoadChannels(settingsPath).text;
}

void TMainForm::QueueLine(const QByteArray &line)
{
    m_engine->postQueueMessage(line);
}

void TMainForm::HideTaskbarButton()
{
    m_trayVis->HideTaskbarButton(true);
}
