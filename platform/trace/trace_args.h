// Building a traced call's line: `NAME(ARG, ARG, ...)` with integers in decimal and texts
// quoted, read no further than kMaxTextRead.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/trace/trace_text.h"

namespace mivo::trace {

template <typename Integer>
std::string N(Integer value) {
  return std::to_string(value);
}

inline std::string Text(const char* text) {
  return Quote(text, kMaxTextRead);
}

inline std::string CallLine(const char* name, std::initializer_list<std::string> args) {
  std::string line = name;
  line += '(';
  bool first = true;
  for (const std::string& arg : args) {
    if (!first) line += ", ";
    line += arg;
    first = false;
  }
  line += ')';
  return line;
}

}  // namespace mivo::trace
