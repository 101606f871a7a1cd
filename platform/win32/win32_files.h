// Durable replacement of a whole file on Windows (see platform/file_host.h).
#pragma once

#include <string>

#include "platform/file_host.h"

namespace mivo::win32 {

class Win32Files : public FileHost {
 public:
  // The temporary file used while `target` (a resolved path) is being replaced.
  static std::string TempPathOf(const std::string& target) { return target + ".tmp"; }

  ReplaceResult ReplaceFile(const char* path, const char* data, std::size_t size) override;
};

}  // namespace mivo::win32
