#include "platform/sim/sim_window.h"

#include <cstdint>

#include "core/text.h"
#include "platform/framework.h"

namespace mivo::sim {

namespace {

// The controller's dialog template; any other template is a box that closes at once.
constexpr int kControllerTemplate = 102;
// The controller window's own caption, as the desktop's caption search sees it.
constexpr const char* kControllerCaption = "MivoRun";

// Fixed handle values: never dereferenced, only compared and traced.
constexpr std::uintptr_t kMainWindowHandle = 0x10010;
constexpr std::uintptr_t kBoxWindowHandle = 0x10020;
constexpr std::uintptr_t kDesktopWindowBase = 0x20000;
constexpr std::uintptr_t kMainControlBase = 0x11000;

// Whole-caption comparison without regard to case, as the desktop's window search does it.
bool SameCaption(const std::string& a, const char* b) {
  return EqualNoCase(a, b);
}

}  // namespace

SimWindowHost::SimWindowHost(EventLoop& loop, SimWorld& world) : loop_(loop), world_(world) {}

HWND SimWindowHost::MainWindow() {
  return reinterpret_cast<HWND>(kMainWindowHandle);
}

HWND SimWindowHost::BoxWindow() {
  return reinterpret_cast<HWND>(kBoxWindowHandle);
}

HWND SimWindowHost::DesktopWindow(std::size_t index) {
  return reinterpret_cast<HWND>(kDesktopWindowBase + index);
}

bool SimWindowHost::InMainWindow(HWND window) const {
  return window == MainWindow() && main_dialog_ != nullptr && state_ != WindowState::kDestroyed &&
         state_ != WindowState::kNone;
}

int SimWindowHost::RunModal(Dialog& dialog) {
  if (dialog.TemplateId() != kControllerTemplate) return RunBox(dialog);

  main_dialog_ = &dialog;
  dialog.m_hWnd = MainWindow();
  state_ = WindowState::kVisible;
  main_ending_ = false;
  dialog_result_ = 0;
  dispatch_depth_ = 0;
  main_controls_.Create(dialog.TemplateId(), kMainControlBase);
  loop_.set_target([this, &dialog](UINT message, WPARAM wparam, LPARAM lparam) {
    return DispatchToMain(dialog, message, wparam, lparam);
  });
  loop_.Send(WM_INITDIALOG, 0, 0);
  if (!destroyed()) loop_.Pump();
  if (!destroyed() && modal_driver_) modal_driver_();

  // The modal loop is over. A window that is still alive loses its messages and timers
  // with its dialog object, which the caller destroys next.
  if (!destroyed()) {
    loop_.Clear();
    loop_.set_target(nullptr);
  }
  main_dialog_ = nullptr;
  main_controls_.Destroy();
  return dialog_result_;
}

LRESULT SimWindowHost::DispatchToMain(Dialog& dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  };
  LRESULT result;
  {
    Depth depth(dispatch_depth_);
    result = dialog.WindowProc(message, wparam, lparam);
  }
  // The modal loop looks at the end mark between messages, as the system's dialog loop does.
  if (dispatch_depth_ == 0 && main_ending_ && !destroyed()) DestroyMainWindow();
  return result;
}

void SimWindowHost::DestroyMainWindow() {
  main_ending_ = false;
  loop_.Send(WM_DESTROY, 0, 0);
  state_ = WindowState::kDestroyed;
  main_controls_.Destroy();
  loop_.Clear();
  loop_.set_target(nullptr);
}

bool SimWindowHost::DestroyWindow(HWND window) {
  if (!InMainWindow(window)) return false;
  DestroyMainWindow();
  return true;
}

HWND SimWindowHost::FindWindow(const char*, const char* caption) {
  if (caption == nullptr) return nullptr;
  if (InMainWindow(MainWindow()) && SameCaption(kControllerCaption, caption)) {
    return MainWindow();
  }
  const std::vector<std::string>& captions = world_.pc.window_captions;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (SameCaption(captions[i], caption)) return DesktopWindow(i);
  }
  return nullptr;
}

