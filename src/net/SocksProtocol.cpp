#include "net/SocksProtocol.h"

#include "net/SocketError.h"
#include "net/WSocketResolve.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>

namespace {

void appendPort(QByteArray &out, quint16 port)
{
    out.append(char(port >> 8));
    out.append(char(port & 0xFF));
}

// A length byte can announce at most 255 bytes.
QByteArray counted(const QByteArray &text)
{
    const QByteArray cut = text.left(255);
    return char(cut.size()) + cut;
}

const char *const Socks5Texts[] = {
    "general SOCKS server failure", "connection not allowed by ruleset",
    "network unreachable",          "host unreachable",
    "connection refused",           "time to live expired",
    "command not supported",        "address type not supported",
};

} // namespace

void SocksProtocol::begin(const QByteArray &Level, int AuthNumber)
{
    reset();
    m_state = Methods;
    m_level5 = Level != "4" && Level != "4A";
    m_offered = AuthNumber != 0;
}

void SocksProtocol::reset()
{
    m_state = Idle;
    m_count = 0;
    m_needed = 0;
    m_pendingPos = 0;
    m_pendingCount = 0;
    m_boundAddr.clear();
    m_boundPort.clear();
}

int SocksProtocol::room() const
{
    return std::max(ReadLimit, m_needed) - m_count;
}

char *SocksProtocol::tail()
{
    return m_buffer + m_count;
}

int SocksProtocol::takePending(char *Buffer, int Size, bool Peek)
{
    const int n = std::min(std::max(Size, 0), m_pendingCount);
    if (n > 0)
        std::memcpy(Buffer, m_buffer + m_pendingPos, size_t(n));
    if (!Peek) {
        m_pendingPos += n;
        m_pendingCount -= n;
    }
    return n;
}

SocksProtocol::Outcome SocksProtocol::fail(int Code, const QByteArray &Text)
{
    Outcome out;
    out.What = Outcome::Failed;
    out.Code = Code;
    out.Text = Text;
    return out;
}

SocksProtocol::Outcome SocksProtocol::received(int Count)
{
    m_count = std::clamp(m_count + std::max(Count, 0), 0, int(sizeof m_buffer));
    switch (m_state) {
    case Methods:
        return methodsReply();
    case Authenticating:
        return authReply();
    case Requested:
        return m_level5 ? socks5Reply() : socks4Reply();
    default:
        return fail(SocketError::SocksInternal, "internal error");
    }
}

SocksProtocol::Outcome SocksProtocol::methodsReply()
{
    if (!m_level5)
        return fail(SocketError::SocksLogic, "TWSocket logic error");
    if (m_count < 2)
        return {};
    if (at(0) != 5)
        return fail(SocketError::SocksVersion, "socks version error");
    Outcome out;
    if (at(1) == 0) {
        out.What = Outcome::SendConnect;
        out.AuthNotRequired = m_offered;
    } else if (at(1) == 2) {
        out.What = Outcome::SendUsercode;
    } else {
        return fail(SocketError::SocksMethodNotAcceptable,
                    "authentification method not acceptable");
    }
    m_count = 0;
    return out;
}

SocksProtocol::Outcome SocksProtocol::authReply()
{
    if (m_count >= 1 && at(0) != 1)
        return fail(SocketError::SocksVersion, "socks version error");
    if (m_count >= 2 && at(1) != 0)
        return fail(SocketError::SocksAuthenticationFailed, "socks authentication failed");
    if (m_count > 2)
        return fail(SocketError::SocksLogic, "too much data availaible");
    if (m_count < 2)
        return {};
    m_count = 0;
    Outcome out;
    out.What = Outcome::SendConnect;
    out.AuthSuccess = true;
    return out;
}

