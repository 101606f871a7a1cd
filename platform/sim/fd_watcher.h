// What a device that talks over a socket needs from the loop it runs in: a descriptor watched
// for reading, whose callback runs on the loop's thread when data (or the end of the stream)
// is waiting. Only the real-time loop waits on descriptors; the virtual clock never does.
#pragma once

#include <functional>

namespace mivo::sim {

class FdWatcher {
 public:
  virtual ~FdWatcher() = default;
  // Watching a descriptor again replaces its callback.
  virtual void WatchReadable(int fd, std::function<void()> on_readable) = 0;
  virtual void Unwatch(int fd) = 0;
};

}  // namespace mivo::sim
