#include "platform/standins/endpoint.h"

#include <utility>

#include "platform/standins/remote_channel.h"

namespace mivo::standins {

namespace {

// How long one reply to the sender may take before it counts as gone.
constexpr UINT kReplyTimeoutMs = 5000;

// The last idle barrier the controller's thread took from its queue (that thread only).
::WPARAM g_barrier_taken = 0;

// Sends one reply (an output line or the error text) to the sender's window.
void Reply(::HWND reply_to, ULONG_PTR kind, const std::string& text) {
  if (reply_to == nullptr || ::IsWindow(reply_to) == FALSE) return;
  COPYDATASTRUCT data{};
  data.dwData = kind;
  data.cbData = static_cast<::DWORD>(text.size());
  data.lpData = const_cast<char*>(text.data());
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutA(reply_to, WM_COPYDATA, 0, reinterpret_cast<::LPARAM>(&data),
                        SMTO_BLOCK | SMTO_ABORTIFHUNG, kReplyTimeoutMs, &ignored);
}

}  // namespace

Endpoint::Endpoint(HINSTANCE module, const char* name, LineRunner runner)
    : runner_(std::move(runner)) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &Endpoint::Proc;
  window_class.hInstance = module;
  window_class.lpszClassName = channel::kEndpointClass;
  ::RegisterClassA(&window_class);  // the class stays registered once made
  window_ = ::CreateWindowExA(0, channel::kEndpointClass, name, 0, 0, 0, 0, 0,
                              channel::MessageOnlyParent(), nullptr, module, nullptr);
  if (window_ != nullptr) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

Endpoint::~Endpoint() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

bool Endpoint::WellFormed(const char* bytes, std::size_t size, std::string* why) {
  if (size > channel::kMaxLineBytes) {
    *why = "the line is longer than " + std::to_string(channel::kMaxLineBytes) + " bytes";
    return false;
  }
  if (size > 0 && bytes == nullptr) {
    *why = "the line's bytes are missing";
    return false;
  }
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n' || bytes[i] == '\0') {
      *why = "the line holds a CR, LF or NUL byte";
      return false;
    }
  }
  return true;
}

::LRESULT Endpoint::RunCopyData(::HWND reply_to, const COPYDATASTRUCT& data) {
  std::string error;
  const auto* bytes = static_cast<const char*>(data.lpData);
  if (data.dwData != channel::kRunLine) {
    error = "not a line of the channel";
  } else if (WellFormed(bytes, data.cbData, &error)) {
    const std::string line(bytes, data.cbData);
    std::vector<std::string> output;
    const bool done = runner_(line, &output, &error);
    for (const std::string& text : output) Reply(reply_to, channel::kOutputLine, text);
    if (done) return channel::kLineDone;
  }
  Reply(reply_to, channel::kErrorText, error);
  return channel::kLineRefused;
}

::LRESULT CALLBACK Endpoint::Proc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
  auto* self = reinterpret_cast<Endpoint*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_COPYDATA:
      if (self == nullptr || lparam == 0) return 0;
      return self->RunCopyData(reinterpret_cast<::HWND>(wparam),
                               *reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    case channel::kIdleBarrier:
      g_barrier_taken = wparam;
      return 0;
    case channel::kIdleQuery: {
      // Messages posted to this thread and not yet taken: what a line caused is still on its
      // way. A modal loop that pumps takes them as well as the main one does.
      const bool waiting = (HIWORD(::GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) != 0;
      if (wparam == 0) return waiting ? 0 : 1;
      if (g_barrier_taken != wparam) return 0;
      return waiting ? 2 : 1;
    }
    case channel::kEndMenu:
      ::EndMenu();
      return 1;
    default:
      return ::DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace mivo::standins
