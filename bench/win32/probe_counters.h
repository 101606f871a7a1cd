// What the message hook of mivorun-probe counts inside the program it watches, in memory that
// the probe shares with it by name. The probe creates the memory and reads it; the hook,
// loaded into the watched program's threads, only adds to it.
#pragma once

#include <cstdint>

namespace mivo::bench {

inline constexpr const char* kProbeCountersName = "MivoRunProbeCounters";

struct ProbeCounters {
  // Set by the probe: the window whose WM_TIMER messages are counted apart (its handle's
  // value); 0 counts none apart.
  std::uint64_t watched_window;
  // Counted by the hook, for each message taken off a queue of a watched thread.
  volatile long messages;
  volatile long timer_messages;
  volatile long watched_window_timer_messages;
};

}  // namespace mivo::bench
