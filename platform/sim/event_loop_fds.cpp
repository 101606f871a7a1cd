// The event loop's wait on descriptors (POSIX): in real-time mode the loop sleeps in poll()
// until a watched socket (or the caller's own descriptor, the terminal) is readable or the
// time is up.
#include <poll.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "platform/sim/event_loop.h"

namespace mivo::sim {

bool EventLoop::WaitReadable(std::int64_t timeout_ms, int extra_fd) {
  std::vector<pollfd> fds;
  fds.reserve(watched_.size() + 1);
  for (const auto& entry : watched_) fds.push_back(pollfd{entry.first, POLLIN, 0});
  if (extra_fd >= 0) fds.push_back(pollfd{extra_fd, POLLIN, 0});
  const int timeout = static_cast<int>(std::clamp<std::int64_t>(timeout_ms, 0, INT_MAX));
  const int ready = poll(fds.data(), static_cast<nfds_t>(fds.size()), timeout);
  if (ready <= 0) return false;  // time up, or a signal: the caller looks again
  bool extra_ready = false;
  for (const pollfd& p : fds) {
    if (p.revents == 0) continue;
    if (p.fd == extra_fd) {
      extra_ready = true;
      continue;
    }
    // A callback may unwatch itself or others: look each one up again before running it.
    const auto it = watched_.find(p.fd);
    if (it == watched_.end()) continue;
    const std::function<void()> callback = it->second;
    callback();
  }
  return extra_ready;
}

}  // namespace mivo::sim
