#pragma once

#include <QByteArray>
#include <QList>

/// One IPv4 address of a network device, with the device's state.
struct TInterfaceAddress
{
    QByteArray Name;  ///< device name
    int Index = 0;    ///< device index
    quint32 Addr = 0; ///< network byte order
    bool Up = false;
    bool Running = false; ///< carrier present: a pulled cable leaves a device up, not running
    bool CanBroadcast = false;
    bool Loopback = false;
};

/// The one walk over the system's interface list that every user of it shares.
class InterfaceAddresses final
{
public:
    /// The IPv4 addresses of the calling thread's network namespace, in the order the
    /// system lists its devices; empty when the list cannot be read.
    static QList<TInterfaceAddress> ipv4();
};
