// mivorun-probe.exe: starts a window program and measures it from outside: the time until
// its window is up and hidden, then, over an idle stretch, the processor time it uses, the
// messages (and WM_TIMER messages) its threads take off their queues, and its committed
// memory.
//
//   mivorun-probe.exe --caption TEXT [--idle-seconds N] [--settle-ms N] [--timeout-ms N]
//                     [--prefix KEY] [--hook DLL] -- PROGRAM [ARGUMENT ...]
//
// The program starts in the probe's current directory, with the pointer in the screen's
// bottom-right corner. Its window is the top-level window of
// its process captioned TEXT; it counts as up and hidden once it is minimised and not
// visible, which is how a program that hides itself at start leaves it. After --settle-ms
// (the start's own timers run out) the probe hooks the program's threads (a WH_GETMESSAGE
// hook from mivorun-probe-hook.dll, which Windows loads into the program) and watches for
// --idle-seconds; then it ends the program. Processor time comes from GetProcessTimes, which
// Windows keeps current; Wine does not for another process (its figure stays that of the
// start), so tools/bench-windows reads Wine's processes from /proc instead.
//
// Output: KEY_NAME=VALUE lines on standard output (the format tools/bench reads); "probe: idle
// begins" and "probe: idle ends" on standard error when the idle stretch does. Exit status: 0
// measured, 2 a bad command line, 3 the program failed to start, to show its window hidden in
// time, or to keep running.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// clang-format off
#include <psapi.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "bench/win32/probe_counters.h"

namespace {

using mivo::bench::ProbeCounters;

struct Options {
  std::string caption;
  long idle_seconds = 60;
  long settle_ms = 2000;
  long timeout_ms = 30000;
  std::string prefix = "probe";
  std::string hook;
  std::vector<std::string> command;
};

long Count(const char* text, long high) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return end == text || *end != '\0' || value < 0 || value > high ? -1 : value;
}

bool IsKeyName(const std::string& text) {
  if (text.empty() || text.size() > 40) return false;
  for (const char c : text) {
    if (!(c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
      return false;
  }
  return true;
}

std::string ProbeFolder() {
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".";
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? "." : folder.substr(0, slash);
}

bool ParseOptions(int argc, char** argv, Options* options) {
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "mivorun-probe: %s needs a value\n", arg.c_str());
      return false;
    }
    const char* value = argv[i + 1];
    long* count = arg == "--idle-seconds" ? &options->idle_seconds
                  : arg == "--settle-ms"  ? &options->settle_ms
                  : arg == "--timeout-ms" ? &options->timeout_ms
                                          : nullptr;
    if (count != nullptr) {
      *count = Count(value, arg == "--idle-seconds" ? 3600 : 600000);
      if (*count < 0) {
        std::fprintf(stderr, "mivorun-probe: %s takes a count, not %s\n", arg.c_str(), value);
        return false;
      }
    } else if (arg == "--caption") {
      options->caption = value;
    } else if (arg == "--prefix" && IsKeyName(value)) {
      options->prefix = value;
    } else if (arg == "--hook") {
      options->hook = value;
    } else {
      std::fprintf(stderr, "mivorun-probe: cannot use %s %s\n", arg.c_str(), value);
      return false;
    }
  }
  for (++i; i < argc; ++i) options->command.push_back(argv[i]);
  if (options->caption.empty() || options->command.empty()) {
    std::fprintf(stderr, "mivorun-probe: usage: --caption TEXT [...] -- PROGRAM [ARGUMENT ...]\n");
    return false;
  }
  if (options->hook.empty()) options->hook = ProbeFolder() + "\\mivorun-probe-hook.dll";
  return true;
}

// One command line from the words, each quoted the way the C runtime splits it again.
std::string CommandLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : word) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      // Backslashes before a quote are doubled, and the quote escaped.
      line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
      backslashes = 0;
      line += c;
    }
    line.append(backslashes * 2, '\\');
    line += '"';
  }
  return line;
}

