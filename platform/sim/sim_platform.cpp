#include "platform/sim/sim_platform.h"

namespace mivo::sim {

namespace {
// 2026-01-05 09:00:00 (a Monday), as local seconds since 1970-01-01.
constexpr std::int64_t kDefaultLocalSeconds = 1767603600;
}  // namespace

SimPlatform::SimPlatform(std::ostream& out)
    : trace(out),
      window(loop, trace, world),
      clock(loop, world),
      mixer(loop, trace, world),
      system(loop, trace, world),
      handset(loop, trace, world),
      voip(loop, trace, world) {
  world.pc.local_seconds = kDefaultLocalSeconds;
  clock.ResetEpoch();
}

}  // namespace mivo::sim
