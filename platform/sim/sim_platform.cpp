#include "platform/sim/sim_platform.h"

namespace mivo::sim {

namespace {
// 2026-01-05 09:00:00 (a Monday), as local seconds since 1970-01-01.
constexpr std::int64_t kDefaultLocalSeconds = 1767603600;
}  // namespace

SimPlatform::SimPlatform(std::ostream& out, const BridgeFactory& make_bridge)
    : sink(out),
      trace(sink),
      window(loop, world),
      clock(loop, world),
      mixer(loop, world),
      system(world),
      handset(loop, world),
      voip(loop, world),
      external_voip(make_bridge ? make_bridge(loop) : nullptr),
      traced_window(window, trace),
      traced_mixer(mixer, trace),
      traced_system(system, trace),
      traced_handset(handset, trace),
      traced_voip(external_voip ? *external_voip : voip, trace) {
  world.pc.local_seconds = kDefaultLocalSeconds;
  clock.ResetEpoch();
  // The controller's window is the same every run: the trace knows it from the start.
  trace.set_main_window(SimWindowHost::MainWindow());
}

}  // namespace mivo::sim
