// The real window system: the controller's dialog built from its template and run modally,
// its timers and messages, message boxes, the tray icon and its menu, the dialogs' controls,
// GDI objects and painting.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/host.h"

namespace mivo::win32 {

class Win32WindowHost : public WindowHost {
 public:
  Win32WindowHost() = default;
  ~Win32WindowHost() override = default;
  Win32WindowHost(const Win32WindowHost&) = delete;
  Win32WindowHost& operator=(const Win32WindowHost&) = delete;

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

  // One dialog window bound to its framework object for as long as the window exists: every
  // message of the window goes to the object, whose default processing is the window's own
  // dialog procedure. Public for the window procedure; not part of the interface.
  struct Binding {
    Dialog* dialog = nullptr;
    void* window = nullptr;         // the system's window handle
    std::intptr_t dialog_proc = 0;  // the window's own procedure, replaced by ours
    bool ending = false;            // EndDialog was called
    int result = -1;                // what RunModal returns
  };

 private:
  // The modal dialogs running, innermost last.
  std::vector<Binding*> modal_;
};

}  // namespace mivo::win32
