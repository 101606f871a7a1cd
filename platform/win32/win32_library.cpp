#include "platform/win32/win32_library.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

// The longest path the system hands out.
constexpr ::DWORD kMaxPath = 32768;

std::string WhyNotLoaded(::DWORD error) {
  switch (error) {
    case ERROR_MOD_NOT_FOUND:
      return "the file, or a library it needs, was not found";
    case ERROR_BAD_EXE_FORMAT:
      return "the file is not a library for this kind of Windows (32-bit or 64-bit)";
    case ERROR_DLL_INIT_FAILED:
      return "the library failed to start";
    default:
      return "error " + std::to_string(error);
  }
}

}  // namespace

std::string ProgramFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const ::DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<::DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      std::string file(path.data(), length);
      const std::size_t slash = file.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
    }
    if (path.size() >= kMaxPath) return std::string();
    path.resize(path.size() * 2);
  }
}

LoadedLibrary::~LoadedLibrary() {
  if (module_ != nullptr) ::FreeLibrary(static_cast<::HMODULE>(module_));
}

bool LoadedLibrary::Load(const std::string& folder, const char* file_name, std::string* error) {
  const std::string path = folder + file_name;
  // The library's own dependencies are looked for beside it first.
  const ::HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (module == nullptr) {
    const ::DWORD why = ::GetLastError();
    *error = std::string(file_name) + " could not be loaded from " +
             (folder.empty() ? std::string("the program's folder") : folder) + ": " +
             WhyNotLoaded(why) + ".";
    return false;
  }
  module_ = module;
  return true;
}

GenericFunction LoadedLibrary::Find(const char* name) const {
  if (module_ == nullptr) return nullptr;
  // FARPROC to the generic function type, which any function type may be cast from and to.
  return reinterpret_cast<GenericFunction>(::GetProcAddress(static_cast<::HMODULE>(module_), name));
}

}  // namespace mivo::win32
