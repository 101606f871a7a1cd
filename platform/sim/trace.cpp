#include "platform/sim/trace.h"

#include <cstdio>
#include <cstring>

#include "platform/sim/sim_window.h"

namespace mivo::sim {

// Each line is flushed as it is written: a run that dies keeps every line printed before.
void Trace::Call(const std::string& line) {
  if (enabled_) Output(line);
}

void Trace::Output(const std::string& line) {
  out_ << line << '\n';
  out_.flush();
}

std::string Trace::Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string Trace::Quote(const std::string& text) {
  return "\"" + Escape(text) + "\"";
}

std::string Trace::Quote(const char* text, std::size_t max) {
  if (text == nullptr) return "\"\"";
  const void* end = std::memchr(text, 0, max);
  const std::size_t n =
      end == nullptr ? max : static_cast<std::size_t>(static_cast<const char*>(end) - text);
  return Quote(std::string(text, n));
}

std::string Trace::Window(HWND window) {
  if (window == SimWindowHost::MainWindow()) return "hwnd";
  if (window == nullptr) return "0";
  char text[32];
  std::snprintf(text, sizeof text, "0x%llX",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)));
  return text;
}

}  // namespace mivo::sim
