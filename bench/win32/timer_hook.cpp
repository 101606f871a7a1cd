// mivorun-probe-hook.dll: a message hook that mivorun-probe sets on the threads of the program
// it watches. Windows loads the library into that program; each message a thread takes off
// its queue passes the hook, which counts it in the probe's shared memory and lets it go on
// unchanged.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>

#include "bench/win32/probe_counters.h"

namespace {

using mivo::bench::ProbeCounters;

// The probe's counters, mapped at the first message; null when the probe's memory is gone.
ProbeCounters* Counters() {
  static ProbeCounters* counters = [] {
    const HANDLE mapping =
        ::OpenFileMappingA(FILE_MAP_WRITE, FALSE, mivo::bench::kProbeCountersName);
    if (mapping == nullptr) return static_cast<ProbeCounters*>(nullptr);
    void* view = ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeCounters));
    ::CloseHandle(mapping);  // the view keeps the memory
    return static_cast<ProbeCounters*>(view);
  }();
  return counters;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    MivoProbeGetMessageHook(int code, WPARAM wparam, LPARAM lparam) {
  // Only messages that leave the queue count: a look that leaves the message queued
  // (PM_NOREMOVE) sees it again later.
  if (code == HC_ACTION && wparam == PM_REMOVE && lparam != 0) {
    ProbeCounters* counters = Counters();
    const MSG* msg = reinterpret_cast<const MSG*>(lparam);
    if (counters != nullptr) {
      ::InterlockedIncrement(&counters->messages);
      const UINT slot = std::min<UINT>(msg->message, mivo::bench::kOtherMessages);
      ::InterlockedIncrement(&counters->by_message[slot]);
      counters->last_window[slot] = reinterpret_cast<std::uint64_t>(msg->hwnd);
      counters->last_wparam[slot] = msg->wParam;
      if (msg->message == WM_TIMER) {
        ::InterlockedIncrement(&counters->timer_messages);
        if (reinterpret_cast<std::uint64_t>(msg->hwnd) == counters->watched_window) {
          ::InterlockedIncrement(&counters->watched_window_timer_messages);
        }
      }
    }
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}
