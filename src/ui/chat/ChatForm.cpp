#include "ui/chat/ChatForm.h"

#include "app/CodeCript.h"
#include "engine/Datagram.h"
#include "engine/TextRules.h"
#include "platform/AtomicFile.h"
#include "platform/desktop/DesktopNotice.h"
#include "platform/desktop/Tone.h"
#include "platform/desktop/WaylandAttention.h"
#include "platform/desktop/X11Window.h"
#include "ui/WindowLook.h"
#include "ui/chat/ChatHost.h"
#include "ui/chat/ChatLook.h"
#include "ui/chat/ChatRules.h"
#include "ui/chat/RtfWriter.h"
#include "ui/chat/Transcript.h"
#include "ui/components/ImageBt.h"
#include "ui/components/XPMenu.h"
#include "ui/config/CodePageGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

// The pictures live in this library's resource file; a static library must register it.
static void initChatResources()
{
    Q_INIT_RESOURCE(chat);
}

using namespace ChatLook;

namespace {

QPixmap art(const char *name)
{
    return WindowLook::picture(QStringLiteral(":/chat/art/%1.png").arg(QLatin1String(name)));
}

void setFieldColors(QWidget &widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, WindowLook::color(kMemoColor));
    palette.setColor(QPalette::Text, WindowLook::color(WindowLook::kBlack));
    widget.setPalette(palette);
    widget.setFont(WindowLook::windowFont());
}

