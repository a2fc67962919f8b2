#pragma once

#include "net/WSocketTypes.h"

#include <QEvent>
#include <QObject>

class TCustomWSocket;

/// A request posted to a socket's hidden window.
class TSocketEvent final : public QEvent
{
public:
    explicit TSocketEvent(TWindowMessage msg);
    TWindowMessage Msg;
};

/// The socket's hidden window: the notifiers and the posted requests reach the socket
/// through it, one at a time, on the socket's thread.
class TSocketWindow final : public QObject
{
public:
    explicit TSocketWindow(TCustomWSocket *socket) : m_socket(socket) {}

    /// Hands a message to the socket, unless it has gone.
    void deliver(const TWindowMessage &msg, bool posted = false);
    /// The socket is going away; the window goes too, or after the delivery in progress.
    void detach();

protected:
    bool event(QEvent *e) override;

private:
    TCustomWSocket *m_socket;
    int m_depth = 0;
};
