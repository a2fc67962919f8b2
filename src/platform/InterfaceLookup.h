#pragma once

#include <QByteArray>
#include <optional>

/// Which device holds an IPv4 address, and the address of a device named by the user.
/// Both read the system's interface table (no name service), so they never block.
namespace InterfaceLookup {

/// The index of the device that holds addr (dotted text) in the calling thread's network
/// namespace, or 0 when no device holds it.
int indexOf(const QByteArray &addr);

/// What a device name stands for.
struct Device
{
    bool exists = false;
    /// Its first IPv4 address as dotted text; empty when it has none.
    QByteArray addr;
};

/// The device with that name (as "ip link" shows it).
Device device(const QByteArray &name);

} // namespace InterfaceLookup
