// The devices' port inside a stand-in library: messages go out with PostMessageA, and delayed
// callbacks run from timers of a hidden message-only window of the library, on the thread
// that made the port (the controller's thread, which pumps the messages).
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/sim/device_port.h"
#include "platform/win32/windows_api.h"

namespace mivo::standins {

class WindowPort : public sim::DevicePort {
 public:
  // `module` is the library's own instance handle (the window class is registered there).
  explicit WindowPort(HINSTANCE module);
  ~WindowPort() override;
  WindowPort(const WindowPort&) = delete;
  WindowPort& operator=(const WindowPort&) = delete;

  bool PostTo(mivo::HWND window, mivo::UINT message, mivo::WPARAM wparam,
              mivo::LPARAM lparam) override;
  Token Schedule(std::uint32_t delay_ms, std::function<void()> callback) override;
  void Cancel(Token token) override;

 private:
  static ::LRESULT CALLBACK Proc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam);
  void Fire(Token token);

  ::HWND timer_window_ = nullptr;
  Token next_token_ = 1;
  std::map<Token, std::function<void()>> pending_;
};

}  // namespace mivo::standins