bool SimWindowHost::SetWindowText(HWND window, const char* text) {
  if (box_open_ && window == BoxWindow()) {
    last_box_.caption = text != nullptr ? text : "";
    return true;
  }
  return InMainWindow(window);
}

bool SimWindowHost::ShowWindow(HWND window, int command) {
  if (!InMainWindow(window)) return false;
  // The result is whether the window was visible before (a minimised window is).
  const bool was_visible = state_ != WindowState::kHidden;
  switch (command) {
    case SW_HIDE:
      state_ = WindowState::kHidden;
      break;
    case 2:  // SW_SHOWMINIMIZED
    case SW_MINIMIZE:
    case 7:   // SW_SHOWMINNOACTIVE
    case 11:  // SW_FORCEMINIMIZE
      state_ = WindowState::kMinimized;
      break;
    default:
      state_ = WindowState::kVisible;
      break;
  }
  return was_visible;
}

bool SimWindowHost::PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!InMainWindow(window)) return false;
  loop_.Post(message, wparam, lparam);
  return true;
}

LRESULT SimWindowHost::SendMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  SimDialogControls::Control* control = main_controls_.FindByWindow(window);
  if (control == nullptr && box_open_) control = box_controls_.FindByWindow(window);
  if (control != nullptr) {
    // A button keeps the bitmap put on it and answers with the one it had.
    if (message != BM_SETIMAGE || wparam != IMAGE_BITMAP ||
        control->kind != SimDialogControls::Kind::kPushButton) {
      return 0;
    }
    const BitmapHandle old = control->image;
    control->image = static_cast<BitmapHandle>(lparam);
    return static_cast<LRESULT>(old);
  }
  if (!InMainWindow(window)) return 0;
  return loop_.Send(message, wparam, lparam);
}

std::uintptr_t SimWindowHost::SetTimer(HWND window, std::uintptr_t id, UINT period_ms) {
  if (!InMainWindow(window)) return 0;
  loop_.SetTimer(id, period_ms);
  // A window timer's result is non-zero on success, whatever its id.
  return id != 0 ? id : 1;
}

bool SimWindowHost::KillTimer(HWND window, std::uintptr_t id) {
  if (!InMainWindow(window)) return false;
  return loop_.KillTimer(id);
}

int SimWindowHost::MessageBox(HWND, const char*, const char*, UINT) {
  // The box's modal loop dispatches what is already queued; the user then presses OK.
  loop_.PumpMessages();
  return IDOK;
}

void SimWindowHost::Sleep(DWORD ms) {
  loop_.Sleep(ms);
}

std::size_t SimWindowHost::BoundedTip(const NotifyIconData& data) {
  std::size_t n = 0;
  while (n < sizeof data.tip && data.tip[n] != '\0') ++n;
  return n;
}

IconHandle SimWindowHost::LoadIcon(int resource_id) {
  return static_cast<IconHandle>(resource_id);
}

bool SimWindowHost::Shell_NotifyIcon(DWORD message, const NotifyIconData& data) {
  const bool same_icon = tray_present_ && data.window == tray_window_ && data.id == tray_id_;
  switch (message) {
    case NIM_ADD:
      if (tray_present_) return false;
      tray_present_ = true;
      tray_window_ = data.window;
      tray_id_ = data.id;
      tray_icon_ = (data.flags & NIF_ICON) != 0 ? data.icon : 0;
      tray_tip_ = (data.flags & NIF_TIP) != 0 ? std::string(data.tip, BoundedTip(data)) : "";
      return true;
    case NIM_MODIFY:
      if (!same_icon) return false;
      if ((data.flags & NIF_ICON) != 0) tray_icon_ = data.icon;
      if ((data.flags & NIF_TIP) != 0) tray_tip_ = std::string(data.tip, BoundedTip(data));
      return true;
    case NIM_DELETE:
      if (!same_icon) return false;
      tray_present_ = false;
      tray_window_ = nullptr;
      tray_id_ = 0;
      tray_icon_ = 0;
      tray_tip_.clear();
      return true;
    default:
      return false;
  }
}

bool SimWindowHost::TrackPopupMenu(HWND, int, const PopupItem*, int) {
  // The menu closes without a choice; a chosen command is a separate event.
  return true;
}

}  // namespace mivo::sim
