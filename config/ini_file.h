// The INI store: sectioned key=value text files ([SECTION] headers, KEY=VALUE lines) read
// and written by rules of our own, not the operating system's profile functions. A store is
// opened, queried or changed, and closed within one piece of work.
#pragma once

#include <cstddef>

#include "platform/file_host.h"

namespace mivo {

class IniFile {
 public:
  // A store saves through the platform's durable file replacement. Without one (tools and
  // tests that use the store on its own) it writes a temporary file and renames it over the
  // old one with the standard library: the file stays whole, but the new content is not
  // forced to the disk.
  IniFile() = default;
  explicit IniFile(FileHost& files) : files_(&files) {}
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // Opens (a missing file is created empty) and reads the whole file. `prefix_flag` 1: the
  // first line may carry a 3-byte prefix (the UTF-8 byte-order mark) before its header.
  // Returns false when the file can be neither opened nor created; the store is then empty
  // and every lookup yields its default.
  bool Open(const char* path, int prefix_flag);
  // The value of `key` in the first section named `section`, or `fallback`. The result stays
  // valid until the store is changed or closed.
  const char* GetValue(const char* section, const char* key, const char* fallback);
  // Replaces or appends the line key=value; nothing is written before Close. Returns false,
  // changing nothing, for what would not read back the same: a line break anywhere, a key
  // holding "=" or starting with ";", "[" or a blank, a value ending in a blank, a line too
  // long to read back whole.
  bool SetValue(const char* section, const char* key, const char* value);
  // Writes the store back if a value was set, then releases everything. Returns false when a
  // write was needed and failed or was refused (the old file is then left as it was): a file
  // that this user may not write is never replaced.
  bool Close();

 private:
  struct Impl;
  Impl* impl_ = nullptr;
  FileHost* files_ = nullptr;
};

// Builds `directory` + "\" + `file_name` into `out` (cut to out_size - 1, terminated).
void JoinProgramPath(char* out, std::size_t out_size, const char* directory, const char* file_name);

// The standard decimal conversion of a setting: leading blanks skipped, an optional sign,
// digits up to the first other character; a text without digits reads as 0. Values beyond
// the 32-bit range are clamped to it.
int ParseDecimal(const char* text);

}  // namespace mivo
