// The words of a scenario script line: blank-separated words, double-quoted words with
// escapes, `name=value` options, strict numbers and the handset's key names; and the argument
// checks of a command. Shared by the script runner and the world scripts of the stand-ins.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mivo::sim {

// A line that cannot be understood. `line` is 0 until the runner knows which line it was.
class ScriptError : public std::runtime_error {
 public:
  explicit ScriptError(const std::string& what, int line = 0)
      : std::runtime_error(what), line(line) {}
  int line;
};

struct Word {
  std::string text;     // the word, quotes removed and escapes resolved
  bool quoted = false;  // the word was written in double quotes
  // `name=value`: an unquoted word whose name is letters, digits, '-' or '_'; the value may be
  // quoted (name="a b").
  bool is_option = false;
  std::string name;
  std::string value;
};

// Splits one line into words. Blanks are spaces and tabs. Escapes inside quotes: \" \\ \n \r
// \t \xHH. Throws ScriptError on an unterminated quote, a bad escape, or a quote that does not
// start a word (or an option's value).
std::vector<Word> SplitWords(const std::string& line);

// Whether the line holds no command: empty, only blanks, or a comment (first non-blank '#').
bool IsBlankOrComment(const std::string& line);

// A whole-word integer: an optional '-' and decimal digits, or 0x and hex digits. Anything
// else, or a value outside [min, max], throws ScriptError naming `what`.
std::int64_t ParseInteger(const std::string& text, std::int64_t min, std::int64_t max,
                          const std::string& what);

// The key code of a key name (RELEASE, VOL+, ..., 1..9, *, 0, #, MUTE), or nothing.
std::optional<int> KeyCodeOfName(const std::string& name);

// Local seconds since 1970-01-01 (as if the local calendar were UTC) of "YYYY-MM-DD" and
// "HH:MM:SS"; throws ScriptError on a malformed or impossible date or time.
std::int64_t ParseLocalDateTime(const std::string& date, const std::string& time);

// One command of a line: its name, the words after it, and how it is written (for errors).
struct ScriptCommand {
  std::string name;
  std::vector<Word> args;
  const char* usage = "";
};

// The command's positional words, after checking their count and that every option is one of
// `options`, given once. Throws ScriptError with the usage otherwise.
std::vector<const Word*> Positional(const ScriptCommand& c, std::size_t min, std::size_t max,
                                    std::initializer_list<const char*> options = {});
// The option `name=` of the command, or null.
const Word* Option(const ScriptCommand& c, const char* name);
// A word (or an option's value) as a number in [min, max]; see ParseInteger.
std::int64_t Number(const Word& word, std::int64_t min, std::int64_t max, const std::string& what);

}  // namespace mivo::sim
