// What the framework and the operating system give the controller. Each function is one
// platform operation with no controller logic in it; the Win32 platform maps each onto its
// system call, the simulated platform onto its model of a PC.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file_host.h"
#include "platform/win_types.h"

namespace mivo {

class Dialog;

// Notification-area icon data (the shell's NOTIFYICONDATAA, as far as the controller fills it).
struct NotifyIconData {
  HWND window = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callback_message = 0;
  int icon = 0;  // icon resource id
  char tip[128] = {};
};

// One item of a popup menu: the command it sends and the text it shows.
struct PopupItem {
  UINT command = 0;
  const char* text = "";
};

// A rectangle in pixels (the system's RECT).
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// What BeginPaint hands out and EndPaint takes back: the device context to paint with, and
// the system's own paint record (a PAINTSTRUCT: 64 bytes on 32-bit Windows, 72 on 64-bit),
// which the caller keeps untouched in between.
struct PaintStruct {
  DeviceContext dc = 0;
  alignas(8) unsigned char platform[96] = {};
};

// Window, messages, timers, dialogs and their controls, painting, the tray icon and its menu.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Runs `dialog` modally: creates its window (dialog.m_hWnd), sends WM_INITDIALOG, and
  // dispatches messages until the window is destroyed. Returns the dialog's result.
  virtual int RunModal(Dialog& dialog) = 0;
  virtual bool DestroyWindow(HWND window) = 0;
  virtual HWND FindWindow(const char* class_name, const char* caption) = 0;
  virtual bool SetWindowText(HWND window, const char* text) = 0;
  virtual bool ShowWindow(HWND window, int command) = 0;
  virtual bool PostMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
  virtual LRESULT SendMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // The default processing of a message that the window's handlers passed on.
  virtual LRESULT DefWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) = 0;
  virtual std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT period_ms) = 0;
  virtual bool KillTimer(HWND window, std::uintptr_t id) = 0;
  virtual int MessageBox(HWND owner, const char* text, const char* caption, UINT type) = 0;
  virtual void Sleep(DWORD ms) = 0;
  virtual IconHandle LoadIcon(int resource_id) = 0;
  virtual bool Shell_NotifyIcon(DWORD message, const NotifyIconData& data) = 0;
  // Loads menu resource `menu_id`, sets the texts of its items by command, enables them,
  // brings `owner` to the foreground and tracks the popup at the cursor (TPM_RIGHTBUTTON);
  // the chosen command reaches `owner` as WM_COMMAND. The menu is destroyed afterwards.
  virtual bool TrackPopupMenu(HWND owner, int menu_id, const PopupItem* items, int count) = 0;

  // ---- Dialogs and their controls ----
  // EndDialog: the modal loop of `dialog` ends once the message being handled returns, and
  // RunModal returns `result`; the window is then destroyed.
  virtual bool EndDialog(HWND dialog, int result) = 0;
  // GetDlgItem: the control of `dialog` with `id`, null when there is none.
  virtual HWND GetDlgItem(HWND dialog, int id) = 0;
  // IsDlgButtonChecked: the check state of button `id` (BST_UNCHECKED, BST_CHECKED, 2 for
  // indeterminate); 0 when there is no such button.
  virtual UINT IsDlgButtonChecked(HWND dialog, int id) = 0;
  // CheckDlgButton: sets the check state of button `id`.
  virtual bool CheckDlgButton(HWND dialog, int id, UINT state) = 0;

  // ---- GDI ----
  // LoadBitmapA of a bitmap resource of the program; 0 when there is none. The caller deletes
  // it with DeleteObject.
  virtual BitmapHandle LoadBitmap(int resource_id) = 0;
  // CreateSolidBrush; 0 on failure. The caller deletes it with DeleteObject.
  virtual BrushHandle CreateSolidBrush(COLORREF colour) = 0;
  // DeleteObject of a brush or bitmap made by the two calls above.
  virtual bool DeleteObject(GdiObject object) = 0;
  // SetBkMode (TRANSPARENT, OPAQUE); returns the former mode, 0 on failure.
  virtual int SetBkMode(DeviceContext dc, int mode) = 0;
  // SetBkColor; returns the former colour, CLR_INVALID (0xFFFFFFFF) on failure.
  virtual COLORREF SetBkColor(DeviceContext dc, COLORREF colour) = 0;

  // ---- Painting ----
  // IsIconic: whether `window` is minimised.
  virtual bool IsIconic(HWND window) = 0;
  // GetClientRect: the client area, left and top always 0.
  virtual bool GetClientRect(HWND window, Rect* rect) = 0;
  // GetSystemMetrics (SM_CXICON, SM_CYICON, ...).
  virtual int GetSystemMetrics(int index) = 0;
  // BeginPaint: fills `paint` with the device context of the invalid area (0 on failure).
  virtual DeviceContext BeginPaint(HWND window, PaintStruct* paint) = 0;
  // EndPaint: ends the painting that BeginPaint began with `paint`.
  virtual bool EndPaint(HWND window, const PaintStruct& paint) = 0;
  // DrawIcon: draws `icon` with its top-left corner at (x, y).
  virtual bool DrawIcon(DeviceContext dc, int x, int y, IconHandle icon) = 0;
};

