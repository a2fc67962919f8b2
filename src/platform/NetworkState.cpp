#include "platform/NetworkState.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace NetworkState {

bool connected()
{
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (const ifaddrs *entry = list; entry && !found; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        // A cable pulled leaves the device up but not running: that is no connection.
        found = entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET && (flags & IFF_UP) &&
                (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    freeifaddrs(list);
    return found;
}

} // namespace NetworkState
