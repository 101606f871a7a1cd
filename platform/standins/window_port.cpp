#include "platform/standins/window_port.h"

#include <utility>

#include "platform/standins/remote_channel.h"

namespace mivo::standins {

namespace {

constexpr char kClassName[] = "MivoRunStandInTimers";

}  // namespace

WindowPort::WindowPort(HINSTANCE module) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &WindowPort::Proc;
  window_class.hInstance = module;
  window_class.lpszClassName = kClassName;
  ::RegisterClassA(&window_class);  // a second port of the library finds it registered
  timer_window_ = ::CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, channel::MessageOnlyParent(),
                                    nullptr, module, nullptr);
  if (timer_window_ != nullptr) {
    ::SetWindowLongPtrA(timer_window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

WindowPort::~WindowPort() {
  if (timer_window_ != nullptr) ::DestroyWindow(timer_window_);
}

bool WindowPort::PostTo(mivo::HWND window, mivo::UINT message, mivo::WPARAM wparam,
                        mivo::LPARAM lparam) {
  if (window == nullptr) return false;
  return ::PostMessageA(reinterpret_cast<::HWND>(window), message, wparam, lparam) != FALSE;
}

sim::DevicePort::Token WindowPort::Schedule(std::uint32_t delay_ms,
                                            std::function<void()> callback) {
  if (timer_window_ == nullptr) return 0;
  const Token token = next_token_++;
  // The system's shortest timer is 10 ms; a zero delay runs at the next timer tick.
  if (::SetTimer(timer_window_, static_cast<UINT_PTR>(token), delay_ms, nullptr) == 0) return 0;
  pending_.emplace(token, std::move(callback));
  return token;
}

void WindowPort::Cancel(Token token) {
  if (pending_.erase(token) != 0) ::KillTimer(timer_window_, static_cast<UINT_PTR>(token));
}

void WindowPort::Fire(Token token) {
  ::KillTimer(timer_window_, static_cast<UINT_PTR>(token));
  const auto it = pending_.find(token);
  if (it == pending_.end()) return;
  std::function<void()> callback = std::move(it->second);
  pending_.erase(it);
  callback();  // may schedule or cancel others
}

::LRESULT CALLBACK WindowPort::Proc(::HWND window, ::UINT message, ::WPARAM wparam,
                                    ::LPARAM lparam) {
  if (message == WM_TIMER) {
    auto* port = reinterpret_cast<WindowPort*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (port != nullptr) port->Fire(static_cast<Token>(wparam));
    return 0;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace mivo::standins
