// The simulated message loop and virtual clock. A FIFO queue of posted messages and a table
// of window timers keyed by id. Time advances only when told (Advance) or, in interactive
// mode, with the real clock. Messages go to one target window procedure. It is the port the
// simulated devices run on.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/sim/device_port.h"
#include "platform/sim/fd_watcher.h"
#include "platform/win_types.h"

namespace mivo::sim {

class EventLoop : public DevicePort, public FdWatcher {
 public:
  using WindowProc = std::function<LRESULT(UINT, WPARAM, LPARAM)>;

  struct TimerInfo {
    std::uintptr_t id = 0;
    std::uint32_t period_ms = 0;
    std::int64_t due_ms = 0;  // absolute virtual time
  };

  // Virtual milliseconds since the loop was made.
  std::int64_t now_ms() const { return now_ms_; }

  // The window procedure that receives posted, sent and timer messages; null drops them.
  void set_target(WindowProc target) { target_ = std::move(target); }
  bool has_target() const { return static_cast<bool>(target_); }

  void Post(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Send(UINT message, WPARAM wparam, LPARAM lparam);
  // Starting a running id restarts it with the new period. A period below 10 ms runs at
  // 10 ms, the shortest window timer there is.
  void SetTimer(std::uintptr_t id, std::uint32_t period_ms);
  // Returns whether the timer was running.
  bool KillTimer(std::uintptr_t id);
  // Advances the clock without dispatching anything (a blocked thread).
  void Sleep(std::uint32_t ms) { now_ms_ += ms; }
  // Runs `action` at now + delay_ms, in the order of due times among timers and other
  // actions (not a window timer: nothing is traced). Used by the simulated devices.
  Token Schedule(std::uint32_t delay_ms, std::function<void()> action) override;
  void Cancel(Token token) override;
  // A message for a device's window goes to the one target; none without a window.
  bool PostTo(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

  // Dispatches every queued message (including those posted meanwhile); when none is left,
  // the due timer (or scheduled action) with the earliest due time; repeats until no message
  // is queued and nothing is due at the current time.
  void Pump();
  // Dispatches only the messages already queued (and those posted meanwhile), no timers.
  void PumpMessages();
  // Advances the clock by `ms`: every timer due at or before the new time fires in order of
  // due time (ties: in the order they were started), with the queue pumped between them.
  void Advance(std::int64_t ms);
  // Stops all timers and drops queued messages and scheduled actions (window destroyed).
  void Clear();

  // Descriptors watched in real-time mode (event_loop_fds.cpp).
  void WatchReadable(int fd, std::function<void()> on_readable) override;
  void Unwatch(int fd) override;
  bool watching() const { return !watched_.empty(); }
  // Sleeps at most `timeout_ms` (0: only looks) until a watched descriptor or `extra_fd` (-1:
  // none) is readable, then runs the callbacks of the readable watched descriptors. Returns
  // whether `extra_fd` is readable. The clock does not move: the caller advances it by the
  // real time that passed.
  bool WaitReadable(std::int64_t timeout_ms, int extra_fd = -1);

  // Running timers ordered by id.
  std::vector<TimerInfo> Timers() const;
  bool HasQueued() const { return !queue_.empty(); }
  // How many times a window timer has fired since the loop was made (the wake-ups that a
  // resident program's timers cost).
  std::uint64_t timer_expiries() const { return timer_expiries_; }

 private:
  struct Message {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
  };
  struct Timer {
    std::uint32_t period_ms = 0;
    std::int64_t due_ms = 0;
    std::uint64_t sequence = 0;  // order of starting, for ties
  };
  struct Scheduled {
    std::int64_t due_ms = 0;
    std::uint64_t sequence = 0;
    std::function<void()> action;
  };

  // Fires the earliest due timer or action at or before `limit`; returns false when none.
  bool FireNext(std::int64_t limit);
  // Hands one message to the target. The target may be dropped while it runs (its window
  // destroyed from inside a handler), so the call goes through a copy.
  LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);

  std::int64_t now_ms_ = 0;
  std::uint64_t sequence_ = 0;
  std::uint64_t timer_expiries_ = 0;
  std::deque<Message> queue_;
  std::map<std::uintptr_t, Timer> timers_;
  std::vector<Scheduled> scheduled_;
  WindowProc target_;
  std::map<int, std::function<void()>> watched_;
};

}  // namespace mivo::sim
