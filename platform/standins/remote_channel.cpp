// The sending side of the remote channel: finding a stand-in's endpoint and handing it one
// line. The replies come back to a message-only window of the caller's thread made for the
// one line; the caller's thread takes them while it waits in SendMessageTimeoutA.
#include "platform/standins/remote_channel.h"

#include "platform/standins/endpoint.h"

namespace mivo::standins::channel {

namespace {

constexpr char kReplyClass[] = "MivoRunStandInReply";
// How long one line may take to run (a line posts and returns; it never waits).
constexpr UINT kLineTimeoutMs = 10000;

struct Replies {
  std::vector<std::string>* output = nullptr;
  std::string error;
  bool refused_text = false;
};

::LRESULT CALLBACK ReplyProc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
  if (message != WM_COPYDATA || lparam == 0) {
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  auto* replies = reinterpret_cast<Replies*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (replies == nullptr || (data.cbData > 0 && data.lpData == nullptr)) return 0;
  // An answer is no longer than a line of the LCD or an error; keep it bounded all the same.
  const std::size_t size = data.cbData < 4 * kMaxLineBytes ? data.cbData : 4 * kMaxLineBytes;
  std::string text(static_cast<const char*>(data.lpData), size);
  if (data.dwData == kOutputLine) {
    if (replies->output != nullptr) replies->output->push_back(std::move(text));
  } else if (data.dwData == kErrorText) {
    replies->error = std::move(text);
    replies->refused_text = true;
  }
  return 1;
}

// This code's own module, so that the reply class is registered where its procedure is.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&ReplyProc), &module);
  return module;
}

}  // namespace

::HWND FindEndpoint(const char* name) {
  return ::FindWindowExA(MessageOnlyParent(), nullptr, kEndpointClass, name);
}

bool SendLine(::HWND endpoint, const std::string& line, std::vector<std::string>* output,
              std::string* error) {
  std::string why;
  if (!Endpoint::WellFormed(line.data(), line.size(), &why)) {
    if (error != nullptr) *error = why;
    return false;
  }
  if (endpoint == nullptr || ::IsWindow(endpoint) == FALSE) {
    if (error != nullptr) *error = "the stand-in is gone";
    return false;
  }
  const HINSTANCE module = ThisModule();
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = &ReplyProc;
  window_class.hInstance = module;
  window_class.lpszClassName = kReplyClass;
  ::RegisterClassA(&window_class);  // already there from an earlier line: fine
  Replies replies;
  replies.output = output;
  ::HWND reply = ::CreateWindowExA(0, kReplyClass, "", 0, 0, 0, 0, 0, MessageOnlyParent(), nullptr,
                                   module, nullptr);
  if (reply != nullptr) {
    ::SetWindowLongPtrA(reply, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&replies));
  }

  COPYDATASTRUCT data{};
  data.dwData = kRunLine;
  data.cbData = static_cast<::DWORD>(line.size());
  data.lpData = const_cast<char*>(line.data());
  DWORD_PTR result = 0;
  const ::LRESULT sent = ::SendMessageTimeoutA(
      endpoint, WM_COPYDATA, reinterpret_cast<::WPARAM>(reply), reinterpret_cast<::LPARAM>(&data),
      SMTO_NORMAL, kLineTimeoutMs, &result);
  if (reply != nullptr) ::DestroyWindow(reply);

  if (sent == 0) {
    if (error != nullptr) *error = "the stand-in did not answer";
    return false;
  }
  if (static_cast<LRESULT>(result) == kLineDone) return true;
  if (error != nullptr) {
    *error = static_cast<LRESULT>(result) == kLineRefused && replies.refused_text
                 ? replies.error
                 : "the stand-in refused the line";
  }
  return false;
}

}  // namespace mivo::standins::channel
