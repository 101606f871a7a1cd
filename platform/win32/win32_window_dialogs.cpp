// The dialogs' controls, GDI objects and the painting of the minimised window.
#include <cstring>

#include "platform/win32/win32_window.h"
#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

static_assert(sizeof(PAINTSTRUCT) <= sizeof(PaintStruct::platform),
              "the paint record fits the room the caller keeps for it");

::HGDIOBJ ToGdiObject(GdiObject object) {
  return reinterpret_cast<::HGDIOBJ>(object);
}

}  // namespace

HWND Win32WindowHost::GetDlgItem(HWND dialog, int id) {
  return FromHwnd(::GetDlgItem(ToHwnd(dialog), id));
}

UINT Win32WindowHost::IsDlgButtonChecked(HWND dialog, int id) {
  return ::IsDlgButtonChecked(ToHwnd(dialog), id);
}

bool Win32WindowHost::CheckDlgButton(HWND dialog, int id, UINT state) {
  return ::CheckDlgButton(ToHwnd(dialog), id, state) != FALSE;
}

BitmapHandle Win32WindowHost::LoadBitmap(int resource_id) {
  return reinterpret_cast<BitmapHandle>(::LoadBitmapA(ProgramModule(), ResourceName(resource_id)));
}

BrushHandle Win32WindowHost::CreateSolidBrush(COLORREF colour) {
  return reinterpret_cast<BrushHandle>(::CreateSolidBrush(colour));
}

bool Win32WindowHost::DeleteObject(GdiObject object) {
  return ::DeleteObject(ToGdiObject(object)) != FALSE;
}

int Win32WindowHost::SetBkMode(DeviceContext dc, int mode) {
  return ::SetBkMode(ToHdc(dc), mode);
}

COLORREF Win32WindowHost::SetBkColor(DeviceContext dc, COLORREF colour) {
  return ::SetBkColor(ToHdc(dc), colour);
}

bool Win32WindowHost::IsIconic(HWND window) {
  return ::IsIconic(ToHwnd(window)) != FALSE;
}

bool Win32WindowHost::GetClientRect(HWND window, Rect* rect) {
  RECT client;
  if (rect == nullptr || !::GetClientRect(ToHwnd(window), &client)) return false;
  rect->left = client.left;
  rect->top = client.top;
  rect->right = client.right;
  rect->bottom = client.bottom;
  return true;
}

int Win32WindowHost::GetSystemMetrics(int index) {
  return ::GetSystemMetrics(index);
}

DeviceContext Win32WindowHost::BeginPaint(HWND window, PaintStruct* paint) {
  if (paint == nullptr) return 0;
  PAINTSTRUCT record;
  const ::HDC dc = ::BeginPaint(ToHwnd(window), &record);
  std::memcpy(paint->platform, &record, sizeof record);
  paint->dc = FromHdc(dc);
  return paint->dc;
}

bool Win32WindowHost::EndPaint(HWND window, const PaintStruct& paint) {
  PAINTSTRUCT record;
  std::memcpy(&record, paint.platform, sizeof record);
  return ::EndPaint(ToHwnd(window), &record) != FALSE;
}

bool Win32WindowHost::DrawIcon(DeviceContext dc, int x, int y, IconHandle icon) {
  return ::DrawIcon(ToHdc(dc), x, y, reinterpret_cast<::HICON>(icon)) != FALSE;
}

}  // namespace mivo::win32
