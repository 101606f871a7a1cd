// The interactive handset's session: what a person's key strokes do (handset keys, the hold
// toggle, the `:` command line, quitting), and the trace kept for the trace pane. Nothing here
// touches the terminal; the terminal loop (interactive_terminal.cpp) reads keys, feeds them
// here, advances the clock and paints what it finds.
#pragma once

#include <cstdint>
#include <deque>
#include <fstream>
#include <streambuf>
#include <string>
#include <vector>

#include "sim/interactive_keys.h"
#include "sim/script_runner.h"

namespace mivo::sim {

// The trace and the observations as lines: the last `kKeptLines` for the trace pane, and every
// line to a file when one is given.
class LogBuffer : public std::streambuf {
 public:
  static constexpr std::size_t kKeptLines = 500;
  static constexpr std::size_t kLongestLine = 1000;  // longer lines are cut for the pane

  // Opens `path` for the whole trace (truncated); returns false when it cannot be written.
  bool OpenFile(const std::string& path);
  const std::deque<std::string>& lines() const { return lines_; }
  // The line being written, not ended yet.
  const std::string& partial() const { return partial_; }

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  void Put(char c);

  std::deque<std::string> lines_;
  std::string partial_;
  std::ofstream file_;
};

class HandsetSession {
 public:
  explicit HandsetSession(ScriptRunner& runner);

  // One key stroke of the person at the terminal.
  void HandleKey(const TermKey& key);
  // Runs one command line (without the leading ':'); returns the message to show.
  std::string RunCommand(const std::string& line);
  // Runs the Close command of the tray menu (once); the program then ends.
  void Quit();
  // Advances the virtual clock by the real time that passed.
  void Advance(std::int64_t ms);

  // The program has ended (its window is gone): the terminal loop stops.
  bool finished() const { return !runner_.running(); }
  bool command_open() const { return command_open_; }
  const std::string& command_text() const { return command_text_; }
  // The last message for the status line: a command's result or error, or a key note.
  const std::string& message() const { return message_; }
  bool log_visible() const { return log_visible_; }
  const KeyPresser& presser() const { return presser_; }
  ScriptRunner& runner() { return runner_; }

 private:
  void HandleCommandKey(const TermKey& key);

  ScriptRunner& runner_;
  KeyPresser presser_;
  bool command_open_ = false;
  std::string command_text_;
  std::vector<std::string> history_;
  std::size_t history_pos_ = 0;  // == history_.size(): the line being typed
  std::string message_;
  bool log_visible_ = true;
  bool quitting_ = false;
};

}  // namespace mivo::sim
