// The INI store. The whole file is read into sections of lines at Open; lookups and changes
// work on that copy; Close writes it back when a value was set.
//
// Reading: the file is taken in binary and a CR before an LF is dropped, so LF and CR LF files
// read alike on every platform. Each line is taken in pieces of at most 199 characters (a
// longer line becomes several lines), trimmed of blanks and line feeds, and sorted into
// comments, headers and key lines. Writing: CR LF line ends, every section followed by one
// empty line. The new text goes to a temporary file beside the old one, which is then renamed
// over it, so a failed or interrupted save never leaves a truncated file behind; with a file
// host, the platform also makes the new content reach the disk before the rename.
#include "config/ini_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/text.h"

namespace mivo {

namespace {

// Longest line piece taken at once (a 200-byte read buffer with its terminator).
constexpr std::size_t kPieceMax = 199;
// Length of the prefix that the first line of a prefixed file carries (the UTF-8 byte-order
// mark).
constexpr std::size_t kPrefixLength = 3;

struct Section {
  std::string name;
  std::vector<std::string> lines;  // stored as trimmed, key and value never split
};

// The key of a stored line: the text before its first "=", or the whole line.
bool KeyMatches(const std::string& line, const char* key) {
  const std::size_t eq = line.find('=');
  const std::size_t key_length = eq == std::string::npos ? line.size() : eq;
  return std::strlen(key) == key_length && line.compare(0, key_length, key) == 0;
}

// Removes trailing blanks and line feeds, then leading blanks. Tabs stay.
void Trim(std::string& line) {
  std::size_t end = line.size();
  while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\n')) --end;
  std::size_t start = 0;
  while (start < end && line[start] == ' ') ++start;
  line = line.substr(start, end - start);
}

bool HasLineBreak(const char* text) {
  return std::strchr(text, '\n') != nullptr || std::strchr(text, '\r') != nullptr;
}

std::string NativePath(const char* path) {
  std::string native = path;
#ifndef _WIN32
  // Paths are built Windows-style ("dir\file"); POSIX separates with "/".
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
#endif
  return native;
}

// Reads the whole file; false when it cannot be read (a missing file sets `missing`).
bool ReadWholeFile(const std::string& path, std::string& content, bool& missing) {
  missing = false;
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    missing = errno == ENOENT;
    return false;
  }
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

// Creates an empty file where none exists; never truncates one that does.
bool CreateEmptyFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  return std::fclose(file) == 0;
}

// Whether this user may write the existing file at `path`: opening it for update (which
// neither creates nor truncates) is refused for a read-only file.
bool Writable(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  ok = std::fflush(file) == 0 && ok;
  ok = std::ferror(file) == 0 && ok;
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace

struct IniFile::Impl {
  std::string path;
  int prefix_flag = 0;
  bool dirty = false;
  // False when the file could be neither read nor created: lookups then yield their defaults
  // and nothing is ever written over the file.
  bool backed = false;
  std::vector<Section> sections;

  void Parse(const std::string& raw);
  void TakeLine(std::string line, bool first_line, Section*& current);
  Section* FindSection(const char* name);
  std::string Render() const;
};

void IniFile::Impl::Parse(const std::string& raw) {
  Section* current = nullptr;
  bool first_line = true;
  std::string piece;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;  // CR LF reads as LF
    piece.push_back(c);
    if (c == '\n' || piece.size() == kPieceMax) {
      TakeLine(std::move(piece), first_line, current);
      piece.clear();
      first_line = false;
    }
  }
  if (!piece.empty()) TakeLine(std::move(piece), first_line, current);
}

void IniFile::Impl::TakeLine(std::string line, bool first_line, Section*& current) {
  // A line is a text: a zero byte ends it.
  const std::size_t zero = line.find('\0');
  if (zero != std::string::npos) line.resize(zero);
  Trim(line);
  if (line.empty() || line[0] == ';') return;
  const std::size_t bracket = (first_line && prefix_flag == 1) ? kPrefixLength : 0;
  if (line.size() > bracket && line[bracket] == '[') {
    // The name runs from after "[" up to the last character, which is dropped whatever it is.
    const std::size_t begin = bracket + 1;
    const std::size_t end = line.size() - 1;
    sections.push_back(Section{end > begin ? line.substr(begin, end - begin) : std::string(), {}});
    current = &sections.back();
    return;
  }
  if (current != nullptr) current->lines.push_back(std::move(line));
}

Section* IniFile::Impl::FindSection(const char* name) {
  for (Section& section : sections) {
    if (section.name == name) return &section;
  }
  return nullptr;
}

std::string IniFile::Impl::Render() const {
  std::string out;
  for (const Section& section : sections) {
    out += "[" + section.name + "]\r\n";
    for (const std::string& line : section.lines) out += line + "\r\n";
    out += "\r\n";
  }
  return out;
}

IniFile::~IniFile() {
  Close();
}

bool IniFile::Open(const char* path, int prefix_flag) {
  if (impl_ != nullptr) Close();
  impl_ = new Impl;
  impl_->prefix_flag = prefix_flag;
  if (path == nullptr || path[0] == 0) return false;
  impl_->path = NativePath(path);

  std::string content;
  bool missing = false;
  if (ReadWholeFile(impl_->path, content, missing)) {
    impl_->backed = true;
    impl_->Parse(content);
  } else if (missing) {
    impl_->backed = CreateEmptyFile(impl_->path);
  }
  // A file that exists but cannot be read is left alone: writing the store back would
  // replace content that was never seen.
  return impl_->backed;
}

const char* IniFile::GetValue(const char* section, const char* key, const char* fallback) {
  if (impl_ == nullptr || section == nullptr || key == nullptr) return fallback;
  const Section* found = impl_->FindSection(section);
  if (found == nullptr) return fallback;
  for (const std::string& line : found->lines) {
    if (!KeyMatches(line, key)) continue;
    // Only the first line of that key counts, even when its value is empty or missing.
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq + 1 == line.size()) return fallback;
    return line.c_str() + eq + 1;
  }
  return fallback;
}

