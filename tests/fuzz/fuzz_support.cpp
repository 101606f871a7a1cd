#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace mivo::fuzz {

void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

const std::string& ScratchDirectory() {
  // Never destroyed: the exit handler that removes the directory runs after static objects.
  static const std::string* const path = [] {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("mivo-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchDirectory(), ignored);
    });
    return new std::string(dir.string());
  }();
  return *path;
}

}  // namespace mivo::fuzz
