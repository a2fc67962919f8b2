#include "net/WSocket.h"

TWSocket::TWSocket(QObject *AOwner) : TCustomSyncWSocket(AOwner) {}
