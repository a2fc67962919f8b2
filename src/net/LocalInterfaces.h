#pragma once

#include "platform/InterfaceAddresses.h"

#include <QList>
#include <optional>

/// One IPv4 address of a local network device.
using TLocalInterface = TInterfaceAddress;

/// The IPv4 addresses of the calling thread's network namespace, in the order the
/// system lists its devices.
QList<TLocalInterface> LocalInterfaces();
/// The device holding Addr (network byte order), if any.
std::optional<TLocalInterface> LocalInterfaceOf(quint32 Addr);
