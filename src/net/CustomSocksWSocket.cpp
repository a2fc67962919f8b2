#include "net/CustomSocksWSocket.h"

#include "net/SocketError.h"
#include "net/WSocketInternal.h"

#include <QPointer>
#include <arpa/inet.h>

using namespace wsocket;

namespace {

// The proxy ended the connection (or reset it) before its final reply: refusals of some
// servers look like this, and a caller waiting for the connect result must hear of it.
constexpr char SocksClosedText[] = "the socks server closed the connection during the negotiation";

} // namespace

TCustomSocksWSocket::TCustomSocksWSocket(QObject *AOwner) : TCustomWSocket(AOwner) {}

void TCustomSocksWSocket::ResetToDefaults()
{
    TCustomWSocket::ResetToDefaults();
    m_socks.reset();
    m_socksServer.clear();
    m_socksPort.clear();
    m_socksServerAssigned = false;
    m_socksPortAssigned = false;
    m_socksLevel = "5";
}

// The proxy settings change only while the socket is closed.
bool TCustomSocksWSocket::changeAllowed(const char *What)
{
    if (m_state == wsClosed)
        return true;
    ReportError(QByteArray("Can't change socks ") + What + " if not closed");
    return false;
}

void TCustomSocksWSocket::SetSocksServer(const QByteArray &Value)
{
    if (!changeAllowed("server"))
        return;
    m_socksServer = Value.trimmed();
    m_socksServerAssigned = !m_socksServer.isEmpty();
}

void TCustomSocksWSocket::SetSocksPort(const QByteArray &Value)
{
    if (!changeAllowed("port"))
        return;
    m_socksPort = Value.trimmed();
    m_socksPortAssigned = !m_socksPort.isEmpty();
}

void TCustomSocksWSocket::SetSocksLevel(const QByteArray &Value)
{
    if (!changeAllowed("level"))
        return;
    const QByteArray level = Value.toUpper();
    if (level != "4" && level != "4A" && level != "5") {
        ReportError("Invalid socks level. Must be 4, 4A or 5.");
        return;
    }
    m_socksLevel = level;
}

void TCustomSocksWSocket::Connect()
{
    // An open socket keeps its negotiation: the core refuses the second Connect.
    if (!m_socksServerAssigned || (m_hSocket != InvalidSocket && m_state != wsClosed)) {
        TCustomWSocket::Connect();
        return;
    }
    if (m_protoStr.toLower() != "tcp") {
        ReportError("tcp is the only protocol supported thru socks server");
        return;
    }
    try {
        WSocketSetLastError(0);
        // The proxy goes into RemoteAddr, marked resolved so that the core does not put
        // Addr and Port over it; PortNum keeps the target's port for the request.
        if (!m_portResolved) {
            m_remoteAddr.sin_port = htons(quint16(WSocketResolvePort(m_socksPort, m_protoStr)));
            m_portResolved = true;
        }
        if (!m_addrResolved) {
            m_remoteAddr.sin_addr = WSocketResolveHostUncounted(m_socksServer);
            m_addrResolved = true;
        }
        m_portNum = WSocketResolvePort(m_portStr, m_protoStr) & 0xFFFF;
    } catch (const ESocketException &e) {
        m_lastError = WSocketGetLastError();
        abandonProxyConnect();
        ReportError("connect: " + e.Message());
        return;
    }
    m_socksAuthNumber = m_socksAuthentication == socksAuthenticateUsercode ? 2 : 0;
    m_socks.begin(m_socksLevel, m_socksAuthNumber);
    // A Connect that fails before the socket opens must not leave a negotiation waiting
    // for the next opening, which may be one without a proxy.
    const QPointer<TCustomSocksWSocket> alive(this);
    try {
        TCustomWSocket::Connect();
    } catch (const ESocketException &) {
        if (alive && m_state == wsClosed)
            abandonProxyConnect();
        throw;
    }
    if (alive && m_state == wsClosed)
        abandonProxyConnect();
}

// RemoteAddr holds the proxy: the next Connect, perhaps a direct one, resolves afresh.
void TCustomSocksWSocket::abandonProxyConnect()
{
    m_socks.reset();
    m_portResolved = false;
    m_addrResolved = false;
}

