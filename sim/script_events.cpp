// Event commands: each posts one window message as its source would (the shared event lines
// say which, and what the models do first) and pumps the queue; and `wait`, which advances
// the virtual clock.
#include <limits>

#include "core/constants.h"
#include "platform/sim/event_lines.h"
#include "sim/script_runner.h"

namespace mivo::sim {

namespace {

// The longest wait of one command: a week of virtual time.
constexpr std::int64_t kMaxWaitMs = 7LL * 24 * 3600 * 1000;

}  // namespace

void ScriptRunner::CmdEvent(const Command& c) {
  const DeviceEvent event = ParseDeviceEvent(c);
  if (event.effect == DeviceEvent::Effect::kWorld) {
    // A world command: the handset is in when fConnectDevice runs.
    ApplyWorldCommand(c, sim_.world);
    return;
  }
  RequireRunning(c);
  if (ApplyDeviceEvent(event, &sim_.handset, &sim_.voip, sim_.world.voip.auto_mode)) {
    sim_.loop.Pump();  // the client posted the message itself
    return;
  }
  PostAndPump(event.message, event.wparam, event.text ? Keep(*event.text) : event.lparam);
  if (!event.release_after_ms) return;
  Advance(*event.release_after_ms, "press");
  // A window destroyed while the key was held gets no release.
  if (sim_.window.destroyed()) return;
  PostAndPump(MSG_HANDSET_KEY, 1, KEY_RELEASE);
}

void ScriptRunner::CmdWait(const Command& c) {
  const auto words = Positional(c, 1, 1);
  Advance(Number(*words[0], 0, kMaxWaitMs, "wait MS"), "wait");
}

void ScriptRunner::Advance(std::int64_t ms, const char* what) {
  waited_ms_ += ms;
  if (options_.max_virtual_ms > 0 && waited_ms_ > options_.max_virtual_ms) {
    throw ScriptError(std::string(what) + ": the run may wait at most " +
                      std::to_string(options_.max_virtual_ms) + " ms in all");
  }
  sim_.loop.Advance(ms);
}

}  // namespace mivo::sim
