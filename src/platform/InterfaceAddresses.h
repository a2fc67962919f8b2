#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

/// One IPv4 address of a network device, with the device's state.
struct InterfaceAddress
{
    QByteArray Name;     ///< device name
    int Index = 0;       ///< device index
    quint32 Addr = 0;    ///< network byte order
    quint32 Netmask = 0; ///< network byte order; 0 when unknown
    bool Up = false;
    bool Running = false; ///< carrier present: a pulled cable leaves a device up, not running
    bool CanBroadcast = false;
    bool Loopback = false;
};

/// The one walk over the system's interface list that every user of it shares. It reads the
/// system's interface table (no name service), so nothing here blocks.
class InterfaceAddresses final
{
public:
    /// The IPv4 addresses of the calling thread's network namespace, in the order the
    /// system lists its devices; empty when the list cannot be read.
    static QList<InterfaceAddress> ipv4();

    /// The entry holding addr (network byte order), if any.
    static std::optional<InterfaceAddress> holding(quint32 addr);

    /// The index of the device that holds addr (dotted text), or 0 when none does.
    static int indexOf(const QByteArray &addr);

    /// What a device name stands for.
    struct Device
    {
        bool exists = false;
        /// Its first IPv4 address as dotted text; empty when it has none.
        QByteArray addr;
    };

    /// The device with that name (as "ip link" shows it).
    static Device device(const QByteArray &name);
};
