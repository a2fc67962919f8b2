#pragma once

// The socket component: the core and its SOCKS, line and waiting layers, and the
// published TWSocket.

#include "net/CustomSyncWSocket.h"

/// The published socket component. Not final: tests derive from it to reach the
/// protected send seam.
class TWSocket : public TCustomSyncWSocket
{
public:
    explicit TWSocket(QObject *AOwner = nullptr);
};
