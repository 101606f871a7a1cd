#include "platform/sim/script_parser.h"

#include <chrono>
#include <cstddef>
#include <limits>

#include "platform/sim/trace.h"

namespace mivo::sim {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsOptionNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// Reads a quoted text starting at line[pos] == '"'; returns the text and leaves pos after
// the closing quote.
std::string ReadQuoted(const std::string& line, std::size_t& pos) {
  std::string text;
  ++pos;  // opening quote
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == '"') return text;
    if (c != '\\') {
      text += c;
      continue;
    }
    if (pos >= line.size()) break;
    const char e = line[pos++];
    switch (e) {
      case '"':
      case '\\':
        text += e;
        break;
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case 'x': {
        const int hi = pos < line.size() ? HexValue(line[pos]) : -1;
        const int lo = pos + 1 < line.size() ? HexValue(line[pos + 1]) : -1;
        if (hi < 0 || lo < 0) throw ScriptError("bad escape \\x: two hex digits expected");
        text += static_cast<char>(hi * 16 + lo);
        pos += 2;
        break;
      }
      default:
        throw ScriptError("bad escape " + Trace::Quote(std::string{'\\', e}));
    }
  }
  throw ScriptError("unterminated quoted text");
}

void ExpectWordEnd(const std::string& line, std::size_t pos) {
  if (pos < line.size() && !IsBlank(line[pos])) {
    throw ScriptError("blank expected after the closing quote");
  }
}

}  // namespace

bool IsBlankOrComment(const std::string& line) {
  for (char c : line) {
    if (IsBlank(c)) continue;
    return c == '#';
  }
  return true;
}

std::vector<Word> SplitWords(const std::string& line) {
  std::vector<Word> words;
  std::size_t pos = 0;
  for (;;) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size()) break;
    Word word;
    if (line[pos] == '"') {
      word.text = ReadQuoted(line, pos);
      word.quoted = true;
      ExpectWordEnd(line, pos);
      words.push_back(std::move(word));
      continue;
    }
    const std::size_t start = pos;
    std::size_t name_end = pos;
    while (name_end < line.size() && IsOptionNameChar(line[name_end])) ++name_end;
    if (name_end > start && name_end < line.size() && line[name_end] == '=') {
      word.is_option = true;
      word.name = line.substr(start, name_end - start);
      pos = name_end + 1;
      if (pos < line.size() && line[pos] == '"') {
        word.value = ReadQuoted(line, pos);
        ExpectWordEnd(line, pos);
      } else {
        const std::size_t value_start = pos;
        while (pos < line.size() && !IsBlank(line[pos])) {
          if (line[pos] == '"') throw ScriptError("unexpected quote in a word");
          ++pos;
        }
        word.value = line.substr(value_start, pos - value_start);
      }
      word.text = word.name + "=" + word.value;
      words.push_back(std::move(word));
      continue;
    }
    while (pos < line.size() && !IsBlank(line[pos])) {
      if (line[pos] == '"') throw ScriptError("unexpected quote in a word");
      ++pos;
    }
    word.text = line.substr(start, pos - start);
    words.push_back(std::move(word));
  }
  return words;
}

std::int64_t ParseInteger(const std::string& text, std::int64_t min, std::int64_t max,
                          const std::string& what) {
  const std::string bad = "bad number " + Trace::Quote(text) + " for " + what;
  std::size_t pos = 0;
  bool negative = false;
  unsigned base = 10;
  if (pos < text.size() && text[pos] == '-') {
    negative = true;
    ++pos;
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    pos = 2;
  }
  if (pos >= text.size()) throw ScriptError(bad);
  // Accumulate the magnitude; anything beyond 2^63 is out of range for every caller.
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
  std::uint64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = HexValue(text[pos]);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) throw ScriptError(bad);
    if (magnitude > (kLimit - static_cast<unsigned>(digit)) / base) {
      throw ScriptError(what + " out of range: " + text);
    }
    magnitude = magnitude * base + static_cast<unsigned>(digit);
  }
  std::int64_t value;
  if (negative) {
    value = magnitude == kLimit ? std::numeric_limits<std::int64_t>::min()
                                : -static_cast<std::int64_t>(magnitude);
  } else {
    if (magnitude == kLimit) throw ScriptError(what + " out of range: " + text);
    value = static_cast<std::int64_t>(magnitude);
  }
  if (value < min || value > max) {
    throw ScriptError(what + " out of range (" + std::to_string(min) + " to " +
                      std::to_string(max) + "): " + text);
  }
  return value;
}

