#include "net/LocalInterfaces.h"

QList<TLocalInterface> LocalInterfaces()
{
    return InterfaceAddresses::ipv4();
}

std::optional<TLocalInterface> LocalInterfaceOf(quint32 Addr)
{
    for (const TLocalInterface &entry : LocalInterfaces())
        if (entry.Addr == Addr)
            return entry;
    return std::nullopt;
}
