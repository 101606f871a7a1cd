#include "platform/win32/win32_window.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

using Binding = Win32WindowHost::Binding;

// The window property that leads from a dialog window to its binding.
constexpr const char* kBindingProperty = "MivoRun.Dialog";
// The window class of every dialog made from a template.
constexpr const char* kDialogClass = "#32770";

// The binding of the dialog whose window is being created, for the creation hook.
thread_local Binding* creating = nullptr;

Binding* BindingOf(::HWND window) {
  return static_cast<Binding*>(::GetPropA(window, kBindingProperty));
}

::WNDPROC DialogProcOf(const Binding& binding) {
  return reinterpret_cast<::WNDPROC>(binding.dialog_proc);
}

// Every message of a bound dialog window goes to its framework object first; the object
// passes what it does not handle on to DefWindowProc, which calls the window's own dialog
// procedure. The binding ends with the window's last message.
::LRESULT CALLBACK BoundWindowProc(::HWND window, ::UINT message, ::WPARAM wparam,
                                   ::LPARAM lparam) {
  Binding* binding = BindingOf(window);
  if (binding == nullptr) return ::DefWindowProcA(window, message, wparam, lparam);
  const ::LRESULT result = binding->dialog->WindowProc(message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, binding->dialog_proc);
    ::RemovePropA(window, kBindingProperty);
    binding->window = nullptr;
  }
  return result;
}

void Bind(::HWND window, Binding* binding) {
  binding->window = window;
  binding->dialog->m_hWnd = FromHwnd(window);
  ::SetPropA(window, kBindingProperty, binding);
  binding->dialog_proc =
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoundWindowProc));
}

// Binds the dialog's window as it is created, before its first message, so that the
// framework object sees every message the window receives (WM_INITDIALOG included). The
// window being created first is the dialog itself; its controls follow it.
::LRESULT CALLBACK CreationHook(int code, ::WPARAM wparam, ::LPARAM lparam) {
  if (code == HCBT_CREATEWND && creating != nullptr && creating->window == nullptr) {
    const auto window = reinterpret_cast<::HWND>(wparam);
    char class_name[16] = {};
    ::GetClassNameA(window, class_name, sizeof class_name);
    if (std::strcmp(class_name, kDialogClass) == 0) Bind(window, creating);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

// The dialog procedure handed to the dialog manager. The framework object handles the
// messages itself; the dialog manager's default processing does the rest.
INT_PTR CALLBACK PassiveDialogProc(::HWND, ::UINT, ::WPARAM, ::LPARAM) {
  return FALSE;
}

// A copy of at most `max` bytes of a text that may lack its terminator, always terminated.
void CopyBounded(char* out, std::size_t out_size, const char* text, std::size_t max) {
  std::size_t n = 0;
  while (text != nullptr && n < max && n + 1 < out_size && text[n] != '\0') {
    out[n] = text[n];
    ++n;
  }
  out[n] = '\0';
}

}  // namespace

int Win32WindowHost::RunModal(Dialog& dialog) {
  Binding binding;
  binding.dialog = &dialog;
  const auto owner = modal_.empty() ? nullptr : static_cast<::HWND>(modal_.back()->window);
  modal_.push_back(&binding);

  Binding* const outer = creating;
  creating = &binding;
  ::HHOOK hook = ::SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId());
  const ::HWND window = ::CreateDialogParamA(ProgramModule(), ResourceName(dialog.TemplateId()),
                                             owner, &PassiveDialogProc, 0);
  if (hook != nullptr) ::UnhookWindowsHookEx(hook);
  creating = outer;

  if (window != nullptr && binding.window != nullptr) {
    // Modal to its owner, as the dialog box functions make it. A dialog that made itself
    // visible while it initialised (the controller minimises itself) is left as it is.
    if (owner != nullptr) ::EnableWindow(owner, FALSE);
    if (!binding.ending && !::IsWindowVisible(window)) ::ShowWindow(window, SW_SHOWNORMAL);

    MSG msg;
    while (!binding.ending && binding.window != nullptr) {
      const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        // WM_QUIT ends this loop and every loop around it.
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (!::IsDialogMessageA(window, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
    if (owner != nullptr) ::EnableWindow(owner, TRUE);
  }
  // Ended by EndDialog (or WM_QUIT): the window goes now.
  if (binding.window != nullptr) ::DestroyWindow(static_cast<::HWND>(binding.window));

  modal_.erase(std::find(modal_.begin(), modal_.end(), &binding));
  dialog.m_hWnd = nullptr;
  return window != nullptr ? binding.result : -1;
}

bool Win32WindowHost::EndDialog(HWND dialog, int result) {
  for (Binding* binding : modal_) {
    if (binding->window != nullptr && binding->window == ToHwnd(dialog)) {
      binding->ending = true;
      binding->result = result;
      return true;
    }
  }
  // A dialog box of the system's own (a message box) ends the system's way.
  return dialog != nullptr && ::EndDialog(ToHwnd(dialog), result) != FALSE;
}

bool Win32WindowHost::DestroyWindow(HWND window) {
  return ::DestroyWindow(ToHwnd(window)) != FALSE;
}

LRESULT Win32WindowHost::DefWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const ::HWND hwnd = ToHwnd(window);
  const Binding* binding = hwnd != nullptr ? BindingOf(hwnd) : nullptr;
  if (binding == nullptr) return ::DefWindowProcA(hwnd, message, wparam, lparam);
  return ::CallWindowProcA(DialogProcOf(*binding), hwnd, message, wparam, lparam);
}

HWND Win32WindowHost::FindWindow(const char* class_name, const char* caption) {
  return FromHwnd(::FindWindowA(class_name, caption));
}

bool Win32WindowHost::SetWindowText(HWND window, const char* text) {
  return ::SetWindowTextA(ToHwnd(window), text) != FALSE;
}

bool Win32WindowHost::ShowWindow(HWND window, int command) {
  return ::ShowWindow(ToHwnd(window), command) != FALSE;
}

bool Win32WindowHost::PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return ::PostMessageA(ToHwnd(window), message, wparam, lparam) != FALSE;
}

LRESULT Win32WindowHost::SendMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return ::SendMessageA(ToHwnd(window), message, wparam, lparam);
}

