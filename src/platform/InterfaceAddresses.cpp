#include "platform/InterfaceAddresses.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

QList<TInterfaceAddress> InterfaceAddresses::ipv4()
{
    QList<TInterfaceAddress> result;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs *ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET)
            continue;
        const unsigned flags = ifa->ifa_flags;
        TInterfaceAddress entry;
        entry.Name = QByteArray(ifa->ifa_name);
        entry.Index = int(if_nametoindex(ifa->ifa_name));
        entry.Addr = reinterpret_cast<const sockaddr_in *>(ifa->ifa_addr)->sin_addr.s_addr;
        entry.Up = (flags & IFF_UP) != 0;
        entry.Running = (flags & IFF_RUNNING) != 0;
        entry.CanBroadcast = (flags & IFF_BROADCAST) != 0;
        entry.Loopback = (flags & IFF_LOOPBACK) != 0;
        result.append(entry);
    }
    freeifaddrs(list);
    return result;
}
