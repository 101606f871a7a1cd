#include "platform/win32/win32_system.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

// The controller writes the predefined keys with their 32-bit values; the system's handles of
// them are those values sign-extended.
::HKEY ToKey(RegKey key) {
  if (key == kCurrentUserKey) return HKEY_CURRENT_USER;
  return reinterpret_cast<::HKEY>(key);
}

bool IsPredefinedKey(RegKey key) {
  return key == kCurrentUserKey;
}

// Protections under which every byte of a committed page can be read.
bool ReadableProtection(::DWORD protect) {
  if ((protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) return false;
  const ::DWORD access = protect & 0xFF;
  return access == PAGE_READONLY || access == PAGE_READWRITE || access == PAGE_WRITECOPY ||
         access == PAGE_EXECUTE_READ || access == PAGE_EXECUTE_READWRITE ||
         access == PAGE_EXECUTE_WRITECOPY;
}

}  // namespace

DWORD Win32System::GetCurrentDirectory(DWORD buffer_size, char* buffer) {
  return ::GetCurrentDirectoryA(buffer_size, buffer);
}

bool Win32System::RegOpenKeyEx(RegKey parent, const char* subkey, RegKey* key) {
  if (key == nullptr) return false;
  ::HKEY opened = nullptr;
  if (::RegOpenKeyExA(ToKey(parent), subkey, 0, KEY_READ | KEY_WRITE, &opened) != ERROR_SUCCESS) {
    return false;
  }
  *key = reinterpret_cast<RegKey>(opened);
  return true;
}

bool Win32System::RegSetValueEx(RegKey key, const char* name, DWORD type, const std::uint8_t* data,
                                DWORD size) {
  return ::RegSetValueExA(ToKey(key), name, 0, type, data, size) == ERROR_SUCCESS;
}

void Win32System::RegCloseKey(RegKey key) {
  if (key != 0 && !IsPredefinedKey(key)) ::RegCloseKey(ToKey(key));
}

Handle Win32System::CreateFile(const char* name) {
  if (name == nullptr) return kInvalidHandle;
  return FromHandle(
      ::CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

bool Win32System::DeviceIoControl(Handle device, DWORD code, const void* in, DWORD in_size) {
  ::DWORD returned = 0;
  return ::DeviceIoControl(ToHandle(device), code, const_cast<void*>(in), in_size, nullptr, 0,
                           &returned, nullptr) != FALSE;
}

bool Win32System::CloseHandle(Handle handle) {
  if (handle == 0 || handle == kInvalidHandle) return false;
  return ::CloseHandle(ToHandle(handle)) != FALSE;
}

bool Win32System::CreateProcess(const char* command_line, ProcessInfo* info) {
  if (command_line == nullptr || info == nullptr) return false;
  // The system may write into the command line while it parses it: it gets a copy.
  std::vector<char> line(command_line, command_line + std::strlen(command_line) + 1);
  STARTUPINFOA startup;
  std::memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started;
  std::memset(&started, 0, sizeof started);
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return false;
  }
  info->process = FromHandle(started.hProcess);
  info->thread = FromHandle(started.hThread);
  return true;
}

DWORD Win32System::WaitForSingleObject(Handle handle, DWORD ms) {
  return ::WaitForSingleObject(ToHandle(handle), ms);
}

int Win32System::MultiByteToWideChar(UINT code_page, const char* source, char16_t* out,
                                     int out_size) {
  if (source == nullptr || out_size < 0) return 0;
  return ::MultiByteToWideChar(code_page, 0, source, -1, reinterpret_cast<wchar_t*>(out), out_size);
}

int Win32System::WideCharToMultiByte(UINT code_page, const char16_t* source, char* out,
                                     int out_size) {
  if (source == nullptr || out_size < 0) return 0;
  return ::WideCharToMultiByte(code_page, 0, reinterpret_cast<const wchar_t*>(source), -1, out,
                               out_size, nullptr, nullptr);
}

std::size_t Win32System::ReadableBytes(const void* address, std::size_t max_bytes) {
  if (address == nullptr) return 0;
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  std::size_t readable = 0;
  while (readable < max_bytes) {
    const std::uintptr_t at = start + readable;
    if (at < start) break;  // past the end of the address space
    MEMORY_BASIC_INFORMATION region;
    if (::VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof region) == 0) break;
    if (region.State != MEM_COMMIT || !ReadableProtection(region.Protect)) break;
    const auto region_end =
        reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    if (region_end <= at) break;
    readable += static_cast<std::size_t>(region_end - at);
  }
  return readable < max_bytes ? readable : max_bytes;
}

void Win32System::OutputDebugString(const char* line) {
  std::string text = line != nullptr ? line : "";
  text += '\n';
  ::OutputDebugStringA(text.c_str());
}

}  // namespace mivo::win32
