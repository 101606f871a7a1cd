// The one header that brings in <windows.h>, for the .cpp files of platform/win32/ only.
//
// <windows.h> turns many function names into macros for their ANSI or wide forms
// (SendMessage -> SendMessageA, ...) and defines the message numbers and constants of
// platform/win_types.h as macros. So the portable headers come first, with their names
// intact; then <windows.h>; then the renaming macros that collide with the names of our
// interfaces are undone. Our code calls the system's ANSI functions by their full names
// (::SendMessageA) and writes the system's types with the global qualifier (::HWND), the
// controller's with their namespace (mivo::HWND).
#pragma once

#include "platform/file_host.h"
#include "platform/framework.h"
#include "platform/handset_library.h"
#include "platform/host.h"
#include "platform/voip_bridge.h"
#include "platform/win_types.h"

// Values of the controller's vocabulary whose names <windows.h> takes over as macros.
namespace mivo::win32 {
inline constexpr RegKey kCurrentUserKey = mivo::HKEY_CURRENT_USER;
inline constexpr Handle kInvalidHandle = mivo::INVALID_HANDLE_VALUE;
}  // namespace mivo::win32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>
// clang-format on

#undef CreateFile
#undef CreateProcess
#undef DefWindowProc
#undef DialogBox
#undef FindWindow
#undef GetCurrentDirectory
#undef GetDateFormat
#undef GetObject
#undef LoadBitmap
#undef LoadIcon
#undef LoadMenu
#undef MessageBox
#undef OutputDebugString
#undef PostMessage
#undef RegOpenKeyEx
#undef RegSetValueEx
#undef ReplaceFile
#undef SendMessage
#undef SetWindowText
#undef Shell_NotifyIcon
#undef mixerGetControlDetails
#undef mixerGetDevCaps
#undef mixerGetLineControls
#undef mixerGetLineInfo

namespace mivo::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is handed to the system as is");

// The controller's handles are the system's handles, carried as opaque values.
inline ::HWND ToHwnd(mivo::HWND window) {
  return reinterpret_cast<::HWND>(window);
}
inline mivo::HWND FromHwnd(::HWND window) {
  return reinterpret_cast<mivo::HWND>(window);
}
inline ::HANDLE ToHandle(mivo::Handle handle) {
  return reinterpret_cast<::HANDLE>(handle);
}
inline mivo::Handle FromHandle(::HANDLE handle) {
  return reinterpret_cast<mivo::Handle>(handle);
}
inline ::HDC ToHdc(mivo::DeviceContext dc) {
  return reinterpret_cast<::HDC>(dc);
}
inline mivo::DeviceContext FromHdc(::HDC dc) {
  return reinterpret_cast<mivo::DeviceContext>(dc);
}

// A resource of the program by its number (MAKEINTRESOURCEA).
inline const char* ResourceName(int id) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(static_cast<WORD>(id)));
}

// The module whose resources hold the dialog templates, menu, icons and bitmaps: the
// program itself (a test program links the same resources).
inline ::HINSTANCE ProgramModule() {
  return ::GetModuleHandleA(nullptr);
}

}  // namespace mivo::win32
