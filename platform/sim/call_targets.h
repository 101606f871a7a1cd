// The targets of fCallUser: one handle, or several joined by "," for a conference. Empty
// pieces (",," or a "," at either end) name nobody. Every VoIP client reads them this way.
#pragma once

#include <string>
#include <vector>

namespace mivo::sim {

inline std::vector<std::string> SplitCallTargets(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

}  // namespace mivo::sim
