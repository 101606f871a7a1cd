#include "platform/win32/remote/remote_program.h"

#include <cstdio>

#include "platform/standins/remote_channel.h"

namespace mivo::remote {

namespace {

namespace channel = standins::channel;

constexpr ::DWORD kAppearMs = 5000;  // how long a needed window may take to appear
constexpr ::DWORD kIdleMs = 10000;   // the longest wait for the controller to be idle
constexpr ::DWORD kQueryMs = 2000;   // the longest wait for one idle query
constexpr ::DWORD kPollMs = 5;
constexpr char kMainCaption[] = "MivoRun";
constexpr char kDialogClass[] = "#32770";
constexpr char kMenuClass[] = "#32768";

::DWORD Elapsed(::DWORD since) {
  return ::GetTickCount() - since;
}

std::string ClassOf(::HWND window) {
  char name[64] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

void Warn(const std::string& text) {
  std::fprintf(stderr, "mivorun-remote: %s\n", text.c_str());
  std::fflush(stderr);
}

struct ThreadSearch {
  ::HWND main;
  const char* window_class;
  ::HWND found;
};

// The enabled, visible window of the searched class on the controller's thread (the one that
// has the input: the topmost modal window), other than the controller's own.
BOOL CALLBACK FindOnThread(::HWND window, ::LPARAM data) {
  auto* search = reinterpret_cast<ThreadSearch*>(data);
  if (window == search->main || !::IsWindowVisible(window) || !::IsWindowEnabled(window)) {
    return TRUE;
  }
  if (ClassOf(window) != search->window_class) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

RunningProgram::~RunningProgram() {
  if (process_ != nullptr) ::CloseHandle(process_);
}

::HWND RunningProgram::FindMain() {
  return ::FindWindowA(nullptr, kMainCaption);
}

void RunningProgram::Require() {
  const auto up = [this] {
    return main_ != nullptr && ::IsWindow(main_) &&
           (Endpoint(true) != nullptr || Endpoint(false) != nullptr);
  };
  if (up()) return;
  const ::DWORD start = ::GetTickCount();
  for (;;) {
    main_ = FindMain();
    if (up()) break;
    if (Elapsed(start) >= kAppearMs) throw NoRunningProgram{};
    ::Sleep(20);
  }
  ::DWORD process_id = 0;
  thread_ = ::GetWindowThreadProcessId(main_, &process_id);
  if (process_ != nullptr) ::CloseHandle(process_);
  process_ = ::OpenProcess(SYNCHRONIZE, FALSE, process_id);
}

::HWND RunningProgram::Endpoint(bool handset) {
  ::HWND& endpoint = handset ? handset_ : client_;
  if (endpoint == nullptr || !::IsWindow(endpoint)) {
    endpoint =
        channel::FindEndpoint(handset ? channel::kHandsetEndpoint : channel::kClientEndpoint);
  }
  return endpoint;
}

bool RunningProgram::Send(bool handset, const std::string& line, std::vector<std::string>* output,
                          std::string* error) {
  // A stand-in makes its endpoint when the controller connects it; the client's comes only
  // after the start-up's warning box when the client is not found.
  const ::DWORD start = ::GetTickCount();
  ::HWND endpoint = Endpoint(handset);
  while (endpoint == nullptr && Elapsed(start) < kAppearMs) {
    ::Sleep(20);
    endpoint = Endpoint(handset);
  }
  if (endpoint == nullptr) throw NoRunningProgram{};
  return channel::SendLine(endpoint, line, output, error);
}

void RunningProgram::Post(::UINT message, ::WPARAM wparam, ::LPARAM lparam) {
  ::PostMessageA(main_, message, wparam, lparam);
}

bool RunningProgram::WaitIdle() {
  const ::DWORD start = ::GetTickCount();
  bool barrier_up = false;
  for (;;) {
    ::HWND endpoint = Endpoint(true);
    if (endpoint == nullptr) endpoint = Endpoint(false);
    if (endpoint == nullptr) return false;
    // A barrier behind everything posted so far; idle once the thread took it from a message
    // loop and nothing was posted since.
    if (!barrier_up) {
      if (++barrier_ == 0) ++barrier_;
      if (::PostMessageA(endpoint, channel::kIdleBarrier, barrier_, 0) == 0) return false;
      barrier_up = true;
    }
    ::DWORD_PTR answer = 0;
    if (::SendMessageTimeoutA(endpoint, channel::kIdleQuery, barrier_, 0, SMTO_NORMAL, kQueryMs,
                              &answer) != 0) {
      if (answer == 1) return true;
      if (answer == 2) barrier_up = false;
    } else if (::IsWindow(endpoint) == FALSE) {
      barrier_up = false;
    }
    if (Elapsed(start) >= kIdleMs) {
      Warn("the program stayed busy for " + std::to_string(kIdleMs) + " ms");
      return false;
    }
    ::Sleep(kPollMs);
  }
}

bool RunningProgram::DismissMenu() {
  const ::DWORD start = ::GetTickCount();
  bool shown = false;
  while (!shown && Elapsed(start) < kAppearMs) {
    ThreadSearch search{main_, kMenuClass, nullptr};
    ::EnumThreadWindows(thread_, FindOnThread, reinterpret_cast<::LPARAM>(&search));
    // A popup menu may belong to no thread list on some systems: look at the desktop too.
    ::HWND menu = search.found;
    if (menu == nullptr) {
      menu = ::FindWindowA(kMenuClass, nullptr);
      if (menu != nullptr &&
          (::GetWindowThreadProcessId(menu, nullptr) != thread_ || !::IsWindowVisible(menu))) {
        menu = nullptr;
      }
    }
    shown = menu != nullptr;
    if (!shown) ::Sleep(kPollMs);
  }
  if (!shown) Warn("no popup menu came up");
  // Closed in any case, so that a menu that came up late does not stay.
  const ::HWND endpoint = Endpoint(true);
  if (endpoint != nullptr) {
    ::DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(endpoint, channel::kEndMenu, 0, 0, SMTO_NORMAL, kQueryMs, &ignored);
  }
  return shown;
}

bool RunningProgram::WaitForEnd(::DWORD ms) {
  if (process_ == nullptr) {
    // Without a handle to the process, its window going is the next best sign.
    const ::DWORD start = ::GetTickCount();
    while (FindMain() != nullptr && Elapsed(start) < ms) ::Sleep(20);
    return FindMain() == nullptr;
  }
  return ::WaitForSingleObject(process_, ms) == WAIT_OBJECT_0;
}

::HWND RunningProgram::ModalWindow() {
  ThreadSearch search{main_, kDialogClass, nullptr};
  ::EnumThreadWindows(thread_, FindOnThread, reinterpret_cast<::LPARAM>(&search));
  return search.found;
}

bool RunningProgram::ModalCaption(std::string* caption) {
  const ::HWND window = ModalWindow();
  if (window == nullptr) return false;
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  *caption = text;
  return true;
}

bool RunningProgram::PressDefault(std::string* error) {
  const ::HWND window = ModalWindow();
  if (window == nullptr) {
    *error = "no modal window is open";
    return false;
  }
  ::DWORD_PTR answer = 0;
  if (::SendMessageTimeoutA(window, DM_GETDEFID, 0, 0, SMTO_NORMAL, kQueryMs, &answer) == 0 ||
      HIWORD(answer) != DC_HASDEFID) {
    *error = "the modal window has no default button";
    return false;
  }
  const int id = LOWORD(answer);
  const ::HWND button = ::GetDlgItem(window, id);
  // What a click on the button makes it send to its dialog.
  ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<::LPARAM>(button));
  const ::DWORD start = ::GetTickCount();
  while (::IsWindow(window) && ::IsWindowVisible(window) && Elapsed(start) < kIdleMs) {
    ::Sleep(kPollMs);
  }
  return true;
}

std::string DescribeMainWindow() {
  const ::HWND window = RunningProgram::FindMain();
  if (window == nullptr) return "window destroyed";
  if (!::IsWindowVisible(window)) return "window hidden";
  if (::IsIconic(window)) return "window minimized";
  return "window visible";
}

}  // namespace mivo::remote
