#include "net/SocketWindow.h"

#include "net/CustomWSocket.h"

#include <utility>

TSocketEvent::TSocketEvent(TWindowMessage msg) : QEvent(QEvent::Type(msg.Msg)), Msg(std::move(msg))
{}

void TSocketWindow::deliver(const TWindowMessage &msg, bool posted)
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
void TSocketWindow::detach()
{
    m_socket = nullptr;
    if (m_depth == 0)
        delete this;
}

bool TSocketWindow::event(QEvent *e)
{
    if (auto *ev = dynamic_cast<TSocketEvent *>(e)) {
        deliver(ev->Msg, true);
        return true;
    }
    return QObject::event(e);
}