struct WindowSearch {
  DWORD process_id;
  const char* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id) return TRUE;
  char caption[256];
  const int length = ::GetWindowTextA(window, caption, sizeof caption);
  if (length < 0 || std::strcmp(caption, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindProgramWindow(DWORD process_id, const std::string& caption) {
  WindowSearch search = {process_id, caption.c_str(), nullptr};
  ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// User and kernel time of the process so far, in seconds.
double ProcessorSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 1e7;
}

// Sets the hook on every thread of the process; returns how many took it.
int HookThreads(DWORD process_id, HOOKPROC proc, HMODULE module, std::vector<HHOOK>* hooks,
                int* threads) {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot, &entry); more;
       more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != process_id) continue;
    ++*threads;
    // A thread without a message queue refuses the hook; it takes no message either.
    const HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, proc, module, entry.th32ThreadID);
    if (hook != nullptr) hooks->push_back(hook);
  }
  ::CloseHandle(snapshot);
  return static_cast<int>(hooks->size());
}

class Output {
 public:
  explicit Output(std::string prefix) : prefix_(std::move(prefix)) {}
  void Number(const char* name, double value, int decimals) const {
    std::printf("%s_%s=%.*f\n", prefix_.c_str(), name, decimals, value);
  }
  // The five messages taken most often since `before`, as "0xNUMBER:PER_MINUTE ..." (0x0400:
  // WM_USER and above), and for each the class of the window and the wParam of its last one.
  std::string Busiest(const char* name, const ProbeCounters& now, const std::vector<long>& before,
                      double per_minute) const {
    std::vector<std::pair<long, unsigned>> counts;
    for (unsigned m = 0; m < before.size(); ++m) {
      if (now.by_message[m] > before[m]) counts.push_back({now.by_message[m] - before[m], m});
    }
    std::sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    if (counts.size() > 5) counts.resize(5);
    std::string rates, windows;
    for (const auto& [count, message] : counts) {
      char text[160], window_class[64] = "none";
      const HWND window =
          reinterpret_cast<HWND>(static_cast<std::uintptr_t>(now.last_window[message]));
      if (window != nullptr && ::GetClassNameA(window, window_class, sizeof window_class) == 0) {
        std::snprintf(window_class, sizeof window_class, "gone");
      }
      std::snprintf(text, sizeof text, "%s0x%04x:%.1f", rates.empty() ? "" : " ", message,
                    count * per_minute);
      rates += text;
      std::snprintf(text, sizeof text, "%s0x%04x:%s/0x%llx", windows.empty() ? "" : " ", message,
                    window_class, static_cast<unsigned long long>(now.last_wparam[message]));
      windows += text;
    }
    return prefix_ + "_" + name + "=" + rates + "\n" + prefix_ +
           "_busiest_messages_last=" + windows + "\n";
  }

 private:
  std::string prefix_;
};

int Fail(const char* what, const PROCESS_INFORMATION& child) {
  std::fprintf(stderr, "mivorun-probe: %s\n", what);
  if (child.hProcess != nullptr) {
    ::TerminateProcess(child.hProcess, 1);
    ::WaitForSingleObject(child.hProcess, 5000);
  }
  return 3;
}

// Waits `ms` milliseconds; false when the program ended meanwhile.
bool StillRunning(HANDLE process, DWORD ms) {
  return ::WaitForSingleObject(process, ms) == WAIT_TIMEOUT;
}

