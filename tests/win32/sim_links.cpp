// The simulated platform's clock and code pages are compiled into the Win32 tests to be
// checked against the real system. Two members of the simulated classes they come with are
// defined in POSIX-only or window-system files of the simulator; the tests never call them,
// and these stand in for them at link time.
#include <cstdint>

#include "platform/sim/sim_system.h"
#include "platform/sim/sim_window.h"

namespace mivo::sim {

std::size_t SimSystem::ReadableBytes(const void*, std::size_t) {
  return 0;
}

HWND SimWindowHost::MainWindow() {
  return reinterpret_cast<HWND>(std::uintptr_t{0x10010});
}

}  // namespace mivo::sim
