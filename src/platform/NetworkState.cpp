#include "platform/NetworkState.h"

#include "platform/InterfaceAddresses.h"

namespace NetworkState {

bool connected()
{
    for (const InterfaceAddress &entry : InterfaceAddresses::ipv4()) {
        // A cable pulled leaves the device up but not running: that is no connection.
        if (entry.Up && entry.Running && !entry.Loopback)
            return true;
    }
    return false;
}

} // namespace NetworkState
