#include "platform/standins/world_loader.h"

#include <cstdio>
#include <fstream>

#include "platform/sim/world_script.h"

namespace mivo::standins {

namespace {

// An environment variable's value; empty when unset.
std::string Environment(const char* name) {
  char value[MAX_PATH * 2];
  const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
  if (length == 0 || length >= sizeof value) return {};
  return std::string(value, length);
}

// Whether this process has reported a world error already: the first caller makes a named
// object of the process, which stays until the process ends.
bool AlreadyReported() {
  char name[64];
  std::snprintf(name, sizeof name, "MivoRunWorldReported-%lu",
                static_cast<unsigned long>(::GetCurrentProcessId()));
  ::HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name);
  if (mutex == nullptr) return false;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return true;
  }
  return false;  // the handle is kept open for the rest of the process
}

}  // namespace

std::string WorldPath(HMODULE module) {
  std::string named = Environment("MIVORUN_WORLD");
  if (!named.empty()) return named;
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(module, path, sizeof path);
  if (length == 0 || length >= sizeof path) return "world.scn";
  std::string folder(path, length);
  const std::size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
  return folder + "world.scn";
}

void ReportWorldError(const std::string& file, const std::string& message) {
  if (AlreadyReported()) return;
  const std::string text = file + ": " + message;
  const std::string trace = Environment("MIVORUN_TRACE");
  if (!trace.empty()) {
    std::ofstream out(trace, std::ios::binary | std::ios::app);
    out << "error: " << text << '\n';
  }
  ::MessageBoxA(nullptr, text.c_str(), "MivoRun.exe", MB_OK | MB_ICONERROR);
}

void LoadWorld(HMODULE module, sim::SimWorld& world) {
  const bool named = !Environment("MIVORUN_WORLD").empty();
  const std::string path = WorldPath(module);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (named) ReportWorldError(path, "cannot be read");
    return;
  }
  if (const auto error = sim::ReadWorldFile(in, world)) ReportWorldError(path, error->Message());
}

}  // namespace mivo::standins