TImageBt *frameButton(QWidget *parent, const char *name, const char *hint, const char *picture)
{
    auto *button = new TImageBt(parent);
    button->setObjectName(QLatin1String(name));
    button->resize(kFrameButtonSize, kFrameButtonSize);
    button->SetPictNorm(art((QByteArray(picture) + "-normal").constData()));
    button->SetPictOver(art((QByteArray(picture) + "-over").constData()));
    button->SetPictPres(art((QByteArray(picture) + "-pressed").constData()));
    button->SetTransparent(false);
    button->setToolTip(QCoreApplication::translate("TChatForm", hint));
    button->setAccessibleName(QCoreApplication::translate("TChatForm", hint));
    button->SetShowHint(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

bool tonesOnDevice()
{
    const Tone::Note notes[] = {
        {kFirstToneHz, kToneMs}, {0, kTonePauseMs}, {kSecondToneHz, kToneMs}};
    return Tone::play(notes);
}

} // namespace

TChatForm::TChatForm(ChatHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_host(host),
      m_tonePlayer(tonesOnDevice), m_flasher([](QWidget &window) {
          // Until the user comes to the window: a user away from the desk sees it when back.
          QApplication::alert(&window, 0);
          // A window the user is at already has the attention; its hint would stay.
          if (!window.isActiveWindow()) {
              X11Window::setUrgent(window.windowHandle(), true);
              // The toolkit's alert is lost on native Wayland; the compositor's urgency is not.
              WaylandAttention::ask(window.windowHandle());
          }
      })
{
    initChatResources();
    setObjectName(QStringLiteral("ChatForm"));
    // Closing hides; the window lives as long as the program and never ends it.
    setAttribute(Qt::WA_QuitOnClose, false);
    WindowLook::paintBackground(*this, kWindowColor);
    buildControls();
    buildMenu();
    SetTitle({});
    resize(kOpenWidth, kOpenHeight);
    setMinimumSize(kOpenWidth, kOpenHeight);
}

TChatForm::~TChatForm() = default;

void TChatForm::buildControls()
{
    m_topPanel = new QWidget(this);
    m_topPanel->setObjectName(QStringLiteral("TopPanel"));
    WindowLook::paintBackground(*m_topPanel, kWindowColor);
    m_topPanel->installEventFilter(this);

    m_captionLabel = new QLabel(m_topPanel);
    m_captionLabel->setObjectName(QStringLiteral("CaptionLabel"));
    m_captionLabel->setTextFormat(Qt::PlainText); // peers' names, never markup
    QFont bold = WindowLook::windowFont();
    bold.setBold(true);
    m_captionLabel->setFont(bold);
    m_captionLabel->installEventFilter(this);

    m_minimizeBt = frameButton(m_topPanel, "MinimizeBt", kMinimizeHint, "minimize");
    m_minimizeBt->OnClick = [this](TImageBt *) { showMinimized(); };
    m_closeBt = frameButton(m_topPanel, "CloseBt", kCloseHint, "close");
    m_closeBt->OnClick = [this](TImageBt *) { hide(); };

    m_memo = new QTextEdit(this);
    m_memo->setObjectName(QStringLiteral("Memo"));
    m_memo->setAccessibleName(tr("Transcript"));
    m_memo->setReadOnly(true);
    m_memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_memo->setFrameShape(QFrame::NoFrame);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memo->setLineWrapMode(QTextEdit::WidgetWidth);
    setFieldColors(*m_memo);
    m_memo->document()->setDefaultFont(WindowLook::windowFont());
    // The document's default margin of 4 wastes a line's worth of a 180-pixel window.
    m_memo->document()->setDocumentMargin(2);
    Transcript::Prepare(*m_memo->document());
    m_memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memo, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        UtilsPopupPopup();
        m_utilsPopup->popup(m_memo->viewport()->mapToGlobal(pos));
    });

    m_bottomPanel = new QWidget(this);
    m_bottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    WindowLook::paintBackground(*m_bottomPanel, kWindowColor);

    m_sendEdit = new QLineEdit(m_bottomPanel);
    m_sendEdit->setObjectName(QStringLiteral("SendEdit"));
    m_sendEdit->setAccessibleName(tr("Message"));
    m_sendEdit->setMaxLength(kSendEditMaxLength);
    setFieldColors(*m_sendEdit);
    m_sendEdit->installEventFilter(this);
    // What the line shows is what goes out.
    new CodePageGuard(*m_sendEdit, Datagram::kMaxMessageText);

    m_sendBt = new QToolButton(m_bottomPanel);
    m_sendBt->setObjectName(QStringLiteral("SendBt"));
    m_sendBt->setToolTip(tr(kSendHint));
    m_sendBt->setAccessibleName(tr(kSendHint));
    m_sendBt->setCursor(Qt::PointingHandCursor);
    QIcon glyph;
    glyph.addPixmap(art("send-normal"), QIcon::Normal);
    glyph.addPixmap(art("send-disabled"), QIcon::Disabled);
    m_sendBt->setIcon(glyph);
    m_sendBt->setIconSize(QSize(kGlyphSize, kGlyphSize));
    // Flat until hovered, like the picture buttons of the top bar.
    m_sendBt->setAutoRaise(true);
    connect(m_sendBt, &QToolButton::clicked, this, &TChatForm::SendBtClick);

    m_resizeImage = new QLabel(m_bottomPanel);
    m_resizeImage->setObjectName(QStringLiteral("ResizeImage"));
    m_resizeImage->setPixmap(art("resize-grip"));
    m_resizeImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_resizeImage->setCursor(Qt::SizeFDiagCursor);
    m_resizeImage->setToolTip(tr(kResizeHint));
    m_resizeImage->setAccessibleName(tr(kResizeHint));
    m_resizeImage->installEventFilter(this);

    // Typing is what the window is for: the composing line comes first.
    setTabOrder(m_sendEdit, m_sendBt);
    setTabOrder(m_sendBt, m_memo);
}

void TChatForm::buildMenu()
{
    m_utilsPopup = new QMenu(this);
    m_utilsPopup->setObjectName(QStringLiteral("UtilsPopup"));
    m_copyAction = m_utilsPopup->addAction(QIcon(art("copy")), tr(kCopyCaption), this,
                                           &TChatForm::CopytoclipBtClick);
    m_copyAction->setObjectName(QStringLiteral("CopytoclipBt"));
    m_clearAction = m_utilsPopup->addAction(QIcon(art("clear")), tr(kClearCaption), this,
                                            &TChatForm::CleartextBtClick);
    m_clearAction->setObjectName(QStringLiteral("CleartextBt"));
    m_saveAction = m_utilsPopup->addAction(QIcon(art("save")), tr(kSaveCaption), this,
                                           &TChatForm::SavetofileBtClick);
    m_saveAction->setObjectName(QStringLiteral("SavetofileBt"));
    m_xpMenu = new TXPMenu(this);
    m_xpMenu->setObjectName(QStringLiteral("XPMenu1"));
    WindowLook::applyMenuSkin(*m_xpMenu);
}

