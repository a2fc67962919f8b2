#pragma once

#include <QByteArray>

/// What the windows do for the messaging engine. The desktop main window implements it
/// over its chat window and message boxes; the terminal front-end and tests implement it
/// too. Every call is made on the engine's thread, from inside an engine handler.
class EngineWindows
{
public:
    enum class Box
    {
        Error,
        Information,
        Confirmation
    };
    enum class Focus
    {
        UserList,
        BottomPanel
    };

    virtual ~EngineWindows() = default;

    /// Shows the chat window beside the main window; nothing when it is visible already.
    virtual void showChatWindow() = 0;
    /// Appends one transcript entry: name and mark ("< " when outgoing, else "> ") in the
    /// name colour and bold, then the text; colours are 0x00BBGGRR.
    virtual void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                            quint32 textColor, bool outgoing) = 0;
    /// The chat window's attention signal (deferred event 1030): two tones, raised without
    /// taking the focus, one flash.
    virtual void attention() = 0;
    /// A modal box with OK (Error, Information) or Yes and No (Confirmation); true on Yes.
    virtual bool messageBox(Box kind, const QByteArray &text) = 0;
    /// Moves the keyboard focus to a control of the main window.
    virtual void giveFocus(Focus target) = 0;
    /// Empties the chat window's composing line once its text has been queued.
    virtual void clearSendEdit() = 0;
    /// Deferred event 1025: raise and activate the main window unless it is in the tray.
    virtual void bringToFront() = 0;
    /// The about window, modal, on the first run (before the presence timer starts).
    virtual void showAboutFirstRun() = 0;
};
