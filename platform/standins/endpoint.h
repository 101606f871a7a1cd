// The serving side of the remote channel (remote_channel.h) inside a stand-in library: the
// hidden message-only window that takes one script line per WM_COPYDATA, runs it on the
// controller's thread, and answers with the line's output or its error. It also answers the
// idle query and closes a popup menu of its thread on request.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace mivo::standins {

// Runs one line; false with `error` set when the line is refused. Output lines go to `output`.
using LineRunner = std::function<bool(const std::string& line, std::vector<std::string>* output,
                                      std::string* error)>;

class Endpoint {
 public:
  // Creates the window `name` (channel::kHandsetEndpoint or kClientEndpoint) on the calling
  // thread; `module` is the library's instance (the window class is registered there).
  Endpoint(HINSTANCE module, const char* name, LineRunner runner);
  ~Endpoint();
  Endpoint(const Endpoint&) = delete;
  Endpoint& operator=(const Endpoint&) = delete;

  ::HWND window() const { return window_; }

  // Whether the bytes of a WM_COPYDATA are a well-formed line: at most the channel's longest
  // line, and no CR, LF or NUL. `why` says what is wrong otherwise.
  static bool WellFormed(const char* bytes, std::size_t size, std::string* why);

 private:
  static ::LRESULT CALLBACK Proc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam);
  ::LRESULT RunCopyData(::HWND reply_to, const COPYDATASTRUCT& data);

  LineRunner runner_;
  ::HWND window_ = nullptr;
};

}  // namespace mivo::standins
