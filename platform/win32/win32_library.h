// A library loaded by file name from the program's own folder, and its functions looked up by
// name into typed pointers.
#pragma once

#include <string>

namespace mivo::win32 {

// Any function, before it is given its real type.
using GenericFunction = void (*)();

// The folder that holds the running program, with a trailing backslash.
std::string ProgramFolder();

class LoadedLibrary {
 public:
  LoadedLibrary() = default;
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // Loads `file_name` from `folder` (which ends with a backslash). On failure `error` says
  // which file could not be loaded from where, and why.
  bool Load(const std::string& folder, const char* file_name, std::string* error);
  bool loaded() const { return module_ != nullptr; }

  // The exported function `name`, or null.
  GenericFunction Find(const char* name) const;

  // Looks `name` up into `function`. The first name that is missing is kept in `missing`.
  template <typename Function>
  void Bind(const char* name, Function* function, std::string* missing) const {
    const GenericFunction found = Find(name);
    *function = reinterpret_cast<Function>(found);
    if (found == nullptr && missing->empty()) *missing = name;
  }

 private:
  void* module_ = nullptr;
};

}  // namespace mivo::win32
