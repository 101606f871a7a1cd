// The INI store over any file content and any changes: open, read every key, set values,
// save, reopen. A value that SetValue took reads back the same; a refused one leaves the old
// value; lines not touched keep their bytes; no value is longer than one read piece.
//
// Input: the file content up to the first bytes FF FE (a pair that no UTF-8 text holds), then
// the changes. Without the pair the whole input is the file and one volume is set.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "config/ini_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using mivo::IniFile;
using mivo::fuzz::Check;
using mivo::fuzz::Fail;

// The longest value a line can give: a piece of 199 characters holding at least "=".
constexpr std::size_t kLongestValue = 198;
constexpr const char* kMissing = "\x01missing";

using Key = std::pair<std::string, std::string>;

// Names that may be sections or keys of `content`: the text after "[" at a line start up to
// the line's last character, and the text before the first "=" of a line, leading blanks
// dropped. Not the store's exact rules: every pair is only compared with itself.
void Candidates(const std::string& content, std::set<std::string>& sections,
                std::set<std::string>& keys) {
  std::size_t start = 0;
  while (start < content.size() && sections.size() < 24 && keys.size() < 48) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, std::min<std::size_t>(end - start, 220));
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    line.erase(0, first);
    const std::size_t bracket = line.find('[');
    if (bracket != std::string::npos && bracket <= 3 && line.size() > bracket + 1)
      sections.insert(line.substr(bracket + 1, line.size() - bracket - 2));
    const std::size_t eq = line.find('=');
    keys.insert(line.substr(0, eq));
  }
  sections.insert("SYSTEM");
  keys.insert("VOL");
}

std::string CString(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

std::string Value(IniFile& store, const Key& key) {
  const char* value = store.GetValue(key.first.c_str(), key.second.c_str(), kMissing);
  Check(value != nullptr, "GetValue gave null");
  const std::string text = value;
  Check(text == kMissing || text.size() <= kLongestValue,
        "value longer than a read piece: " + std::to_string(text.size()));
  return text;
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t mark = input.find("\xFF\xFE");
  const std::string content = input.substr(0, mark);
  const std::string rest = mark == std::string::npos ? std::string() : input.substr(mark + 2);
  FuzzedDataProvider ops(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size());

  const std::string path = mivo::fuzz::ScratchDirectory() + "/fuzz.ini";
  WriteFile(path, content);
  const int prefix_flag = content.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 1 : 0;

  std::set<std::string> section_names, key_names;
  Candidates(content, section_names, key_names);
  const std::vector<std::string> sections(section_names.begin(), section_names.end());
  const std::vector<std::string> keys(key_names.begin(), key_names.end());

  IniFile store;
  Check(store.Open(path.c_str(), prefix_flag), "Open failed");
  // Every candidate pair as read.
  std::map<Key, std::string> before;
  for (const auto& s : sections)
    for (const auto& k : keys)
      before[{CString(s), CString(k)}] = Value(store, {CString(s), CString(k)});

  // The changes: each a section, a key and a value, either names of the file or new texts.
  std::set<Key> touched;
  std::map<Key, std::string> expected;
  auto pick = [&](const std::vector<std::string>& names) {
    if (ops.ConsumeBool()) return CString(ops.ConsumeRandomLengthString(230));
    return CString(names[ops.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)]);
  };
  if (mark == std::string::npos) {
    const Key key{"SYSTEM", "VOL"};
    store.SetValue("SYSTEM", "VOL", "12345");
    Check(Value(store, key) == "12345", "a plain volume was refused");
    touched.insert(key);
    expected[key] = "12345";
  }
  while (ops.remaining_bytes() > 0 && touched.size() < 64) {
    const Key key{pick(sections), pick(keys)};
    const std::string value = CString(ops.ConsumeRandomLengthString(230));
    const std::string old = Value(store, key);
    store.SetValue(key.first.c_str(), key.second.c_str(), value.c_str());
    const std::string now = Value(store, key);
    // Taken (then it reads back), or refused (then nothing changed). An empty value reads as
    // missing, as the lookup rules say.
    const bool taken = now == value || (value.empty() && now == kMissing);
    Check(taken || now == old, "a refused value changed the store");
    touched.insert(key);
    expected[key] = now;
  }
  for (const auto& [key, value] : before) {
    if (touched.count(key) == 0 && Value(store, key) != value)
      Fail("an untouched value changed before the save: [" + key.first + "] " + key.second);
  }
  Check(store.Close(), "Close failed");

  // The file read back by the same rule: a save writes no prefix.
  std::ifstream written(path, std::ios::binary);
  char head[3] = {};
  written.read(head, 3);
  const int written_prefix = std::string(head, 3) == "\xEF\xBB\xBF" ? 1 : 0;
  IniFile again;
  Check(again.Open(path.c_str(), written_prefix), "reopen failed");
  for (const auto& [key, value] : expected) {
    const std::string read = Value(again, key);
    if (read != value) Fail("[" + key.first + "] " + key.second + " read back differently");
  }
  for (const auto& [key, value] : before) {
    if (touched.count(key) != 0) continue;
    if (Value(again, key) != value)
      Fail("an untouched value changed through the save: [" + key.first + "] " + key.second);
  }
  again.Close();
  return 0;
}