bool IniFile::SetValue(const char* section, const char* key, const char* value) {
  if (impl_ == nullptr || section == nullptr || key == nullptr || value == nullptr) return false;
  // Refuse what would not read back as the same section, key and value: line breaks, a key
  // holding "=" or starting like a comment, a header or a blank, and lines longer than one
  // read piece (their remainder would be read as a line of its own).
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (std::strchr(key, '=') != nullptr) return false;
  if (key[0] == ';' || key[0] == '[' || key[0] == ' ') return false;
  // Reading trims trailing blanks, so a value ending in one would come back shorter.
  const std::size_t value_length = std::strlen(value);
  if (value_length > 0 && value[value_length - 1] == ' ') return false;
  std::string line = std::string(key) + "=" + value;
  if (line.size() > kPieceMax || std::strlen(section) + 2 > kPieceMax) return false;

  Section* target = impl_->FindSection(section);
  if (target == nullptr) {
    impl_->sections.push_back(Section{section, {}});
    target = &impl_->sections.back();
  }
  bool replaced = false;
  for (std::string& existing : target->lines) {
    if (KeyMatches(existing, key)) {
      existing = std::move(line);
      replaced = true;
      break;
    }
  }
  if (!replaced) target->lines.push_back(std::move(line));
  impl_->dirty = true;
  return true;
}

bool IniFile::Close() {
  if (impl_ == nullptr) return true;
  bool ok = true;
  if (impl_->dirty) {
    ok = false;
    if (impl_->backed && files_ != nullptr) {
      const std::string content = impl_->Render();
      ok = files_->ReplaceFile(impl_->path.c_str(), content.data(), content.size()) ==
           ReplaceResult::kReplaced;
    } else if (impl_->backed && Writable(impl_->path)) {
      const std::string temp = impl_->path + ".tmp";
      if (WriteWholeFile(temp, impl_->Render())) {
        std::error_code error;
        std::filesystem::rename(temp, impl_->path, error);
        ok = !error;
      }
      if (!ok) {
        std::error_code ignored;
        if (!std::filesystem::is_directory(temp, ignored)) std::filesystem::remove(temp, ignored);
      }
    }
  }
  delete impl_;
  impl_ = nullptr;
  return ok;
}

void JoinProgramPath(char* out, std::size_t out_size, const char* directory,
                     const char* file_name) {
  if (out == nullptr || out_size == 0) return;
  CopyText(out, out_size, directory);
  AppendText(out, out_size, "\\");
  AppendText(out, out_size, file_name);
}

int ParseDecimal(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Accumulate as a negative number so that INT_MIN itself fits; clamp on overflow.
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value > -(static_cast<long long>(INT_MAX) + 2)) value = value * 10 - (*p - '0');
  }
  if (negative) return value < INT_MIN ? INT_MIN : static_cast<int>(value);
  return -value > INT_MAX ? INT_MAX : static_cast<int>(-value);
}

}  // namespace mivo
