#include "net/WSocketTypes.h"

#include "net/WSocketResolve.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <utility>

ESocketException::ESocketException(QByteArray Msg) : m_message(std::move(Msg)) {}

const char *ESocketException::what() const noexcept
{
    return m_message.constData();
}

QByteArray SockAddrIn::AddrText() const
{
    return WSocketAddrToText(sin_addr);
}

quint16 SockAddrIn::Port() const
{
    return ntohs(sin_port);
}
