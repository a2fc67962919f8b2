#include "net/CustomSocksWSocket.h"

TCustomSocksWSocket::TCustomSocksWSocket(QObject *AOwner) : TCustomWSocket(AOwner) {}

void TCustomSocksWSocket::ResetToDefaults()
{
    TCustomWSocket::ResetToDefaults();
    m_socksState = 0;
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

void TCustomSocksWSocket::Listen()
{
    if (m_socksServerAssigned) {
        ReportError("Listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}
