// What both stand-ins need to run a script line that came through their endpoint: the line
// split into its command (with the usage that the script runner gives it), errors turned into
// the refused answer, and the texts whose addresses go out in lParam held until handled.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

#include "platform/sim/script_parser.h"
#include "platform/win_types.h"

namespace mivo::standins {

// Texts posted by address. Each stays put until kMaxKept more have gone out after it: far
// longer than the controller takes to handle a message (a line returns to the remote only
// once the controller's queue is empty), and at most kMaxKept lines of the channel in memory.
class KeptTexts {
 public:
  static constexpr std::size_t kMaxKept = 1024;
  LPARAM Keep(const std::string& bytes);
  std::size_t size() const { return texts_.size(); }

 private:
  std::deque<std::string> texts_;
};

// Runs one line: a blank line or a comment does nothing; otherwise the command is handed to
// `run`, which throws sim::ScriptError for what it cannot run. Returns false with the error's
// text (the script runner's wording) when the line is refused.
bool RunScriptLine(const std::string& line,
                   const std::function<void(const sim::ScriptCommand&)>& run, std::string* error);

// The error for a command that this stand-in does not run.
[[noreturn]] void NotHere(const sim::ScriptCommand& command, const char* stand_in);

}  // namespace mivo::standins
