// The small vocabulary of Windows types and message numbers that the controller speaks.
// The controller never includes an OS header: on the Win32 platform these match the
// system's definitions bit for bit, on the simulated platform they are all there is.
// Many of the names are macros in <windows.h>; a Win32 source includes this header
// before <windows.h>, and uses the system's macros in its own code.
#pragma once

#include <cstdint>

namespace mivo {

struct WindowObject;
using HWND = WindowObject*;  // window handle; null = no window
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using BOOL = int;
using IconHandle = std::uintptr_t;     // icon loaded from a resource; 0 = none
using MixerHandle = std::uintptr_t;    // open mixer; 0 = empty (the platform then means device 0)
using RegKey = std::uintptr_t;         // open registry key; 0 = none
using Handle = std::uintptr_t;         // kernel object (device, process, thread)
using DeviceContext = std::uintptr_t;  // GDI device context (HDC); 0 = none
using GdiObject = std::uintptr_t;      // any GDI object (brush, bitmap); 0 = none
using BrushHandle = GdiObject;         // HBRUSH
using BitmapHandle = GdiObject;        // HBITMAP
using COLORREF = std::uint32_t;        // 0x00BBGGRR

// A colour from its red, green and blue parts, as the system's RGB macro builds it.
constexpr COLORREF Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 |
         static_cast<COLORREF>(blue) << 16;
}

inline constexpr Handle INVALID_HANDLE_VALUE = ~static_cast<Handle>(0);

// Window messages of the framework and the system.
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_ICONERASEBKGND = 0x0027;
inline constexpr UINT WM_QUERYDRAGICON = 0x0037;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
// The control-colour messages, one per kind of control: WM_CTLCOLORMSGBOX + CTLCOLOR_kind.
inline constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT CTLCOLOR_BTN = 3;
inline constexpr UINT CTLCOLOR_DLG = 4;
inline constexpr UINT CTLCOLOR_STATIC = 6;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_POWERBROADCAST = 0x0218;      // 536
inline constexpr UINT MM_MIXM_CONTROL_CHANGE = 0x3D1;  // 977
inline constexpr UINT WM_USER = 0x0400;

inline constexpr WPARAM PBT_APMSUSPEND = 4;
inline constexpr WPARAM PBT_APMRESUMESUSPEND = 7;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_MINIMIZE = 6;

// MessageBox, and the dialog's standard command ids.
inline constexpr UINT MB_OK = 0;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Buttons.
inline constexpr UINT BM_SETIMAGE = 0x00F7;
inline constexpr WPARAM IMAGE_BITMAP = 0;
inline constexpr UINT BST_UNCHECKED = 0;
inline constexpr UINT BST_CHECKED = 1;

// Painting.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;

// Shell notification area.
inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;
inline constexpr UINT NIF_MESSAGE = 1;
inline constexpr UINT NIF_ICON = 2;
inline constexpr UINT NIF_TIP = 4;
inline constexpr UINT TPM_RIGHTBUTTON = 2;

// Code pages.
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_UTF8 = 65001;

// Locale date formatting.
inline constexpr DWORD LOCALE_USE_CP_ACP = 0x40000000;

// Registry.
inline constexpr RegKey HKEY_CURRENT_USER = 0x80000001u;
inline constexpr DWORD REG_SZ = 1;

// Waits.
inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// Mixer.
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 4;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001u;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000u;

}  // namespace mivo