int Probe(const Options& options) {
  const HANDLE mapping =
      ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeCounters),
                           mivo::bench::kProbeCountersName);
  auto* counters = mapping == nullptr ? nullptr
                                      : static_cast<ProbeCounters*>(::MapViewOfFile(
                                            mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeCounters)));
  PROCESS_INFORMATION child = {};
  if (counters == nullptr) return Fail("cannot share the counters' memory", child);
  std::memset(counters, 0, sizeof *counters);

  // The pointer goes to the screen's far corner first, away from the windows the program
  // opens: a pointer resting on a button keeps the button tracking it (under Wine with a
  // 10 ms timer), which is not the program idling.
  ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);

  std::string line = CommandLine(options.command);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  LARGE_INTEGER started, up;
  ::QueryPerformanceCounter(&started);
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &child)) {
    return Fail(("cannot start " + options.command[0]).c_str(), child);
  }

  // Up and hidden: minimised, then hidden.
  HWND window = nullptr;
  for (;;) {
    window = FindProgramWindow(child.dwProcessId, options.caption);
    ::QueryPerformanceCounter(&up);
    if (window != nullptr && ::IsIconic(window) && !::IsWindowVisible(window)) break;
    if (Seconds(started, up) * 1000 > options.timeout_ms) {
      return Fail(("no hidden window captioned \"" + options.caption + "\" in time").c_str(),
                  child);
    }
    if (!StillRunning(child.hProcess, 1)) return Fail("the program ended at start", child);
  }
  const Output out(options.prefix);
  out.Number("startup_ms", Seconds(started, up) * 1000, 1);
  std::fflush(stdout);

  if (!StillRunning(child.hProcess, static_cast<DWORD>(options.settle_ms))) {
    return Fail("the program ended after its start", child);
  }
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  ::GetProcessMemoryInfo(child.hProcess, &memory, sizeof memory);

  std::vector<HHOOK> hooks;
  int threads = 0;
  const HMODULE hook_module = ::LoadLibraryA(options.hook.c_str());
  const auto hook_proc = hook_module == nullptr
                             ? nullptr
                             : reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                   ::GetProcAddress(hook_module, "MivoProbeGetMessageHook")));
  if (hook_proc == nullptr) return Fail(("cannot load the hook " + options.hook).c_str(), child);
  counters->watched_window = reinterpret_cast<std::uint64_t>(window);
  HookThreads(child.dwProcessId, hook_proc, hook_module, &hooks, &threads);
  // The hook's library is loaded in the program at its next message; the idle stretch starts
  // once it is there, so that loading it is not counted as idle work.
  ::PostMessageA(window, WM_NULL, 0, 0);
  for (int i = 0; i < 500 && counters->messages == 0; ++i) ::Sleep(10);
  const bool counting = counters->messages > 0;
  if (!counting) std::fprintf(stderr, "mivorun-probe: the hook counts nothing in the program\n");
  std::vector<long> by_message0(std::begin(counters->by_message), std::end(counters->by_message));
  const long messages0 = counters->messages;
  const long timers0 = counters->timer_messages;
  const long window_timers0 = counters->watched_window_timer_messages;

  const double cpu0 = ProcessorSeconds(child.hProcess);
  LARGE_INTEGER idle_start, idle_end;
  ::QueryPerformanceCounter(&idle_start);
  std::fprintf(stderr, "probe: idle begins\n");
  std::fflush(stderr);
  if (!StillRunning(child.hProcess, static_cast<DWORD>(options.idle_seconds * 1000))) {
    return Fail("the program ended while idle", child);
  }
  const double cpu1 = ProcessorSeconds(child.hProcess);
  ::QueryPerformanceCounter(&idle_end);
  std::fprintf(stderr, "probe: idle ends\n");
  std::fflush(stderr);
  const long messages = counters->messages - messages0;
  const long timers = counters->timer_messages - timers0;
  const long window_timers = counters->watched_window_timer_messages - window_timers0;
  PROCESS_MEMORY_COUNTERS memory_end = {};
  memory_end.cb = sizeof memory_end;
  ::GetProcessMemoryInfo(child.hProcess, &memory_end, sizeof memory_end);

  const double idle = Seconds(idle_start, idle_end);
  const double per_minute = idle > 0 ? 60 / idle : 0;
  // The windows are looked at while the program still runs.
  const std::string busiest =
      out.Busiest("busiest_messages_per_min", *counters, by_message0, per_minute);
  for (const HHOOK hook : hooks) ::UnhookWindowsHookEx(hook);
  ::TerminateProcess(child.hProcess, 0);
  ::WaitForSingleObject(child.hProcess, 5000);
  ::CloseHandle(child.hThread);
  ::CloseHandle(child.hProcess);

  out.Number("startup_cpu_s", cpu0, 3);
  out.Number("pagefile_kb", static_cast<double>(memory.PagefileUsage / 1024), 0);
  out.Number("working_set_kb", static_cast<double>(memory.WorkingSetSize / 1024), 0);
  if (options.idle_seconds == 0) return 0;
  out.Number("idle_seconds", idle, 1);
  out.Number("idle_cpu_s", cpu1 - cpu0, 3);
  out.Number("threads", threads, 0);
  out.Number("hooked_threads", static_cast<double>(hooks.size()), 0);
  if (counting) {
    out.Number("messages_per_min", messages * per_minute, 1);
    out.Number("timer_messages_per_min", timers * per_minute, 1);
    out.Number("window_timer_messages_per_min", window_timers * per_minute, 1);
    std::fputs(busiest.c_str(), stdout);
  }
  out.Number("pagefile_end_kb", static_cast<double>(memory_end.PagefileUsage / 1024), 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  return Probe(options);
}
