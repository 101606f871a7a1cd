// The simulator's trace: the tracing layer's tracer, writing to the simulator's output, with
// the layer's text rules under the names the script runner uses for its observations.
#pragma once

#include <cstddef>
#include <string>

#include "platform/trace/trace_text.h"
#include "platform/trace/tracer.h"

namespace mivo::sim {

class Trace : public trace::Tracer {
 public:
  using Tracer::Tracer;

  static std::string Quote(const char* text, std::size_t max = static_cast<std::size_t>(-1)) {
    return trace::Quote(text, max);
  }
  static std::string Quote(const std::string& text) { return trace::Quote(text); }
  static std::string Escape(const std::string& text) { return trace::Escape(text); }
};

}  // namespace mivo::sim
