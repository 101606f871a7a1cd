// The system services with the calls that act traced: a registry value written, the control
// device opened and sent a request, a program started and waited for. Each is written before
// it goes on, whether it then succeeds or not. Key opens, handle closes, the current
// directory, code pages, memory checks and diagnostics pass through untraced.
#pragma once

#include "platform/host.h"
#include "platform/trace/tracer.h"

namespace mivo::trace {

class TracingSystemHost : public SystemHost {
 public:
  TracingSystemHost(SystemHost& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}

  bool RegSetValueEx(RegKey key, const char* name, DWORD type, const std::uint8_t* data,
                     DWORD size) override;
  Handle CreateFile(const char* name) override;
  bool DeviceIoControl(Handle device, DWORD code, const void* in, DWORD in_size) override;
  bool CreateProcess(const char* command_line, ProcessInfo* info) override;
  DWORD WaitForSingleObject(Handle handle, DWORD ms) override;

  // Untraced.
  DWORD GetCurrentDirectory(DWORD buffer_size, char* buffer) override {
    return inner_.GetCurrentDirectory(buffer_size, buffer);
  }
  bool RegOpenKeyEx(RegKey parent, const char* subkey, RegKey* key) override {
    return inner_.RegOpenKeyEx(parent, subkey, key);
  }
  void RegCloseKey(RegKey key) override { inner_.RegCloseKey(key); }
  bool CloseHandle(Handle handle) override { return inner_.CloseHandle(handle); }
  int MultiByteToWideChar(UINT code_page, const char* source, char16_t* out,
                          int out_size) override {
    return inner_.MultiByteToWideChar(code_page, source, out, out_size);
  }
  int WideCharToMultiByte(UINT code_page, const char16_t* source, char* out,
                          int out_size) override {
    return inner_.WideCharToMultiByte(code_page, source, out, out_size);
  }
  std::size_t ReadableBytes(const void* address, std::size_t max_bytes) override {
    return inner_.ReadableBytes(address, max_bytes);
  }
  void OutputDebugString(const char* line) override { inner_.OutputDebugString(line); }

 private:
  SystemHost& inner_;
  Tracer& tracer_;
};

}  // namespace mivo::trace
