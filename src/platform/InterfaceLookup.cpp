#include "platform/InterfaceLookup.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace InterfaceLookup {

int indexOf(const QByteArray &addr)
{
    in_addr wanted{};
    if (inet_pton(AF_INET, addr.trimmed().constData(), &wanted) != 1)
        return 0;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return 0;
    int index = 0;
    for (const ifaddrs *entry = list; entry && index == 0; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const auto *in = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        if (in->sin_addr.s_addr == wanted.s_addr)
            index = static_cast<int>(if_nametoindex(entry->ifa_name));
    }
    freeifaddrs(list);
    return index;
}

Device device(const QByteArray &name)
{
    Device result;
    if (name.isEmpty() || name.size() >= IF_NAMESIZE || name.contains('\0'))
        return result;
    result.exists = if_nametoindex(name.constData()) != 0;
    if (!result.exists)
        return result;
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (const ifaddrs *entry = list; entry && result.addr.isEmpty(); entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || name != entry->ifa_name)
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto *in = reinterpret_cast<const sockaddr_in *>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            result.addr = text;
    }
    freeifaddrs(list);
    return result;
}

} // namespace InterfaceLookup