std::optional<int> KeyCodeOfName(const std::string& name) {
  static const struct {
    const char* name;
    int code;
  } kKeys[] = {
      {"RELEASE", 0},   {"VOL+", 1}, {"VOL-", 2}, {"SKYPE", 3},     {"UP", 4},
      {"VOICEMAIL", 5}, {"HOLD", 6}, {"DOWN", 7}, {"RECONNECT", 8}, {"CALL", 9},
      {"CANCEL", 10},   {"END", 11}, {"1", 12},   {"2", 13},        {"3", 14},
      {"4", 15},        {"5", 16},   {"6", 17},   {"7", 18},        {"8", 19},
      {"9", 20},        {"*", 21},   {"0", 22},   {"#", 23},        {"MUTE", 100},
  };
  for (const auto& key : kKeys) {
    if (name == key.name) return key.code;
  }
  return std::nullopt;
}

namespace {

// Reads `count` decimal digits at text[pos]; -1 when they are not all digits.
int Digits(const std::string& text, std::size_t pos, std::size_t count) {
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::int64_t ParseLocalDateTime(const std::string& date, const std::string& time) {
  const std::string bad =
      "bad date and time " + Trace::Quote(date + " " + time) + " (YYYY-MM-DD HH:MM:SS expected)";
  if (date.size() != 10 || date[4] != '-' || date[7] != '-' || time.size() != 8 || time[2] != ':' ||
      time[5] != ':') {
    throw ScriptError(bad);
  }
  const int year = Digits(date, 0, 4);
  const int month = Digits(date, 5, 2);
  const int day = Digits(date, 8, 2);
  const int hour = Digits(time, 0, 2);
  const int minute = Digits(time, 3, 2);
  const int second = Digits(time, 6, 2);
  if (year < 1970 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 || minute < 0 ||
      minute > 59 || second < 0 || second > 59) {
    throw ScriptError(bad);
  }
  // Four digits of year, two of month and day: all within the calendar types' ranges.
  const std::chrono::year_month_day ymd{std::chrono::year{year},
                                        std::chrono::month{static_cast<unsigned>(month)},
                                        std::chrono::day{static_cast<unsigned>(day)}};
  if (!ymd.ok()) throw ScriptError(bad);
  const std::chrono::sys_seconds when = std::chrono::sys_days{ymd} + std::chrono::hours{hour} +
                                        std::chrono::minutes{minute} + std::chrono::seconds{second};
  return when.time_since_epoch().count();
}

std::vector<const Word*> Positional(const ScriptCommand& c, std::size_t min, std::size_t max,
                                    std::initializer_list<const char*> options) {
  const std::string usage = std::string("usage: ") + c.usage;
  std::vector<const Word*> positional;
  std::vector<std::string> seen;
  for (const Word& word : c.args) {
    if (!word.is_option) {
      positional.push_back(&word);
      continue;
    }
    bool allowed = false;
    for (const char* name : options) allowed = allowed || word.name == name;
    if (!allowed) throw ScriptError("unknown option " + word.name + "= (" + usage + ")");
    for (const std::string& name : seen) {
      if (name == word.name) throw ScriptError("option " + word.name + "= given twice");
    }
    seen.push_back(word.name);
  }
  if (positional.size() < min || positional.size() > max) throw ScriptError(usage);
  return positional;
}

const Word* Option(const ScriptCommand& c, const char* name) {
  for (const Word& word : c.args) {
    if (word.is_option && word.name == name) return &word;
  }
  return nullptr;
}

std::int64_t Number(const Word& word, std::int64_t min, std::int64_t max, const std::string& what) {
  return ParseInteger(word.is_option ? word.value : word.text, min, max, what);
}

}  // namespace mivo::sim
