// When the interactive handset's terminal is painted and how long it sleeps.
#include "sim/interactive_pacer.h"

#include <algorithm>

namespace mivo::sim {

ShownState ShownOf(HandsetSession& session, const LogBuffer& log, int lines, int columns) {
  SimPlatform& sim = session.runner().platform();
  ShownState s;
  s.lines = lines;
  s.columns = columns;
  for (int r = 0; r < 4; ++r) s.rows[static_cast<std::size_t>(r)] = sim.handset.RowLine(r);
  const Leds& leds = sim.handset.leds();
  s.leds = {leds.main, leds.hold, leds.mute, leds.voicemail};
  s.rotated = sim.handset.rotated();
  s.tray_present = sim.window.tray_present();
  s.tray_icon = sim.window.tray_icon();
  s.handset_connected = sim.handset.connected();
  s.online = sim.world.voip.online;
  s.ringing = sim.voip.ringing();
  s.in_call = sim.voip.in_call();
  s.call_held = sim.voip.held();
  s.number = sim.voip.number();
  s.key_held = session.presser().held();
  s.hold_armed = session.presser().hold_armed();
  s.message = session.message();
  s.command_open = session.command_open();
  s.command_text = session.command_text();
  s.log_visible = session.log_visible();
  if (s.log_visible) {
    // The pane never has more rows than the terminal has lines.
    const auto& all = log.lines();
    const std::size_t shown = std::min(all.size(), static_cast<std::size_t>(std::max(lines, 0)));
    s.log_tail.assign(all.end() - static_cast<std::ptrdiff_t>(shown), all.end());
  }
  return s;
}

ScreenPacer::ScreenPacer(HandsetSession& session, const LogBuffer& log)
    : session_(session), log_(log) {
  // The world script may have left the client's answers pending: the start counts as input.
  NoteInput();
}

bool ScreenPacer::TakeRedraw(int lines, int columns) {
  ShownState now = ShownOf(session_, log_, lines, columns);
  if (shown_ && *shown_ == now) return false;
  shown_ = std::move(now);
  ++redraws_;
  return true;
}

void ScreenPacer::NoteInput() {
  last_input_ms_ = session_.runner().platform().loop.now_ms();
}

std::int64_t ScreenPacer::WaitMs() const {
  const EventLoop& loop = session_.runner().platform().loop;
  const std::int64_t now = loop.now_ms();
  std::int64_t wait = now - last_input_ms_ < kSettleMs ? kBusyWaitMs : kIdleWaitMs;
  for (const EventLoop::TimerInfo& timer : loop.Timers()) wait = std::min(wait, timer.due_ms - now);
  if (const auto release = session_.presser().release_due_ms()) {
    wait = std::min(wait, *release - now);
  }
  return std::max<std::int64_t>(wait, 1);
}

}  // namespace mivo::sim
