// Trace lines appended to a file: each ended by LF alone (the file is written in binary, so
// no platform adds a CR) and flushed at once, so that the file holds every line written
// before a crash. A file that cannot be opened takes no lines.
#pragma once

#include <cstdio>
#include <string>

#include "platform/trace/trace_sink.h"

namespace mivo::trace {

class FileSink : public TraceSink {
 public:
  explicit FileSink(const std::string& path);
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  bool is_open() const { return file_ != nullptr; }
  void WriteLine(const std::string& line) override;

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace mivo::trace