void TChatForm::layoutControls()
{
    const int w = width();
    const int h = height();
    m_topPanel->setGeometry(0, 0, w, kTopPanelHeight);
    const int minimizeLeft = w - kMinimizeFromRight;
    m_minimizeBt->move(minimizeLeft, kFrameButtonTop);
    m_closeBt->move(w - kCloseFromRight, kFrameButtonTop);
    // The title stops short of the buttons; a long one is cut there.
    m_captionLabel->setGeometry(kCaptionLeft, kCaptionTop,
                                std::max(0, minimizeLeft - 2 - kCaptionLeft),
                                kTopPanelHeight - kCaptionTop);
    m_captionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    elideTitle();

    m_memo->setGeometry(0, kTopPanelHeight, w,
                        std::max(0, h - kTopPanelHeight - kBottomPanelHeight));
    m_bottomPanel->setGeometry(0, h - kBottomPanelHeight, w, kBottomPanelHeight);
    m_sendEdit->setGeometry(kSendEditLeft, kSendEditTop,
                            std::max(0, w - kSendEditLeft - kSendEditRightMargin), kSendEditHeight);
    m_sendBt->setGeometry(w - kSendBtFromRight, kSendBtTop, kSendBtWidth, kSendBtHeight);
    m_resizeImage->setGeometry(w - kGripWidth, kBottomPanelHeight - kGripHeight, kGripWidth,
                               kGripHeight);
}

QAbstractButton *TChatForm::SendBt() const
{
    return m_sendBt;
}

void TChatForm::AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                           quint32 textColor, bool outgoing)
{
    if (!outgoing)
        m_lastIncoming = WindowLook::text(name) + QStringLiteral(": ") + WindowLook::text(text);
    QWidget *viewport = m_memo->viewport();
    // The caret goes to the end first, so that a selection never takes the entry's place.
    QTextCursor caret = m_memo->textCursor();
    if (caret.hasSelection() || !caret.atEnd()) {
        caret.movePosition(QTextCursor::End);
        m_memo->setTextCursor(caret);
    }
    // No painting while the entry goes in: the view is drawn once, with the entry in view.
    // Repainting resumes whatever happens in between.
    struct Resume
    {
        QWidget *viewport;
        ~Resume()
        {
            viewport->setUpdatesEnabled(true);
            viewport->update();
        }
    } resume{viewport};
    viewport->setUpdatesEnabled(false);
    Transcript::AppendEntry(*m_memo->document(), name, text, nameColor, textColor, outgoing);
    m_memo->ensureCursorVisible();
}

