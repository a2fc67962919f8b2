#pragma once

#include <QByteArray>

class QWidget;

/// What the chat window needs from the main window; the main window implements it, and a
/// test can stand in for it.
class ChatHost
{
public:
    virtual ~ChatHost() = default;

    /// The main window, which follows the chat window 5 pixels to its right with the top
    /// edges aligned while the chat window moves or is resized.
    virtual QWidget *FollowingWindow() = 0;
    /// Event 1029: the composing line holds a prepared line (trailing blanks and control
    /// characters removed, at most 1000 characters, each "|" turned into CR LF).
    virtual void QueueLine(const QByteArray &line) = 0;
    /// The chat window was shown: the application's own task-bar entry stays hidden while
    /// the chat window shows its own.
    virtual void HideTaskbarButton() = 0;
};
