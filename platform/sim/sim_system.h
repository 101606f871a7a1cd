// The simulated PC's system services: the current directory, the sound mapper's registry
// values, the USB audio driver's control device, the process table, and the Windows-1252
// "ANSI" code page with UTF-16 and UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_world.h"

namespace mivo::sim {

// One control request that the driver's control device accepted.
struct IoRequest {
  DWORD code = 0;
  std::vector<std::uint8_t> input;
};

class SimSystem : public SystemHost {
 public:
  explicit SimSystem(SimWorld& world);

  // The control requests the driver received, in order.
  const std::vector<IoRequest>& requests() const { return requests_; }
  // The command lines of the programs started, in order.
  const std::vector<std::string>& started_programs() const { return started_; }
  bool device_open() const { return device_handle_ != 0; }
  // Where diagnostics lines go; none by default (scripts and tests see nothing).
  void set_diagnostics(std::function<void(const std::string&)> sink) {
    diagnostics_ = std::move(sink);
  }

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
  // The real memory of this process (platform/sim/readable_memory.cpp).
  std::size_t ReadableBytes(const void* address, std::size_t max_bytes) override;
  void OutputDebugString(const char* line) override;

 private:
  SimWorld& world_;
  // Open registry keys by handle: the depth below HKEY_CURRENT_USER of the sound mapper path.
  std::vector<std::pair<RegKey, int>> open_keys_;
  // Open kernel handles (devices, processes, threads).
  std::vector<Handle> open_handles_;
  Handle next_handle_ = 0x100;
  RegKey next_key_ = 0;
  Handle device_handle_ = 0;  // the open control device, 0 when closed
  std::vector<IoRequest> requests_;
  std::vector<std::string> started_;
  std::function<void(const std::string&)> diagnostics_;

  // Depth below HKEY_CURRENT_USER of an open key, -1 when the key is not open.
  int KeyDepth(RegKey key) const;
  Handle NewHandle();
};

}  // namespace mivo::sim
