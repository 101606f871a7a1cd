// Where trace lines go: one whole line at a time, without its line end. A sink writes each
// line out as it gets it, so that a program that dies keeps every line written before.
#pragma once

#include <ostream>
#include <string>

namespace mivo::trace {

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void WriteLine(const std::string& line) = 0;
};

// Lines onto a stream (the simulator's standard output or a test's string), each followed by
// '\n' and flushed.
class StreamSink : public TraceSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  void WriteLine(const std::string& line) override {
    out_ << line << '\n';
    out_.flush();
  }

 private:
  std::ostream& out_;
};

}  // namespace mivo::trace
