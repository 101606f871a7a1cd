// mivorun-minimal-dialog.exe: the least a Win32 dialog program does, as the reference for
// what the window system costs by itself. Like MivoRun.exe it makes its dialog from a
// template, minimises it while it initialises, hides it 100 ms later, and then waits in its
// message loop until it is closed. It reads no file and starts no timer after that, unless
// told "--tick MS": then a timer of that period runs on, which is what the probe's timer count
// is checked against. "--mixer" opens the first mixer device for the dialog's window at start,
// as MivoRun.exe does, and "--tray" puts an icon in the notification area: what Wine's sound
// system and shell cost a program come out apart.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// clang-format off
#include <mmsystem.h>
#include <shellapi.h>
// clang-format on

#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr UINT_PTR kTickTimer = 2;
constexpr UINT kHideDelayMs = 100;

UINT tick_ms = 0;
bool open_mixer = false;
bool tray_icon = false;
HMIXER mixer = nullptr;

// The mixer library is loaded only when asked for, so that the plain program does without it.
// The mixer stays open until the program ends.
void OpenMixer(HWND window) {
  const HMODULE winmm = ::LoadLibraryA("winmm.dll");
  if (winmm == nullptr) return;
  using OpenFunction = MMRESULT(WINAPI*)(LPHMIXER, UINT, DWORD_PTR, DWORD_PTR, DWORD);
  const auto open =
      reinterpret_cast<OpenFunction>(reinterpret_cast<void*>(::GetProcAddress(winmm, "mixerOpen")));
  if (open != nullptr) open(&mixer, 0, reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW);
}

// An icon in the notification area, through the shell library loaded only when asked for.
void AddTrayIcon(HWND window) {
  const HMODULE shell = ::LoadLibraryA("shell32.dll");
  if (shell == nullptr) return;
  using NotifyFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
  const auto notify = reinterpret_cast<NotifyFunction>(
      reinterpret_cast<void*>(::GetProcAddress(shell, "Shell_NotifyIconA")));
  if (notify == nullptr) return;
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  std::strcpy(icon.szTip, "Minimal dialog");
  notify(NIM_ADD, &icon);
}

bool HasFlag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return true;
  }
  return false;
}

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
      if (open_mixer) OpenMixer(window);
      if (tray_icon) AddTrayIcon(window);
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
  open_mixer = HasFlag(__argc, __argv, "--mixer");
  tray_icon = HasFlag(__argc, __argv, "--tray");
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
