#pragma once

#include "net/WSocketTypes.h"

#include <QEvent>
#include <QObject>

class TCustomWSocket;

/// A request posted to a socket's hidden window.
class SocketEvent final : public QEvent
{
public:
    explicit SocketEvent(WindowMessage msg);
    WindowMessage Msg;
};

/// The socket's hidden window: the notifiers and the posted requests reach the socket
/// through it, one at a time, on the socket's thread.
class SocketWindow final : public QObject
{
public:
    explicit SocketWindow(TCustomWSocket *socket) : m_socket(socket) {}

    /// Hands a message to the socket, unless it has gone.
    void deliver(const WindowMessage &msg, bool posted = false);
    /// The socket is going away; the window goes too, or after the delivery in progress.
    void detach();

protected:
    bool event(QEvent *e) override;

private:
    TCustomWSocket *m_socket;
    int m_depth = 0;
};
