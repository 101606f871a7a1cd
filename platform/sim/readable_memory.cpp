#include "platform/sim/readable_memory.h"

#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "platform/sim/sim_system.h"

namespace mivo::sim {

namespace {

std::size_t PageSize() {
  static const long size = sysconf(_SC_PAGESIZE);
  return size > 0 ? static_cast<std::size_t>(size) : 4096;
}

enum class Probe { kReadable, kUnreadable, kUnavailable };

// Reads [start, start + length) into `scratch` through the kernel, which reports a fault as
// EFAULT instead of raising a signal. A kernel or sandbox without the call answers
// kUnavailable.
Probe ProbeWithKernel(std::uintptr_t start, std::size_t length, unsigned char* scratch) {
  iovec local{scratch, length};
  iovec remote{reinterpret_cast<void*>(start), length};
  const ssize_t n = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  if (n >= 0 && static_cast<std::size_t>(n) == length) return Probe::kReadable;
  if (n < 0 && (errno == ENOSYS || errno == EPERM)) return Probe::kUnavailable;
  return Probe::kUnreadable;
}

// The same answer from the process's memory map, for a system where the kernel call is
// refused: the readable regions that follow one another without a gap from `start` on.
std::size_t ReadableFromMap(std::uintptr_t start, std::size_t max_bytes) {
  std::FILE* maps = std::fopen("/proc/self/maps", "r");
  if (maps == nullptr) return 0;
  std::size_t readable = 0;  // the bytes from `start` on that lie in readable regions
  char line[512];
  while (readable < max_bytes && std::fgets(line, sizeof line, maps) != nullptr) {
    std::uintmax_t low = 0;
    std::uintmax_t high = 0;
    char permissions[5] = {};
    if (std::sscanf(line, "%jx-%jx %4s", &low, &high, permissions) != 3) continue;
    const std::uintmax_t next = static_cast<std::uintmax_t>(start) + readable;
    if (high <= next) continue;
    if (low > next || permissions[0] != 'r') break;  // a gap or an unreadable region
    const std::uintmax_t more = high - next;
    readable = more < max_bytes - readable ? readable + static_cast<std::size_t>(more) : max_bytes;
  }
  std::fclose(maps);
  return readable;
}

}  // namespace

std::size_t ReadableProcessBytes(const void* address, std::size_t max_bytes) {
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  if (start == 0 || max_bytes == 0) return 0;
  // Memory ends at the top of the address space.
  const std::uintptr_t room = std::numeric_limits<std::uintptr_t>::max() - start;
  if (max_bytes - 1 > room) max_bytes = room + 1;

  const std::size_t page = PageSize();
  std::vector<unsigned char> scratch(max_bytes < page ? max_bytes : page);
  std::size_t readable = 0;
  while (readable < max_bytes) {
    // One piece per page: a page is readable as a whole or not at all.
    const std::uintptr_t at = start + readable;
    const std::size_t to_page_end = page - static_cast<std::size_t>(at % page);
    const std::size_t piece =
        to_page_end < max_bytes - readable ? to_page_end : max_bytes - readable;
    const Probe probe = ProbeWithKernel(at, piece, scratch.data());
    if (probe == Probe::kUnavailable) return readable + ReadableFromMap(at, max_bytes - readable);
    if (probe == Probe::kUnreadable) break;
    readable += piece;
  }
  return readable;
}

std::size_t SimSystem::ReadableBytes(const void* address, std::size_t max_bytes) {
  return ReadableProcessBytes(address, max_bytes);
}

}  // namespace mivo::sim
