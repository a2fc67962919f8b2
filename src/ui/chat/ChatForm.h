#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QWidget>
#include <functional>

class ChatHost;
class QAbstractButton;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTextEdit;
class QToolButton;
class TImageBt;
class TXPMenu;

/// The conversation window: the transcript, the composing line with its send button, the
/// title, and a frame of its own (drag bar, resize grip, hide and minimise buttons) that
/// keeps the main window attached to its right. Created once, hidden, and only shown and
/// hidden afterwards; it knows nothing of peers and hands typed lines to its host.
class TChatForm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TChatForm)

public:
    /// Plays the attention tones; false when no sound device took them.
    using TonePlayer = std::function<bool()>;
    /// Asks the window system to draw the user's attention to a window.
    using Flasher = std::function<void(QWidget &window)>;

    explicit TChatForm(ChatHost &host, QWidget *parent = nullptr);
    ~TChatForm() override;

    /// Appends one transcript entry; colours are 0x00BBGGRR, name and text Windows-1252.
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                    quint32 textColor, bool outgoing);
    /// The title from the selected users' names (joined by ", " in navy, or the display name
    /// in gray): CaptionLabel's text (elided where it does not fit) and hint, and the
    /// window's own caption.
    void SetTitle(const QList<QByteArray> &selectedNames);
    void SetSendEnabled(bool enabled);
    bool SendEnabled() const;
    void clearSendEdit();
    /// Nothing when visible; otherwise 250 x 180 (also the minimum size), beside the main
    /// window with a 5-pixel gap (PlaceBeside), then shown. Opened while the
    /// program has no active window on a window system that may focus it anyway, it stays
    /// hidden (attention() tells of the message).
    void OpenBeside(const QWidget &mainWindow);

    /// Which side of the main window the chat window sits on; Over when the area has room
    /// for neither and the window is pulled inside it, over the main window.
    enum class Side
    {
        Left,
        Right,
        Over
    };
    struct Placement
    {
        QPoint pos;
        Side side = Side::Left;
    };
    /// Where a chat window frame of that size opens beside the main window's frame: left of
    /// it where that is inside the available area, else right of it, else moved inside the
    /// area (its left part shown first when it is wider); top edges aligned unless that
    /// leaves the area.
    static Placement PlaceBeside(const QRect &mainFrame, const QSize &chatFrame,
                                 const QRect &available);
    /// Event 1030: two tones (the display bell without a sound device), raised above other
    /// windows without taking the keyboard focus, and a flash in the task bar. Where the
    /// window is hidden or the window system is not trusted with it, a desktop notice tells
    /// of the message; a click on the notice runs the opener set below.
    void attention();
    /// What a click on the desktop notice does: the user asks for the chat window.
    void setNoticeOpener(std::function<void()> open) { m_noticeOpener = std::move(open); }

    QTextEdit *Memo() const { return m_memo; }
    QLineEdit *SendEdit() const { return m_sendEdit; }
    QAbstractButton *SendBt() const;
    QLabel *CaptionLabel() const { return m_captionLabel; }
    QWidget *TopPanel() const { return m_topPanel; }
    QWidget *BottomPanel() const { return m_bottomPanel; }
    QLabel *ResizeImage() const { return m_resizeImage; }
    TImageBt *MinimizeBt() const { return m_minimizeBt; }
    TImageBt *CloseBt() const { return m_closeBt; }
    QMenu *UtilsPopup() const { return m_utilsPopup; }
    QAction *CopytoclipBt() const { return m_copyAction; }
    QAction *CleartextBt() const { return m_clearAction; }
    QAction *SavetofileBt() const { return m_saveAction; }
    bool Resizing() const { return m_resizing; }

    /// The handlers, callable directly.
    void SendBtClick();
    void UtilsPopupPopup();
    void CopytoclipBtClick();
    void CleartextBtClick();
    /// Asks for a file name (the chat title proposed) and saves the transcript there.
    void SavetofileBtClick();
    /// Writes the transcript as RTF to path, replacing the file at once or not at all; a
    /// failure is reported in a message box. False when nothing was written.
    bool SaveTranscript(const QString &path);

    /// Replace the sound and the task-bar flash, for tests.
    void SetTonePlayer(TonePlayer player) { m_tonePlayer = std::move(player); }
    void SetFlasher(Flasher flasher) { m_flasher = std::move(flasher); }

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void buildMenu();
    void layoutControls();
    void followMainWindow();
    void floatBeside(const QWidget &mainWindow);
    void elideTitle();
    bool sendEditKeyDown(QKeyEvent *event);
    bool topPanelMouse(QEvent *event);
    bool resizeImageMouse(QEvent *event);

    ChatHost &m_host;
    QWidget *m_topPanel = nullptr;
    QLabel *m_captionLabel = nullptr;
    TImageBt *m_minimizeBt = nullptr;
    TImageBt *m_closeBt = nullptr;
    QTextEdit *m_memo = nullptr;
    QWidget *m_bottomPanel = nullptr;
    QLineEdit *m_sendEdit = nullptr;
    QToolButton *m_sendBt = nullptr;
    QLabel *m_resizeImage = nullptr;
    QMenu *m_utilsPopup = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_clearAction = nullptr;
    QAction *m_saveAction = nullptr;
    TXPMenu *m_xpMenu = nullptr;
    TonePlayer m_tonePlayer;
    Flasher m_flasher;
    QString m_title;
    QString m_lastIncoming;
    std::function<void()> m_noticeOpener;
    bool m_resizing = false;
    Side m_side = Side::Left;
    // Where the main window sits from this window's top-left when placed over it, and its
    // offset from the top edge otherwise.
    QPoint m_mainOffset;
    // Moving by hand where the window system offers no move of its own.
    bool m_dragging = false;
    QPoint m_dragOffset;
};