SocksProtocol::Outcome SocksProtocol::socks4Reply()
{
    if (m_count < 8)
        return {};
    if (at(0) != 0)
        return fail(SocketError::SocksVersion, "socks version error");
    switch (at(1)) {
    case 90:
        break;
    case 91:
        return fail(SocketError::SocksRequestRejected, "request rejected or failed");
    case 92:
        return fail(SocketError::SocksConnectionRefused, "connection refused");
    case 93:
        return fail(SocketError::SocksAuthenticationFailed, "authentification failed");
    default:
        return fail(SocketError::SocksUnassigned, "unassigned error #" + QByteArray::number(at(1)));
    }
    quint32 addr;
    std::memcpy(&addr, m_buffer + 4, 4);
    m_boundAddr = WSocketAddrToText(addr);
    m_boundPort = QByteArray::number((at(2) << 8) | at(3));
    return connected(8);
}

SocksProtocol::Outcome SocksProtocol::socks5Reply()
{
    if (m_count >= 1 && at(0) != 5)
        return fail(SocketError::SocksVersion, "socks version error");
    if (m_count >= 2 && at(1) != 0) {
        const int r = at(1);
        if (r <= 8)
            return fail(SocketError::SocksMethodNotAcceptable + r, Socks5Texts[r - 1]);
        return fail(SocketError::SocksUnassigned, "unassigned error #" + QByteArray::number(r));
    }
    if (m_count < 5)
        return {};
    // Address types: 1 IPv4, 3 a name, 4 IPv6 (a proxy that reached the target over IPv6
    // reports its own IPv6 address).
    const int type = at(3);
    const int length = type == 1 ? 10 : type == 3 ? at(4) + 7 : type == 4 ? 22 : 5;
    m_needed = length;
    if (m_count < length)
        return {};
    if (type == 1) {
        quint32 addr;
        std::memcpy(&addr, m_buffer + 4, 4);
        m_boundAddr = WSocketAddrToText(addr);
    } else if (type == 3) {
        m_boundAddr = QByteArray(m_buffer + 5, at(4));
    } else if (type == 4) {
        char text[INET6_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET6, m_buffer + 4, text, sizeof text);
        m_boundAddr = text;
    } else {
        return fail(SocketError::SocksAddressTypeNotSupported, "address type not supported");
    }
    m_boundPort = QByteArray::number((at(length - 2) << 8) | at(length - 1));
    return connected(length);
}

SocksProtocol::Outcome SocksProtocol::connected(int Length)
{
    m_state = Idle;
    m_needed = 0;
    m_pendingPos = Length;
    m_pendingCount = m_count - Length;
    m_count = 0;
    Outcome out;
    out.What = Outcome::Connected;
    return out;
}

QByteArray SocksProtocol::greeting(int AuthNumber)
{
    QByteArray out;
    out.append(char(5)).append(char(1)).append(char(AuthNumber));
    return out;
}

QByteArray SocksProtocol::usercodeRequest(const QByteArray &Usercode, const QByteArray &Password)
{
    return char(1) + counted(Usercode) + counted(Password);
}

QByteArray SocksProtocol::connect4(quint16 Port, quint32 Addr, const QByteArray &Usercode)
{
    QByteArray out;
    out.append(char(4)).append(char(1));
    appendPort(out, Port);
    out.append(reinterpret_cast<const char *>(&Addr), 4);
    out.append(Usercode).append('\0');
    return out;
}

QByteArray SocksProtocol::connect4A(quint16 Port, const QByteArray &Usercode,
                                    const QByteArray &Host)
{
    QByteArray out;
    out.append(char(4)).append(char(1));
    appendPort(out, Port);
    out.append(char(0)).append(char(0)).append(char(0)).append(char(1));
    out.append(Usercode).append('\0');
    out.append(Host).append('\0');
    return out;
}

QByteArray SocksProtocol::connect5(const QByteArray &Host, quint16 Port)
{
    QByteArray out;
    out.append(char(5)).append(char(1)).append(char(0)).append(char(3));
    out.append(counted(Host));
    appendPort(out, Port);
    return out;
}