std::uintptr_t Win32WindowHost::SetTimer(HWND window, std::uintptr_t id, UINT period_ms) {
  return ::SetTimer(ToHwnd(window), id, period_ms, nullptr);
}

bool Win32WindowHost::KillTimer(HWND window, std::uintptr_t id) {
  return ::KillTimer(ToHwnd(window), id) != FALSE;
}

int Win32WindowHost::MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return ::MessageBoxA(ToHwnd(owner), text, caption, type);
}

void Win32WindowHost::Sleep(DWORD ms) {
  ::Sleep(ms);
}

IconHandle Win32WindowHost::LoadIcon(int resource_id) {
  return reinterpret_cast<IconHandle>(::LoadIconA(ProgramModule(), ResourceName(resource_id)));
}

bool Win32WindowHost::Shell_NotifyIcon(DWORD message, const NotifyIconData& data) {
  // The structure as the shell of every Windows version since 2000 takes it.
  NOTIFYICONDATAA icon_data;
  std::memset(&icon_data, 0, sizeof icon_data);
  icon_data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  icon_data.hWnd = ToHwnd(data.window);
  icon_data.uID = data.id;
  icon_data.uFlags = data.flags;
  icon_data.uCallbackMessage = data.callback_message;
  if ((data.flags & NIF_ICON) != 0) {
    // The notification area shows small icons: the icon's own small image, not a shrunk one.
    icon_data.hIcon = static_cast<::HICON>(
        ::LoadImageA(ProgramModule(), ResourceName(data.icon), IMAGE_ICON,
                     ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  }
  CopyBounded(icon_data.szTip, sizeof icon_data.szTip, data.tip, sizeof data.tip);
  return ::Shell_NotifyIconA(message, &icon_data) != FALSE;
}

bool Win32WindowHost::TrackPopupMenu(HWND owner, int menu_id, const PopupItem* items, int count) {
  const ::HMENU menu = ::LoadMenuA(ProgramModule(), ResourceName(menu_id));
  if (menu == nullptr) return false;
  const ::HMENU popup = ::GetSubMenu(menu, 0);
  bool tracked = false;
  if (popup != nullptr) {
    for (int i = 0; items != nullptr && i < count; ++i) {
      const char* text = items[i].text != nullptr ? items[i].text : "";
      ::ModifyMenuA(popup, items[i].command, MF_BYCOMMAND | MF_STRING, items[i].command, text);
      ::EnableMenuItem(popup, items[i].command, MF_BYCOMMAND | MF_ENABLED);
    }
    POINT cursor = {0, 0};
    ::GetCursorPos(&cursor);
    // The owner in the foreground, so that the menu closes when the user clicks elsewhere;
    // the empty message after it lets the menu go away at once the next time.
    ::SetForegroundWindow(ToHwnd(owner));
    tracked = ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, ToHwnd(owner),
                               nullptr) != FALSE;
    ::PostMessageA(ToHwnd(owner), WM_NULL, 0, 0);
  }
  ::DestroyMenu(menu);
  return tracked;
}

}  // namespace mivo::win32
