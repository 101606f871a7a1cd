#include "tests/win32/test_windows.h"

#include <vector>

namespace mivo::win32::test {

namespace {

std::string FolderOf(const std::string& file) {
  const std::size_t slash = file.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const ::HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(path + "\\");
      } else {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(folder.c_str());
}

struct WindowSearch {
  ::DWORD process_id;
  const char* caption;
  ::HWND found;
};

BOOL CALLBACK MatchWindow(::HWND window, ::LPARAM lparam) {
  auto* search = reinterpret_cast<WindowSearch*>(lparam);
  ::DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || WindowText(window) != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

TempFolder::TempFolder() {
  char base[MAX_PATH + 1] = {};
  ::GetTempPathA(sizeof base, base);
  static unsigned counter = 0;
  for (;;) {
    path_ = std::string(base) + "mivo-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
    if (::CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::string BuildFolder() {
  // The test program lives in tests-win32\ of the build folder.
  return FolderOf(ProgramFolder().substr(0, ProgramFolder().size() - 1));
}

std::string StubFolder(const char* kind) {
  return ProgramFolder() + "stubs\\" + kind + "\\";
}

bool CopyInto(const std::string& from, const std::string& folder, const std::string& name) {
  return ::CopyFileA(from.c_str(), (folder + name).c_str(), FALSE) != FALSE;
}

std::string ReadFileText(const std::string& path) {
  const ::HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buffer[4096];
  ::DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    text.append(buffer, got);
  ::CloseHandle(file);
  return text;
}

Process::Process(const std::string& program, const std::string& folder) {
  std::string command = "\"" + program + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info_)) {
    info_ = PROCESS_INFORMATION{};
  }
}

Process::~Process() {
  if (info_.hProcess == nullptr) return;
  if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
  ::CloseHandle(info_.hThread);
  ::CloseHandle(info_.hProcess);
}

int Process::WaitForExit(DWORD ms) {
  if (info_.hProcess == nullptr) return -1;
  if (::WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return -1;
  ::DWORD status = 0;
  ::GetExitCodeProcess(info_.hProcess, &status);
  return static_cast<int>(status);
}

::HWND Process::WaitForWindow(const char* caption, DWORD ms) const {
  const ::DWORD until = ::GetTickCount() + ms;
  do {
    WindowSearch search{info_.dwProcessId, caption, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<::LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) return nullptr;
    ::Sleep(20);
  } while (static_cast<int>(until - ::GetTickCount()) > 0);
  return nullptr;
}

std::string WindowText(::HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

void PumpFor(DWORD ms) {
  const ::DWORD until = ::GetTickCount() + ms;
  do {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(5);
  } while (static_cast<int>(until - ::GetTickCount()) > 0);
}

bool RunningOnWine() {
  const ::HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace mivo::win32::test
