#include "net/LocalInterfaces.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

QList<TLocalInterface> LocalInterfaces()
{
    QList<TLocalInterface> result;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs *ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET)
            continue;
        TLocalInterface entry;
        entry.Name = QByteArray(ifa->ifa_name);
        entry.Index = int(if_nametoindex(ifa->ifa_name));
        entry.Addr = reinterpret_cast<const sockaddr_in *>(ifa->ifa_addr)->sin_addr.s_addr;
        entry.CanBroadcast = (ifa->ifa_flags & IFF_BROADCAST) != 0;
        entry.Loopback = (ifa->ifa_flags & IFF_LOOPBACK) != 0;
        result.append(entry);
    }
    freeifaddrs(list);
    return result;
}

std::optional<TLocalInterface> LocalInterfaceOf(quint32 Addr)
{
    for (const TLocalInterface &entry : LocalInterfaces())
        if (entry.Addr == Addr)
            return entry;
    return std::nullopt;
}
