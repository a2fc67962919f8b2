#pragma once

/// Whether this computer has a network connection: some interface that is up and running,
/// not loopback, with an IPv4 address.
namespace NetworkState {

bool connected();

} // namespace NetworkState
