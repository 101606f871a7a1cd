// Helpers of the Win32 tests: temporary folders, other processes and their windows, and the
// program's files beside the test program. Includes the system's headers (through
// platform/win32/windows_api.h).
#pragma once

#include <string>

#include "platform/win32/win32_library.h"
#include "platform/win32/windows_api.h"

namespace mivo::win32::test {

// A new empty folder under the system's temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a trailing backslash.
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// The folder of the build's outputs: MivoRun.exe, and the test program one level below.
std::string BuildFolder();
// Where the stand-in libraries of the tests are: "full" or "partial".
std::string StubFolder(const char* kind);

bool CopyInto(const std::string& from, const std::string& folder, const std::string& name);
std::string ReadFileText(const std::string& path);

// A program started by a test; it is ended when the test lets go of it.
class Process {
 public:
  // Starts `program` in `folder` (its current directory).
  Process(const std::string& program, const std::string& folder);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  // The exit status once it ended within `ms`, or -1.
  int WaitForExit(DWORD ms);
  // The process's top-level window with this exact caption, waiting at most `ms` for it.
  ::HWND WaitForWindow(const char* caption, DWORD ms) const;

 private:
  PROCESS_INFORMATION info_{};
};

// A window's text.
std::string WindowText(::HWND window);

// Runs the calling thread's messages for `ms` (the test's own windows stay responsive).
void PumpFor(DWORD ms);

// Whether the tests run under Wine (some results of the system differ there).
bool RunningOnWine();

}  // namespace mivo::win32::test