void TChatForm::SetTitle(const QList<QByteArray> &selectedNames)
{
    const ChatRules::Title title = ChatRules::ChatTitle(selectedNames);
    m_title = title.text;
    elideTitle();
    QPalette palette = m_captionLabel->palette();
    palette.setColor(QPalette::WindowText, WindowLook::color(title.color));
    m_captionLabel->setPalette(palette);
    // The program's tip style shows hints as plain text.
    m_captionLabel->setToolTip(title.text);
    // "[*]" in a caption marks where a modified window shows its star; doubled it is text.
    setWindowTitle(QString(title.text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}

void TChatForm::elideTitle()
{
    // A long title ends in "..." before the minimise button instead of running under it.
    const int room = m_captionLabel->width();
    m_captionLabel->setText(
        room > 0 ? m_captionLabel->fontMetrics().elidedText(m_title, Qt::ElideRight, room)
                 : m_title);
}

void TChatForm::SetSendEnabled(bool enabled)
{
    m_sendBt->setEnabled(enabled);
}

bool TChatForm::SendEnabled() const
{
    return m_sendBt->isEnabled();
}

void TChatForm::clearSendEdit()
{
    m_sendEdit->clear();
}

void TChatForm::OpenBeside(const QWidget &mainWindow)
{
    if (isVisible())
        return;
    // Every opening from hidden starts again at the opening size, which is also the least.
    setMinimumSize(0, 0);
    resize(kOpenWidth, kOpenHeight);
    setMinimumSize(size());
    // Minimised before it was hidden, the window would come back minimised: the toolkit's
    // state may still say so, and the window manager reads "start iconic" from the hints
    // the minimising left even after it restored the window.
    setWindowState(windowState() & ~Qt::WindowMinimized);
    X11Window::setOpensNormal(windowHandle());
    const QRect main = mainWindow.frameGeometry();
    const QScreen *screen = mainWindow.screen();
    const Placement place =
        PlaceBeside(main, frameGeometry().size(), screen ? screen->availableGeometry() : QRect());
    m_side = place.side;
    m_mainOffset = main.topLeft() - place.pos;
    move(place.pos);
    // A message that opens the window while the user works in another program must not
    // take the keyboard from it; opened from within the program, the window is activated.
    const bool fromWithin = QApplication::activeWindow() != nullptr && X11Window::holdsInputFocus();
    // Where the window system may focus any new window, a message does not open the window:
    // the attention signal tells of it, and the user opens the window when ready.
    if (!fromWithin && !X11Window::showsWithoutFocus())
        return;
    setAttribute(Qt::WA_ShowWithoutActivating, !fromWithin);
    floatBeside(mainWindow);
    show();
    if (fromWithin)
        activateWindow();
}

void TChatForm::floatBeside(const QWidget &mainWindow)
{
    // A Wayland compositor places windows itself; a tiling one lays out every window that
    // does not ask to float, drawing its own title bar over the window's own top bar. A
    // window that belongs to another one floats there, undecorated, like the main window
    // with its fixed size. X11 window managers keep the window as it is: there it belongs
    // to no other window, so that it keeps its own task-bar entry.
    if (!X11Window::onWayland())
        return;
    if (!windowHandle())
        create();
    if (windowHandle() && mainWindow.windowHandle())
        windowHandle()->setTransientParent(mainWindow.windowHandle());
}

TChatForm::Placement TChatForm::PlaceBeside(const QRect &mainFrame, const QSize &chatFrame,
                                            const QRect &available)
{
    const int left = mainFrame.x() - chatFrame.width() - kMainGap;
    const int right = mainFrame.x() + mainFrame.width() + kMainGap;
    Placement place{{left, mainFrame.y()}, Side::Left};
    if (!available.isValid())
        return place;
    const int lastX = available.x() + available.width() - chatFrame.width();
    const int lastY = available.y() + available.height() - chatFrame.height();
    if (left < available.x()) {
        const bool roomRight = right <= lastX;
        place.side = roomRight ? Side::Right : Side::Over;
        place.pos.setX(roomRight ? right : available.x());
    }
    place.pos.setY(std::max(available.y(), std::min(mainFrame.y(), lastY)));
    return place;
}

void TChatForm::attention()
{
    if (!m_tonePlayer || !m_tonePlayer())
        QApplication::beep();
    const bool safe = X11Window::showsWithoutFocus();
    // Raised, not activated: the keyboard focus stays where the user is typing. Where the
    // window system may take raising as activation, the window stays where it is.
    if (isVisible() && safe)
        raise();
    if (m_flasher)
        m_flasher(*this);
    // A hidden window, or one the user may not see, is told of by the desktop's notices;
    // not while the user is in the program, where the chat window opens in view. Through
    // XWayland the toolkit keeps a window active after a Wayland program took the keyboard,
    // so there only the chat window itself counts, and the X server must agree.
    const bool userHere =
        X11Window::holdsInputFocus() &&
        (X11Window::onXWayland() ? isActiveWindow() : QApplication::activeWindow() != nullptr);
    if (!userHere && (!isVisible() || !safe))
        DesktopNotice::show(WindowLook::text(CodeCript::Decode(CodeCript::DisplayName)),
                            m_lastIncoming, m_noticeOpener);
}

void TChatForm::SendBtClick()
{
    const QByteArray typed = TextRules::trimTrailingBlanks(WindowLook::bytes(m_sendEdit->text()));
    m_sendEdit->setText(WindowLook::text(typed));
    if (typed.isEmpty() || !m_sendBt->isEnabled())
        return;
    const QByteArray line = TextRules::prepareChatLine(typed);
    m_sendEdit->setText(WindowLook::text(line));
    m_host.QueueLine(line);
}

void TChatForm::UtilsPopupPopup()
{
    const ChatRules::UtilsMenuState state =
        ChatRules::UtilsMenu(m_memo->textCursor().hasSelection(), m_memo->document()->isEmpty());
    m_copyAction->setEnabled(state.copy);
    m_clearAction->setEnabled(state.clear);
    m_saveAction->setEnabled(state.save);
}

void TChatForm::CopytoclipBtClick()
{
    const QTextCursor selection = m_memo->textCursor();
    if (!selection.hasSelection())
        return;
    const QTextDocumentFragment fragment = selection.selection();
    // Rich text for editors, plain text for everything else, RTF for word processors.
    auto *data = new QMimeData;
    data->setHtml(fragment.toHtml());
    data->setText(fragment.toPlainText());
    QTextDocument copy;
    QTextCursor(&copy).insertFragment(fragment);
    data->setData(QStringLiteral("text/rtf"), RtfWriter::write(copy));
    QGuiApplication::clipboard()->setMimeData(data);
}

void TChatForm::CleartextBtClick()
{
    m_memo->document()->clear();
    Transcript::Prepare(*m_memo->document());
}

void TChatForm::SavetofileBtClick()
{
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(tr(kSaveFilter));
    dialog.setDefaultSuffix(QLatin1String(kSaveSuffix));
    dialog.selectFile(ChatRules::ProposedFileName(m_title));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SaveTranscript(dialog.selectedFiles().constFirst());
}

bool TChatForm::SaveTranscript(const QString &path)
{
    // Written beside the file and renamed over it: a failure leaves the old file as it was.
    if (AtomicFile::write(path, RtfWriter::write(*m_memo->document())))
        return true;
    QMessageBox::critical(this, WindowLook::text(CodeCript::Decode(CodeCript::DisplayName)),
                          tr("Cannot create file \"%1\".").arg(QDir::toNativeSeparators(path)));
    return false;
}

bool TChatForm::event(QEvent *event)
{
    // FormActivate: typing goes to the composing line.
    if (event->type() == QEvent::WindowActivate) {
        m_sendEdit->setFocus(Qt::ActiveWindowFocusReason);
        // The user has come to the window: the attention it asked for is given.
        X11Window::setUrgent(windowHandle(), false);
    }
    return QWidget::event(event);
}

bool TChatForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sendEdit && event->type() == QEvent::KeyPress)
        return sendEditKeyDown(static_cast<QKeyEvent *>(event));
    if (watched == m_topPanel || watched == m_captionLabel)
        return topPanelMouse(event);
    if (watched == m_resizeImage)
        return resizeImageMouse(event);
    return QWidget::eventFilter(watched, event);
}

