// What the message hook of mivorun-probe counts inside the program it watches, in memory that
// the probe shares with it by name. The probe creates the memory and reads it; the hook,
// loaded into the watched program's threads, only adds to it.
#pragma once

#include <cstdint>

namespace mivo::bench {

inline constexpr const char* kProbeCountersName = "MivoRunProbeCounters";
inline constexpr unsigned kOtherMessages = 0x400;  // WM_USER

struct ProbeCounters {
  // Set by the probe: the window whose WM_TIMER messages are counted apart (its handle's
  // value); 0 counts none apart.
  std::uint64_t watched_window;
  // Counted by the hook, for each message taken off a queue of a watched thread.
  volatile long messages;
  volatile long timer_messages;
  volatile long watched_window_timer_messages;
  // By message number: the system's messages below WM_USER one by one, all others in the
  // last slot.
  volatile long by_message[kOtherMessages + 1];
  // The window and wParam of the last message of each number.
  volatile std::uint64_t last_window[kOtherMessages + 1];
  volatile std::uint64_t last_wparam[kOtherMessages + 1];
};

}  // namespace mivo::bench
