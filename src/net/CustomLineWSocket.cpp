#include "net/CustomLineWSocket.h"

TCustomLineWSocket::TCustomLineWSocket(QObject *AOwner) : TCustomSocksWSocket(AOwner) {}

int TCustomLineWSocket::SendLine(const QByteArray &Str)
{
    return SendText(Str + m_lineEnd);
}
