// The window host with the calls of the trace format traced: timers, Sleep, ShowWindow,
// DestroyWindow, message boxes, the tray icon and its menu, and the modal boxes shown over
// the controller (DialogBox). Each line is written when the call is made, before anything it
// causes (the messages a message box dispatches, the WM_DESTROY that DestroyWindow sends).
// Every other operation passes through untraced.
//
// The controller's own dialog (template IDD_CONTROLLER) is not traced: its window is the one
// the trace writes as `hwnd`, from the moment the platform creates it.
#pragma once

#include "platform/host.h"
#include "platform/trace/tracer.h"

namespace mivo::trace {

class TracingWindowHost : public WindowHost {
 public:
  TracingWindowHost(WindowHost& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}

  int RunModal(Dialog& dialog) override;
  bool DestroyWindow(HWND window) override;
  bool ShowWindow(HWND window, int command) override;
  std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT period_ms) override;
  bool KillTimer(HWND window, std::uintptr_t id) override;
  int MessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
  void Sleep(DWORD ms) override;
  bool Shell_NotifyIcon(DWORD message, const NotifyIconData& data) override;
  bool TrackPopupMenu(HWND owner, int menu_id, const PopupItem* items, int count) override;

  // Untraced.
  HWND FindWindow(const char* class_name, const char* caption) override {
    return inner_.FindWindow(class_name, caption);
  }
  bool SetWindowText(HWND window, const char* text) override {
    return inner_.SetWindowText(window, text);
  }
  bool PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
    return inner_.PostMessage(window, message, wparam, lparam);
  }
  LRESULT SendMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
    return inner_.SendMessage(window, message, wparam, lparam);
  }
  LRESULT DefWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
    return inner_.DefWindowProc(window, message, wparam, lparam);
  }
  IconHandle LoadIcon(int resource_id) override { return inner_.LoadIcon(resource_id); }
  bool EndDialog(HWND dialog, int result) override { return inner_.EndDialog(dialog, result); }
  HWND GetDlgItem(HWND dialog, int id) override { return inner_.GetDlgItem(dialog, id); }
  UINT IsDlgButtonChecked(HWND dialog, int id) override {
    return inner_.IsDlgButtonChecked(dialog, id);
  }
  bool CheckDlgButton(HWND dialog, int id, UINT state) override {
    return inner_.CheckDlgButton(dialog, id, state);
  }
  BitmapHandle LoadBitmap(int resource_id) override { return inner_.LoadBitmap(resource_id); }
  BrushHandle CreateSolidBrush(COLORREF colour) override { return inner_.CreateSolidBrush(colour); }
  bool DeleteObject(GdiObject object) override { return inner_.DeleteObject(object); }
  int SetBkMode(DeviceContext dc, int mode) override { return inner_.SetBkMode(dc, mode); }
  COLORREF SetBkColor(DeviceContext dc, COLORREF colour) override {
    return inner_.SetBkColor(dc, colour);
  }
  bool IsIconic(HWND window) override { return inner_.IsIconic(window); }
  bool GetClientRect(HWND window, Rect* rect) override {
    return inner_.GetClientRect(window, rect);
  }
  int GetSystemMetrics(int index) override { return inner_.GetSystemMetrics(index); }
  DeviceContext BeginPaint(HWND window, PaintStruct* paint) override {
    return inner_.BeginPaint(window, paint);
  }
  bool EndPaint(HWND window, const PaintStruct& paint) override {
    return inner_.EndPaint(window, paint);
  }
  bool DrawIcon(DeviceContext dc, int x, int y, IconHandle icon) override {
    return inner_.DrawIcon(dc, x, y, icon);
  }

 private:
  WindowHost& inner_;
  Tracer& tracer_;
};

}  // namespace mivo::trace