// Broken-down local time (the fields of the system's SYSTEMTIME that the controller reads).
struct LocalTime {
  int year = 0;
  int month = 0;        // 1..12
  int day_of_week = 0;  // 0 = Sunday
  int day = 0;          // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

struct TimeZoneInfo {
  std::int32_t bias_minutes = 0;  // UTC = local time + bias
  bool daylight = false;          // daylight saving time is in effect now
};

// The PC's clock, time zone and locale date formatting.
class ClockHost {
 public:
  virtual ~ClockHost() = default;

  // Seconds since 1970-01-01 UTC.
  virtual std::int64_t Time() = 0;
  // The local date and time of the PC now.
  virtual LocalTime GetLocalTime() = 0;
  // A UTC time broken down with the PC's local time rules (as the C library's localtime).
  virtual bool LocalTimeOf(std::int64_t utc_seconds, LocalTime* out) = 0;
  virtual TimeZoneInfo GetTimeZoneInformation() = 0;
  // Formats `date` (null: today) with the locale's names and the picture, as GetDateFormatA;
  // returns the characters written including the terminator, 0 on failure.
  virtual int GetDateFormat(int locale, DWORD flags, const LocalTime* date, const char* picture,
                            char* out, int out_size) = 0;
};

struct MixerCaps {
  char product_name[32] = {};
};

struct MixerLine {
  DWORD component_type = 0;  // in
  DWORD line_id = 0;         // out
  DWORD channels = 0;        // out
};

struct MixerControl {
  DWORD control_id = 0;
};

// The multimedia mixer. A handle of 0 stands for mixer device 0.
class MixerHost {
 public:
  virtual ~MixerHost() = default;

  virtual UINT mixerGetNumDevs() = 0;
  virtual bool mixerGetDevCaps(UINT device, MixerCaps* caps) = 0;
  virtual bool mixerOpen(MixerHandle* mixer, UINT device, HWND callback, DWORD flags) = 0;
  virtual bool mixerClose(MixerHandle mixer) = 0;
  // By component type (line->component_type in); fills line id and channel count.
  virtual bool mixerGetLineInfo(MixerHandle mixer, MixerLine* line) = 0;
  // The first control of `control_type` on the line.
  virtual bool mixerGetLineControls(MixerHandle mixer, DWORD line_id, DWORD control_type,
                                    MixerControl* control) = 0;
  virtual bool mixerGetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                      DWORD* values) = 0;
  // With one channel given, the value applies to all channels.
  virtual bool mixerSetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                      const DWORD* values) = 0;
};

struct ProcessInfo {
  Handle process = 0;
  Handle thread = 0;
};

// Files, registry, devices, processes and code pages.
class SystemHost {
 public:
  virtual ~SystemHost() = default;

  // As GetCurrentDirectoryA: the length written without the terminator, or the size needed
  // (terminator included) when the buffer is too small, in which case nothing is written.
  virtual DWORD GetCurrentDirectory(DWORD buffer_size, char* buffer) = 0;

  virtual bool RegOpenKeyEx(RegKey parent, const char* subkey, RegKey* key) = 0;
  virtual bool RegSetValueEx(RegKey key, const char* name, DWORD type, const std::uint8_t* data,
                             DWORD size) = 0;
  virtual void RegCloseKey(RegKey key) = 0;

  // Opens an existing device for reading and writing, exclusive; INVALID_HANDLE_VALUE if it
  // cannot be opened.
  virtual Handle CreateFile(const char* name) = 0;
  virtual bool DeviceIoControl(Handle device, DWORD code, const void* in, DWORD in_size) = 0;
  virtual bool CloseHandle(Handle handle) = 0;

  // Starts `command_line` (found by the system's executable search) hidden, without handle
  // inheritance or creation flags, in the current environment and directory.
  virtual bool CreateProcess(const char* command_line, ProcessInfo* info) = 0;
  virtual DWORD WaitForSingleObject(Handle handle, DWORD ms) = 0;

  // As MultiByteToWideChar / WideCharToMultiByte with a source length of -1 (the terminator
  // is converted too): characters written including the terminator, 0 on failure.
  virtual int MultiByteToWideChar(UINT code_page, const char* source, char16_t* out,
                                  int out_size) = 0;
  virtual int WideCharToMultiByte(UINT code_page, const char16_t* source, char* out,
                                  int out_size) = 0;

  // How many bytes from `address` on lie in committed, readable memory of this process, at
  // most `max_bytes`: the count of readable bytes before the first one that is not, 0 for a
  // null or unreadable address. Any program can post a message whose lParam is not a valid
  // pointer; the controller reads such texts no further than this. It never faults, changes
  // nothing and is not traced. Win32: VirtualQuery, region by region (MEM_COMMIT, a readable
  // protection without PAGE_GUARD or PAGE_NOACCESS).
  virtual std::size_t ReadableBytes(const void* address, std::size_t max_bytes) = 0;

  // One diagnostics line (no line end): what the program would otherwise drop silently, for a
  // person looking into it. Never changes behaviour. Win32: OutputDebugStringA of the line
  // followed by "\n", seen in a debugger or a debug-output viewer.
  virtual void OutputDebugString(const char* line) = 0;
};

// Everything the controller needs from its platform besides the two libraries.
struct Host {
  WindowHost& window;
  ClockHost& clock;
  MixerHost& mixer;
  SystemHost& system;
  FileHost& files;
};

}  // namespace mivo
