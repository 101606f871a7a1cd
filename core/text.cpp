#include "core/text.h"

#include <cstring>

namespace mivo {

std::size_t BoundedLength(const char* text, std::size_t max) {
  if (text == nullptr) return 0;
  const void* end = std::memchr(text, 0, max);
  return end == nullptr ? max : static_cast<std::size_t>(static_cast<const char*>(end) - text);
}

std::size_t CopyText(char* dest, std::size_t dest_size, const char* source,
                     std::size_t source_max) {
  if (dest == nullptr || dest_size == 0) return 0;
  std::size_t n = 0;
  if (source != nullptr) {
    const std::size_t limit = dest_size - 1 < source_max ? dest_size - 1 : source_max;
    while (n < limit && source[n] != 0) {
      dest[n] = source[n];
      ++n;
    }
  }
  dest[n] = 0;
  return n;
}

std::size_t AppendText(char* dest, std::size_t dest_size, const char* source) {
  if (dest == nullptr || dest_size == 0) return 0;
  const std::size_t used = BoundedLength(dest, dest_size - 1);
  return used + CopyText(dest + used, dest_size - used, source);
}

std::string TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

}  // namespace mivo
