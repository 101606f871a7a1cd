// Which memory of this process can be read: the simulated platform answers the host's
// ReadableBytes from the process's real memory, as the Win32 platform does with VirtualQuery.
#pragma once

#include <cstddef>

namespace mivo::sim {

// The number of bytes from `address` on, at most `max_bytes`, that can be read before the
// first byte that cannot (unmapped, without read permission, or past the end of a mapped
// file). 0 for a null address. Never faults and needs no signal handler.
std::size_t ReadableProcessBytes(const void* address, std::size_t max_bytes);

}  // namespace mivo::sim