void TCustomSocksWSocket::Listen()
{
    if (m_socksServerAssigned) {
        ReportError("Listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}

void TCustomSocksWSocket::FireSessionConnected(quint16 ErrCode)
{
    if (m_socks.state() != SocksProtocol::Methods) {
        TCustomWSocket::FireSessionConnected(ErrCode);
        return;
    }
    // Connected to the proxy: the session to the target begins with the first request.
    const QPointer<TCustomSocksWSocket> alive(this);
    const quint64 gen = m_generation;
    FireSocksConnected(ErrCode);
    if (!alive || gen != m_generation)
        return;
    if (ErrCode != 0) {
        TCustomWSocket::FireSessionConnected(ErrCode);
        return;
    }
    if (m_socksLevel == "5")
        sendRequest(SocksProtocol::greeting(m_socksAuthNumber));
    else
        sendConnectRequest();
}

void TCustomSocksWSocket::sendRequest(const QByteArray &Request)
{
    try {
        SendText(Request);
    } catch (const std::exception &) {
        // A failed send closes the socket or leaves it to the next notification.
    }
}

void TCustomSocksWSocket::sendUsercodeRequest()
{
    m_socks.setState(SocksProtocol::Authenticating);
    const QPointer<TCustomSocksWSocket> alive(this);
    const quint64 gen = m_generation;
    FireSocksAuthState(socksAuthStart);
    if (alive && gen == m_generation)
        sendRequest(SocksProtocol::usercodeRequest(m_socksUsercode, m_socksPassword));
}

void TCustomSocksWSocket::sendConnectRequest()
{
    m_socks.setState(SocksProtocol::Requested);
    const quint16 port = quint16(m_portNum);
    if (m_socksLevel == "4") {
        quint32 addr = 0;
        try {
            addr = WSocketResolveHostUncounted(m_addrStr);
        } catch (const ESocketException &e) {
            socksError(SocketError::SocksException, "ESocketException " + e.Message());
            return;
        }
        sendRequest(SocksProtocol::connect4(port, addr, m_socksUsercode));
    } else if (m_socksLevel == "4A") {
        sendRequest(SocksProtocol::connect4A(port, m_socksUsercode, m_addrStr));
    } else {
        sendRequest(SocksProtocol::connect5(m_addrStr, port));
    }
}

void TCustomSocksWSocket::socksError(int Code, const QByteArray &Text)
{
    const QPointer<TCustomSocksWSocket> alive(this);
    const quint64 gen = m_generation;
    FireSocksError(Code, Text);
    if (!alive || gen != m_generation)
        return;
    m_socks.reset();
    FireSessionConnected(quint16(Code));
    if (!alive || gen != m_generation)
        return;
    InternalClose(true, quint16(Code));
}

void TCustomSocksWSocket::proxyHungUp()
{
    if (m_socks.state() == SocksProtocol::Authenticating) {
        const QPointer<TCustomSocksWSocket> alive(this);
        const quint64 gen = m_generation;
        FireSocksAuthState(socksAuthFailure);
        if (!alive || gen != m_generation)
            return;
    }
    socksError(SocketError::SocksClosedDuringNegotiation, SocksClosedText);
}

bool TCustomSocksWSocket::FireDataAvailable(quint16 ErrCode)
{
    if (m_socks.state() == SocksProtocol::Idle)
        return TCustomWSocket::FireDataAvailable(ErrCode);
    // The replies are the layer's own: nobody above sees them.
    if (ErrCode != 0)
        socksError(ErrCode, "data receive error");
    else
        readReply();
    return true;
}

void TCustomSocksWSocket::readReply()
{
    const int n = TCustomWSocket::RawReceive(m_socks.tail(), m_socks.room(), 0);
    if (n < 0) {
        m_lastError = WSocketGetLastError();
        if (m_lastError != SocketError::WouldBlock)
            proxyHungUp();
        return;
    }
    if (n == 0) {
        proxyHungUp();
        return;
    }
    m_readCount += n;
    const SocksProtocol::Outcome out = m_socks.received(n);
    const QPointer<TCustomSocksWSocket> alive(this);
    const quint64 gen = m_generation;
    switch (out.What) {
    case SocksProtocol::Outcome::Wait:
        break;
    case SocksProtocol::Outcome::Failed:
        socksError(out.Code, out.Text);
        break;
    case SocksProtocol::Outcome::SendUsercode:
        sendUsercodeRequest();
        break;
    case SocksProtocol::Outcome::SendConnect:
        if (out.AuthNotRequired)
            FireSocksAuthState(socksAuthNotRequired);
        else if (out.AuthSuccess)
            FireSocksAuthState(socksAuthSuccess);
        if (alive && gen == m_generation)
            sendConnectRequest();
        break;
    case SocksProtocol::Outcome::Connected:
        TCustomWSocket::FireSessionConnected(0);
        if (alive && gen == m_generation)
            FireDataAvailable(0); // whatever came behind the reply, through every layer
        break;
    }
}

int TCustomSocksWSocket::GetRcvdCount()
{
    if (m_socks.pendingCount() > 0)
        return m_socks.pendingCount();
    return TCustomWSocket::GetRcvdCount();
}

int TCustomSocksWSocket::RawReceive(void *Buffer, int Size, int Flags)
{
    if (m_socks.pendingCount() <= 0)
        return TCustomWSocket::RawReceive(Buffer, Size, Flags);
    armRead();
    const int n = m_socks.takePending(static_cast<char *>(Buffer), Size, (Flags & MSG_PEEK) != 0);
    m_rcvdFull = n >= Size;
    return n;
}

void TCustomSocksWSocket::FireSessionClosed(quint16 ErrCode)
{
    if (m_socks.state() == SocksProtocol::Authenticating) {
        const QPointer<TCustomSocksWSocket> alive(this);
        FireSocksAuthState(socksAuthFailure);
        if (!alive)
            return;
    }
    TCustomWSocket::FireSessionClosed(ErrCode);
}

void TCustomSocksWSocket::FireSocksConnected(quint16 ErrCode)
{
    fire(OnSocksConnected, this, ErrCode);
}

void TCustomSocksWSocket::FireSocksError(qint32 Error, const QByteArray &Msg)
{
    fire(OnSocksError, this, Error, Msg);
}

void TCustomSocksWSocket::FireSocksAuthState(TSocksAuthState AuthState)
{
    fire(OnSocksAuthState, this, AuthState);
}
