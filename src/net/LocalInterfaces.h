#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

/// One IPv4 address of a local network device.
struct TLocalInterface
{
    QByteArray Name;  ///< device name
    int Index = 0;    ///< device index
    quint32 Addr = 0; ///< network byte order
    bool CanBroadcast = false;
    bool Loopback = false;
};

/// The IPv4 addresses of the calling thread's network namespace, in the order the
/// system lists its devices.
QList<TLocalInterface> LocalInterfaces();
/// The device holding Addr (network byte order), if any.
std::optional<TLocalInterface> LocalInterfaceOf(quint32 Addr);
