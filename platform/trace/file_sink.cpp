#include "platform/trace/file_sink.h"

namespace mivo::trace {

FileSink::FileSink(const std::string& path) : file_(std::fopen(path.c_str(), "ab")) {}

FileSink::~FileSink() {
  if (file_ != nullptr) std::fclose(file_);
}

void FileSink::WriteLine(const std::string& line) {
  if (file_ == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace mivo::trace
