// The simulated window system: the controller's one window, its modal loop, timers on the
// event loop, the message box, the tray icon and its menu, and the desktop's other windows.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_dialog_controls.h"
#include "platform/sim/sim_gdi.h"
#include "platform/sim/sim_world.h"

namespace mivo::sim {

class SimWindowHost : public WindowHost {
 public:
  enum class WindowState { kNone, kVisible, kMinimized, kHidden, kDestroyed };

  SimWindowHost(EventLoop& loop, SimWorld& world);

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

  // ---- The dialogs' surfaces ----
  // What the last About box (or other box) showed while it was open.
  struct BoxRecord {
    bool shown = false;
    std::string caption;         // as the box set it on its window
    int result = 0;              // what ended it
    int ok_bitmap_resource = 0;  // the bitmap resource on its OK button while open, 0 none
    // How each kind of its surface was drawn: the brush the box answered for it, and the
    // device context's background mode and colour after the answer.
    struct Drawn {
      BrushHandle brush = 0;
      COLORREF brush_colour = 0;  // of a brush the program made; 0 for the system's
      int bk_mode = 0;
      COLORREF bk_colour = 0;
    };
    Drawn dialog;
    Drawn picture;
    Drawn ok_button;
  };
  const BoxRecord& last_box() const { return last_box_; }
  // The user clicks control `id` of the controller's window: a check box toggles, and the
  // window gets WM_COMMAND with BN_CLICKED, as from a real button. False when there is none.
  bool ClickControl(int id);
  // The check state of the controller window's check box `id` (0 when there is none).
  UINT CheckState(int id) const;
  // The result the controller's dialog ended with (EndDialog), or 0.
  int dialog_result() const { return dialog_result_; }
  // What painting the controller's window did, in order: "BeginPaint", "EraseIconBackground"
  // (WM_ICONERASEBKGND reached the default processing), "DrawIcon(ICON, X, Y)", "EndPaint".
  const std::vector<std::string>& paint_log() const { return paint_log_; }
  const SimGdi& gdi() const { return gdi_; }
  // The controller window's client area (the key panel's size).
  static Rect ClientArea();

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
  bool EndDialog(HWND dialog, int result) override;
  HWND GetDlgItem(HWND dialog, int id) override;
  UINT IsDlgButtonChecked(HWND dialog, int id) override;
  bool CheckDlgButton(HWND dialog, int id, UINT state) override;
  BitmapHandle LoadBitmap(int resource_id) override;
  BrushHandle CreateSolidBrush(COLORREF colour) override;
  bool DeleteObject(GdiObject object) override;
  int SetBkMode(DeviceContext dc, int mode) override;
  COLORREF SetBkColor(DeviceContext dc, COLORREF colour) override;
  bool IsIconic(HWND window) override;
  bool GetClientRect(HWND window, Rect* rect) override;
  int GetSystemMetrics(int index) override;
  DeviceContext BeginPaint(HWND window, PaintStruct* paint) override;
  bool EndPaint(HWND window, const PaintStruct& paint) override;
  bool DrawIcon(DeviceContext dc, int x, int y, IconHandle icon) override;

 private:
  // The box's part of RunModal: a dialog other than the controller, on top of it.
  int RunBox(Dialog& dialog);
  // Asks the box how to draw one part of it (WM_CTLCOLORxxx) and records the answer.
  BoxRecord::Drawn DrawBoxPart(Dialog& dialog, UINT kind, HWND control);
  // Hands a message to the controller's dialog; when its handling ends the dialog
  // (EndDialog) and no other message of it is being handled, the window is destroyed.
  LRESULT DispatchToMain(Dialog& dialog, UINT message, WPARAM wparam, LPARAM lparam);
  // The destruction of the controller's window: WM_DESTROY, then its messages and timers go.
  void DestroyMainWindow();
  // The controls of `dialog` (the controller's or the open box's), or null.
  SimDialogControls* ControlsOf(HWND dialog);

  EventLoop& loop_;
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

  SimGdi gdi_;
  SimDialogControls main_controls_;
  SimDialogControls box_controls_;
  bool box_open_ = false;
  bool box_ending_ = false;
  int box_result_ = 0;
  BoxRecord last_box_;
  int dispatch_depth_ = 0;
  bool main_ending_ = false;
  int dialog_result_ = 0;
  std::vector<std::string> paint_log_;
  bool painting_ = false;
};

}  // namespace mivo::sim
