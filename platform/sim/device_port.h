// What the simulated handset and VoIP client need from the place they run in, and nothing
// more: post a message to a window, run a callback after some milliseconds, and cancel a
// callback not yet run. The simulator's event loop provides it; inside a Windows library it
// is PostMessageA and SetTimer. The devices' model code sees only this port.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/win_types.h"

namespace mivo::sim {

class DevicePort {
 public:
  // Names a scheduled callback; 0 names none.
  using Token = std::uint64_t;

  virtual ~DevicePort() = default;

  // Queues `message` for `window`; false when it cannot be queued (no window).
  virtual bool PostTo(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // Runs `callback` once, `delay_ms` from now, on the thread that runs the devices.
  virtual Token Schedule(std::uint32_t delay_ms, std::function<void()> callback) = 0;
  // Drops a callback that has not run yet; a token already run or cancelled is ignored.
  virtual void Cancel(Token token) = 0;
};

}  // namespace mivo::sim
