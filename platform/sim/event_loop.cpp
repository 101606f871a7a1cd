#include "platform/sim/event_loop.h"

#include <algorithm>
#include <utility>

namespace mivo::sim {

void EventLoop::Post(UINT message, WPARAM wparam, LPARAM lparam) {
  queue_.push_back(Message{message, wparam, lparam});
}

namespace {
// The shortest period of a window timer; shorter requests are raised to it.
constexpr std::uint32_t kMinimumTimerPeriodMs = 10;
}  // namespace

LRESULT EventLoop::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!target_) return 0;
  const WindowProc target = target_;
  return target(message, wparam, lparam);
}

LRESULT EventLoop::Send(UINT message, WPARAM wparam, LPARAM lparam) {
  return Dispatch(message, wparam, lparam);
}

void EventLoop::SetTimer(std::uintptr_t id, std::uint32_t period_ms) {
  period_ms = std::max(period_ms, kMinimumTimerPeriodMs);
  timers_[id] = Timer{period_ms, now_ms_ + period_ms, ++sequence_};
}

bool EventLoop::KillTimer(std::uintptr_t id) {
  return timers_.erase(id) > 0;
}

DevicePort::Token EventLoop::Schedule(std::uint32_t delay_ms, std::function<void()> action) {
  const std::uint64_t sequence = ++sequence_;
  scheduled_.push_back(Scheduled{now_ms_ + delay_ms, sequence, std::move(action)});
  return sequence;
}

void EventLoop::Cancel(Token token) {
  std::erase_if(scheduled_, [token](const Scheduled& s) { return s.sequence == token; });
}

bool EventLoop::PostTo(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (window == nullptr) return false;
  Post(message, wparam, lparam);
  return true;
}

void EventLoop::PumpMessages() {
  while (!queue_.empty()) {
    const Message m = queue_.front();
    queue_.pop_front();
    Dispatch(m.message, m.wparam, m.lparam);
  }
}

bool EventLoop::FireNext(std::int64_t limit) {
  // The earliest due timer (ties: started first) ...
  auto best_timer = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due_ms > limit) continue;
    if (best_timer == timers_.end() || it->second.due_ms < best_timer->second.due_ms ||
        (it->second.due_ms == best_timer->second.due_ms &&
         it->second.sequence < best_timer->second.sequence)) {
      best_timer = it;
    }
  }
  // ... or the earliest scheduled action, whichever comes first.
  auto best_action = scheduled_.end();
  for (auto it = scheduled_.begin(); it != scheduled_.end(); ++it) {
    if (it->due_ms > limit) continue;
    if (best_action == scheduled_.end() || it->due_ms < best_action->due_ms ||
        (it->due_ms == best_action->due_ms && it->sequence < best_action->sequence)) {
      best_action = it;
    }
  }
  const bool have_timer = best_timer != timers_.end();
  const bool have_action = best_action != scheduled_.end();
  if (!have_timer && !have_action) return false;

  const bool take_action =
      have_action && (!have_timer || best_action->due_ms < best_timer->second.due_ms ||
                      (best_action->due_ms == best_timer->second.due_ms &&
                       best_action->sequence < best_timer->second.sequence));
  if (take_action) {
    now_ms_ = std::max(now_ms_, best_action->due_ms);
    std::function<void()> action = std::move(best_action->action);
    scheduled_.erase(best_action);
    action();
    return true;
  }

  // A timer that fell due while the thread slept fires once; its next expiry is one period
  // after the current time, which for a timer on time is its due time plus its period.
  now_ms_ = std::max(now_ms_, best_timer->second.due_ms);
  const std::uintptr_t id = best_timer->first;
  best_timer->second.due_ms = now_ms_ + best_timer->second.period_ms;
  ++timer_expiries_;
  Send(WM_TIMER, id, 0);
  return true;
}

void EventLoop::Pump() {
  for (;;) {
    PumpMessages();
    if (!FireNext(now_ms_)) break;
  }
}

void EventLoop::Advance(std::int64_t ms) {
  const std::int64_t target = now_ms_ + (ms > 0 ? ms : 0);
  Pump();
  while (FireNext(target)) Pump();
  now_ms_ = std::max(now_ms_, target);
  Pump();
}

void EventLoop::Clear() {
  queue_.clear();
  timers_.clear();
  scheduled_.clear();
}

std::vector<EventLoop::TimerInfo> EventLoop::Timers() const {
  std::vector<TimerInfo> out;
  for (const auto& [id, t] : timers_) out.push_back(TimerInfo{id, t.period_ms, t.due_ms});
  return out;
}

// Which descriptors are watched is portable; the wait on them is in event_loop_fds.cpp.
void EventLoop::WatchReadable(int fd, std::function<void()> on_readable) {
  if (fd < 0 || !on_readable) return;
  watched_[fd] = std::move(on_readable);
}

void EventLoop::Unwatch(int fd) {
  watched_.erase(fd);
}

}  // namespace mivo::sim
