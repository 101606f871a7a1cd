#include "platform/baresip/contact_text.h"

#include "core/text.h"

namespace mivo::baresip {

namespace {

bool Printable(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

std::vector<sim::SimContact> ParseContacts(const std::string& text) {
  std::vector<sim::SimContact> out;
  std::size_t start = 0;
  while (start < text.size() && out.size() < kMaxContacts) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    // "> " marks the current contact; the others are indented by two spaces.
    if (line.size() < 2 || (line.compare(0, 2, "> ") != 0 && line.compare(0, 2, "  ") != 0)) {
      continue;
    }
    line = TrimBlanks(line.substr(2));
    const std::size_t open = line.rfind('<');
    const std::size_t close = line.rfind('>');
    if (open == std::string::npos || close == std::string::npos || close < open) continue;
    const std::string handle = line.substr(open + 1, close - open - 1);
    std::string name = TrimBlanks(line.substr(0, open));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') {
      name = name.substr(1, name.size() - 2);
    }
    if (handle.empty() || handle.size() > kMaxHandle || !Printable(handle) || !Printable(name)) {
      continue;
    }
    sim::SimContact contact;
    contact.handle = handle;
    contact.name = name.empty() ? handle : name;
    contact.status = 1;
    out.push_back(contact);
  }
  return out;
}

std::string AddressKey(const std::string& uri) {
  std::string s = uri;
  const std::size_t open = s.find('<');
  if (open != std::string::npos) {
    const std::size_t close = s.find('>', open);
    s = s.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  }
  if (s.compare(0, 4, "sip:") == 0) s = s.substr(4);
  if (s.compare(0, 5, "sips:") == 0) s = s.substr(5);
  const std::size_t cut = s.find_first_of(";?>");
  if (cut != std::string::npos) s.resize(cut);
  return s;
}

}  // namespace mivo::baresip
