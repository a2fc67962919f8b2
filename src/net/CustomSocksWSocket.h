#pragma once

#include "net/CustomWSocket.h"

/// SOCKS client layer; inactive (everything passes through) while SocksServer is empty.
class TCustomSocksWSocket : public TCustomWSocket
{
public:
    explicit TCustomSocksWSocket(QObject *AOwner = nullptr);

    const QByteArray &SocksServer() const { return m_socksServer; }
    virtual void SetSocksServer(const QByteArray &Value);
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

    void Listen() override;

    TSessionConnected OnSocksConnected;
    TSocksErrorEvent OnSocksError;
    TSocksAuthStateEvent OnSocksAuthState;

protected:
    void ResetToDefaults() override;
    bool changeAllowed(const char *What);

    QByteArray m_socksServer;
    QByteArray m_socksLevel = "5";
    QByteArray m_socksPort;
    QByteArray m_socksUsercode;
    QByteArray m_socksPassword;
    TSocksAuthentication m_socksAuthentication = socksNoAuthentication;
    bool m_socksPortAssigned = false;
    bool m_socksServerAssigned = false;
    int m_socksState = 0;
};
