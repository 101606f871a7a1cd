#include "sim/data_directory.h"

#include <filesystem>
#include <system_error>

namespace mivo::sim {

std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string FindDataDirectory(const std::string& executable, const std::string& relative,
                              const std::string& fallback) {
  if (executable.empty() || relative.empty()) return fallback;
  const std::filesystem::path candidate =
      (std::filesystem::path(executable).parent_path() / relative).lexically_normal();
  std::error_code error;
  if (std::filesystem::is_regular_file(candidate / "lang.ini", error)) return candidate.string();
  return fallback;
}

}  // namespace mivo::sim
