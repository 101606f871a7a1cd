// mivorun-minimal-dialog.exe: the least a Win32 dialog program does, as the reference for
// what the window system costs by itself. Like MivoRun.exe it makes its dialog from a
// template, minimises it while it initialises, hides it 100 ms later, and then waits in its
// message loop until it is closed. It reads no file and starts no timer after that, unless
// told "--tick MS": then a timer of that period runs on, which is what the probe's timer count
// is checked against.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr UINT_PTR kTickTimer = 2;
constexpr UINT kHideDelayMs = 100;

UINT tick_ms = 0;

// "--tick MS" on the command line, MS from 10 to 60000; 0 otherwise.
UINT TickOf(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--tick") != 0) continue;
    const long ms = std::strtol(argv[i + 1], nullptr, 10);
    return ms >= 10 && ms <= 60000 ? static_cast<UINT>(ms) : 0;
  }
  return 0;
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ::ShowWindow(window, SW_MINIMIZE);
      ::SetTimer(window, kHideTimer, kHideDelayMs, nullptr);
      if (tick_ms != 0) ::SetTimer(window, kTickTimer, tick_ms, nullptr);
      return TRUE;
    case WM_TIMER:
      if (wparam != kHideTimer) return wparam == kTickTimer;
      ::KillTimer(window, kHideTimer);
      ::ShowWindow(window, SW_HIDE);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) != IDOK && LOWORD(wparam) != IDCANCEL) return FALSE;
      ::DestroyWindow(window);
      return TRUE;
    case WM_CLOSE:
      ::DestroyWindow(window);
      return TRUE;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tick_ms = TickOf(__argc, __argv);
  const HWND window = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(1), nullptr, &DialogProc, 0);
  if (window == nullptr) return 1;
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!::IsDialogMessageA(window, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return 0;
}
