#include "net/SocketWindow.h"

#include "net/CustomWSocket.h"

#include <utility>

SocketEvent::SocketEvent(WindowMessage msg) : QEvent(QEvent::Type(msg.Msg)), Msg(std::move(msg)) {}

void SocketWindow::deliver(const WindowMessage &msg, bool posted)
{
    if (!m_socket)
        return;
    ++m_depth;
    m_socket->dispatchWindowMessage(msg, posted);
    --m_depth;
    if (!m_socket && m_depth == 0)
        deleteLater();
}

// If the socket goes from inside one of our own deliveries the window must outlive that call.
void SocketWindow::detach()
{
    m_socket = nullptr;
    if (m_depth == 0)
        delete this;
}

bool SocketWindow::event(QEvent *e)
{
    if (auto *ev = dynamic_cast<SocketEvent *>(e)) {
        deliver(ev->Msg, true);
        return true;
    }
    return QObject::event(e);
}
