// The PC's system services: the current directory, the registry, the USB audio driver's
// control device, processes, code pages, this process's memory and the debug output.
#pragma once

#include "platform/host.h"

namespace mivo::win32 {

class Win32System : public SystemHost {
 public:
  DWORD GetCurrentDirectory(DWORD buffer_size, char* buffer) override;
  bool RegOpenKeyEx(RegKey parent, const char* subkey, RegKey* key) override;
  bool RegSetValueEx(RegKey key, const char* name, DWORD type, const std::uint8_t* data,
                     DWORD size) override;
  void RegCloseKey(RegKey key) override;
  Handle CreateFile(const char* name) override;
  bool DeviceIoControl(Handle device, DWORD code, const void* in, DWORD in_size) override;
  bool CloseHandle(Handle handle) override;
  bool CreateProcess(const char* command_line, ProcessInfo* info) override;
  DWORD WaitForSingleObject(Handle handle, DWORD ms) override;
  int MultiByteToWideChar(UINT code_page, const char* source, char16_t* out, int out_size) override;
  int WideCharToMultiByte(UINT code_page, const char16_t* source, char* out, int out_size) override;
  std::size_t ReadableBytes(const void* address, std::size_t max_bytes) override;
  void OutputDebugString(const char* line) override;
};

}  // namespace mivo::win32
