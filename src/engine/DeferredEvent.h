#pragma once

#include <QByteArray>
#include <QEvent>

/// A numbered deferred event (1025 to 1030) with its two parameters. A peer is named by
/// its record's identity, never by a pointer; event 1029 carries the composed line.
class DeferredEvent final : public QEvent
{
public:
    enum Number
    {
        Restore = 1025,      ///< raise the main window
        StartUp = 1026,      ///< load the settings, arm the presence timer
        Announce = 1027,     ///< open the endpoint if needed and announce
        SendDirect = 1028,   ///< (1, peer): answer one peer; (2, 0): send the next line
        QueueMessage = 1029, ///< give the composed line to every selected peer
        Attention = 1030,    ///< the chat window's attention signal
    };

    explicit DeferredEvent(Number number, int first = 0, quint64 second = 0, QByteArray text = {});
    ~DeferredEvent() override;

    Number number() const { return static_cast<Number>(type()); }
    int first() const { return m_first; }
    quint64 second() const { return m_second; }
    const QByteArray &text() const { return m_text; }

private:
    int m_first;
    quint64 m_second;
    QByteArray m_text;
};
