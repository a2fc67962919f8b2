#pragma once

#include "net/CustomWSocket.h"
#include "net/SocksProtocol.h"

/// SOCKS 4, 4A and 5 client layer for stream connections. While SocksServer is empty it
/// is inactive and every operation passes straight to the core. With a server, Connect
/// goes to the proxy and OnSessionConnected follows the proxy's final reply; failures
/// raise OnSocksError, then OnSessionConnected with the same code, then close the socket.
/// A proxy that hangs up before its final reply is such a failure (20018).
class TCustomSocksWSocket : public TCustomWSocket
{
public:
    explicit TCustomSocksWSocket(QObject *AOwner = nullptr);

    const QByteArray &SocksServer() const { return m_socksServer; }
    virtual void SetSocksServer(const QByteArray &Value);
    /// "4", "4A" or "5" (default); "4a" is stored upper-case.
    const QByteArray &SocksLevel() const { return m_socksLevel; }
    void SetSocksLevel(const QByteArray &Value);
    const QByteArray &SocksPort() const { return m_socksPort; }
    virtual void SetSocksPort(const QByteArray &Value);
    const QByteArray &SocksUsercode() const { return m_socksUsercode; }
    void SetSocksUsercode(const QByteArray &Value) { m_socksUsercode = Value; }
    const QByteArray &SocksPassword() const { return m_socksPassword; }
    void SetSocksPassword(const QByteArray &Value) { m_socksPassword = Value; }
    TSocksAuthentication SocksAuthentication() const { return m_socksAuthentication; }
    void SetSocksAuthentication(TSocksAuthentication Value) { m_socksAuthentication = Value; }
    /// 0 data, 1 methods offered, 2 authenticating, 3 connect request sent.
    int SocksState() const { return m_socks.state(); }
    /// Bytes that arrived behind the proxy's final reply, served before the socket is read.
    int SocksPendingCount() const { return m_socks.pendingCount(); }

    /// Through the proxy when SocksServer is set (stream only).
    void Connect() override;
    /// Refused while SocksServer is set.
    void Listen() override;

    TSessionConnected OnSocksConnected;
    TSocksErrorEvent OnSocksError;
    TSocksAuthStateEvent OnSocksAuthState;

protected:
    void ResetToDefaults() override;
    int GetRcvdCount() override;
    bool FireDataAvailable(quint16 ErrCode) override;
    void FireSessionConnected(quint16 ErrCode) override;
    void FireSessionClosed(quint16 ErrCode) override;
    int RawReceive(void *Buffer, int Size, int Flags) override;
    virtual void FireSocksConnected(quint16 ErrCode);
    virtual void FireSocksError(qint32 Error, const QByteArray &Msg);
    virtual void FireSocksAuthState(TSocksAuthState AuthState);

private:
    bool changeAllowed(const char *What);
    void socksError(int Code, const QByteArray &Text);
    /// The proxy closed or reset the connection before its final reply.
    void proxyHungUp();
    void abandonProxyConnect();
    void sendRequest(const QByteArray &Request);
    void sendUsercodeRequest();
    void sendConnectRequest();
    void readReply();

    QByteArray m_socksServer;
    QByteArray m_socksLevel = "5";
    QByteArray m_socksPort;
    QByteArray m_socksUsercode;
    QByteArray m_socksPassword;
    TSocksAuthentication m_socksAuthentication = socksNoAuthentication;
    bool m_socksPortAssigned = false;
    bool m_socksServerAssigned = false;
    int m_socksAuthNumber = 0; // the method offered: 0 none, 2 user-code/password
    SocksProtocol m_socks;
};
