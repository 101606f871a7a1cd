#include "platform/trace/trace_text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace mivo::trace {

namespace {

void AppendEscaped(std::string& out, const std::string& text) {
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out.append(hex, 4);
    } else {
      out += static_cast<char>(c);
    }
  }
}

}  // namespace

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  AppendEscaped(out, text);
  return out;
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) about a quote concatenated to a string.
std::string Quote(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  AppendEscaped(out, text);
  out += '"';
  return out;
}

std::string Quote(const char* text, std::size_t max) {
  if (text == nullptr) return "\"\"";
  const void* end = std::memchr(text, 0, max);
  const std::size_t n =
      end == nullptr ? max : static_cast<std::size_t>(static_cast<const char*>(end) - text);
  return Quote(std::string(text, n));
}

std::string Window(HWND window, HWND main) {
  if (window != nullptr && window == main) return "hwnd";
  if (window == nullptr) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

}  // namespace mivo::trace
