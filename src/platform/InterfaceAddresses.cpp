#include "platform/InterfaceAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

QList<InterfaceAddress> InterfaceAddresses::ipv4()
{
    QList<InterfaceAddress> result;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs *ifa = list; ifa; ifa = ifa->ifa_next) {
        if (!ifa->ifa_addr || ifa->ifa_addr->sa_family != AF_INET)
            continue;
        const unsigned flags = ifa->ifa_flags;
        InterfaceAddress entry;
        entry.Name = QByteArray(ifa->ifa_name);
        entry.Index = int(if_nametoindex(ifa->ifa_name));
        entry.Addr = reinterpret_cast<const sockaddr_in *>(ifa->ifa_addr)->sin_addr.s_addr;
        if (ifa->ifa_netmask && ifa->ifa_netmask->sa_family == AF_INET)
            entry.Netmask =
                reinterpret_cast<const sockaddr_in *>(ifa->ifa_netmask)->sin_addr.s_addr;
        entry.Up = (flags & IFF_UP) != 0;
        entry.Running = (flags & IFF_RUNNING) != 0;
        entry.CanBroadcast = (flags & IFF_BROADCAST) != 0;
        entry.Loopback = (flags & IFF_LOOPBACK) != 0;
        result.append(entry);
    }
    freeifaddrs(list);
    return result;
}

std::optional<InterfaceAddress> InterfaceAddresses::holding(quint32 addr)
{
    for (const InterfaceAddress &entry : ipv4())
        if (entry.Addr == addr)
            return entry;
    return std::nullopt;
}

int InterfaceAddresses::indexOf(const QByteArray &addr)
{
    in_addr wanted{};
    if (inet_pton(AF_INET, addr.trimmed().constData(), &wanted) != 1)
        return 0;
    const std::optional<InterfaceAddress> entry = holding(wanted.s_addr);
    return entry ? entry->Index : 0;
}

InterfaceAddresses::Device InterfaceAddresses::device(const QByteArray &name)
{
    Device result;
    if (name.isEmpty() || name.size() >= IF_NAMESIZE || name.contains('\0'))
        return result;
    // A device without an IPv4 address is not in the walk, yet it exists.
    result.exists = if_nametoindex(name.constData()) != 0;
    if (!result.exists)
        return result;
    for (const InterfaceAddress &entry : ipv4()) {
        if (entry.Name != name)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const in_addr in{entry.Addr};
        if (inet_ntop(AF_INET, &in, text, sizeof text))
            result.addr = text;
        break;
    }
    return result;
}