bool TChatForm::sendEditKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Shift, Ctrl and Alt make no difference; with the button disabled the key does
        // nothing, and the edit field never sees it.
        if (m_sendBt->isEnabled())
            SendBtClick();
        return true;
    case Qt::Key_Escape:
        m_sendEdit->clear();
        return true;
    default:
        return false;
    }
}

bool TChatForm::topPanelMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        // The window system's own move loop where it has one; otherwise follow the mouse.
        QWindow *window = windowHandle();
        m_dragging = !(window && window->startSystemMove());
        m_dragOffset = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove:
        if (!m_dragging)
            return false;
        move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_dragOffset);
        return true;
    case QEvent::MouseButtonRelease:
        if (!m_dragging || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

bool TChatForm::resizeImageMouse(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_resizing = true; // any button
        return true;
    case QEvent::MouseMove: {
        if (!m_resizing)
            return false;
        // The bottom-right corner goes to the pointer; the minimum size still holds.
        const QPoint cursor = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        const QRect frame = frameGeometry();
        resize(cursor.x() - frame.x(), cursor.y() - frame.y());
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_resizing = false;
        return true;
    default:
        return false;
    }
}

void TChatForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_host.HideTaskbarButton();
}

void TChatForm::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    followMainWindow();
}

void TChatForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
    followMainWindow();
}

void TChatForm::followMainWindow()
{
    if (!isVisible())
        return;
    QWidget *main = m_host.FollowingWindow();
    if (!main)
        return;
    const QRect frame = frameGeometry();
    switch (m_side) {
    case Side::Left:
        main->move(frame.x() + frame.width() + kMainGap, frame.y() + m_mainOffset.y());
        break;
    case Side::Right:
        // Growing by the grip goes away from the main window, which stays where it is.
        main->move(frame.x() - kMainGap - main->frameGeometry().width(),
                   frame.y() + m_mainOffset.y());
        break;
    case Side::Over:
        main->move(frame.topLeft() + m_mainOffset);
        break;
    }
}
