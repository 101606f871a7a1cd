// The simulated window system: the controller's one window, its modal loop, timers on the
// event loop, the message box, the tray icon and its menu, and the desktop's other windows.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/host.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_world.h"
#include "platform/sim/trace.h"

namespace mivo::sim {

class SimWindowHost : public WindowHost {
 public:
  enum class WindowState { kNone, kVisible, kMinimized, kHidden, kDestroyed };

  SimWindowHost(EventLoop& loop, Trace& trace, SimWorld& world);

  // What runs while the main dialog is modal: a script's remaining lines, the interactive
  // terminal, or a test. RunModal calls it after WM_INITDIALOG and the first pump; the modal
  // loop ends when it returns or when the window is destroyed. A window still alive when the
  // driver returns loses its queued messages and timers: its dialog object goes next.
  void set_modal_driver(std::function<void()> driver) { modal_driver_ = std::move(driver); }

  // The controller's window handle (the same value every run; traced as `hwnd`).
  static HWND MainWindow();
  // The window handle a modal box (the About box) gets while it is open.
  static HWND BoxWindow();
  // Another program's top-level window: the n-th caption of the world's desktop.
  static HWND DesktopWindow(std::size_t index);

  WindowState window_state() const { return state_; }
  bool destroyed() const { return state_ == WindowState::kDestroyed; }
  bool tray_present() const { return tray_present_; }
  int tray_icon() const { return tray_icon_; }
  const std::string& tray_tip() const { return tray_tip_; }

  // WindowHost
  int RunModal(Dialog& dialog) override;
  bool DestroyWindow(HWND window) override;
  HWND FindWindow(const char* class_name, const char* caption) override;
  bool SetWindowText(HWND window, const char* text) override;
  bool ShowWindow(HWND window, int command) override;
  bool PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT SendMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  LRESULT DefWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT period_ms) override;
  bool KillTimer(HWND window, std::uintptr_t id) override;
  int MessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
  void Sleep(DWORD ms) override;
  IconHandle LoadIcon(int resource_id) override;
  bool Shell_NotifyIcon(DWORD message, const NotifyIconData& data) override;
  bool TrackPopupMenu(HWND owner, int menu_id, const PopupItem* items, int count) override;

 private:
  EventLoop& loop_;
  Trace& trace_;
  SimWorld& world_;
  std::function<void()> modal_driver_;
  Dialog* main_dialog_ = nullptr;
  WindowState state_ = WindowState::kNone;
  // Whether `window` is the controller's window and it exists.
  bool InMainWindow(HWND window) const;
  // The length of the tip text, looking no further than its field.
  static std::size_t BoundedTip(const NotifyIconData& data);

  bool tray_present_ = false;
  HWND tray_window_ = nullptr;
  UINT tray_id_ = 0;
  int tray_icon_ = 0;
  std::string tray_tip_;
};

}  // namespace mivo::sim
