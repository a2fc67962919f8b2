#pragma once

#include "engine/EngineWindows.h"

#include <QByteArray>
#include <QList>
#include <functional>

/// The windows' side of the engine for tests: records every call.
class RecordingWindows final : public EngineWindows
{
public:
    struct Entry
    {
        QByteArray name;
        QByteArray text;
        quint32 nameColor;
        quint32 textColor;
        bool outgoing;
    };
    struct ShownBox
    {
        Box kind;
        QByteArray text;
    };

    void showChatWindow() override { ++chatShown; }
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32 nameColor,
                    quint32 textColor, bool outgoing) override
    {
        transcript.append({name, text, nameColor, textColor, outgoing});
        if (whileAdding)
            whileAdding();
    }
    void attention() override { ++attentionCalls; }
    bool messageBox(Box kind, const QByteArray &text) override
    {
        boxes.append({kind, text});
        return confirm;
    }
    void giveFocus(Focus target) override { focus.append(target); }
    void clearSendEdit() override { ++sendEditCleared; }
    void bringToFront() override { ++broughtToFront; }
    void showAboutFirstRun() override { ++aboutShown; }

    QList<Entry> transcript;
    QList<ShownBox> boxes;
    QList<Focus> focus;
    int chatShown = 0;
    int attentionCalls = 0;
    int sendEditCleared = 0;
    int broughtToFront = 0;
    int aboutShown = 0;
    bool confirm = true;
    /// Runs inside every AddMessage, as events would in a window that pumps the loop there.
    std::function<void()> whileAdding;
};
