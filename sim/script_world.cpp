// World commands: the world's data through the shared world parser, the other program's
// mixer change, and the files of the start directory.
#include <cstdio>
#include <fstream>
#include <limits>

#include "sim/script_runner.h"

namespace mivo::sim {

namespace {

constexpr std::int64_t kUint32Max = std::numeric_limits<std::uint32_t>::max();

}  // namespace

void ScriptRunner::CmdWorld(const Command& c) {
  ApplyWorldCommand(c, sim_.world);
  // A new local time starts the clock's count again.
  if (c.name == "time") sim_.clock.ResetEpoch();
}

void ScriptRunner::CmdMixerSet(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const auto volume = static_cast<std::uint32_t>(Number(*words[0], 0, kUint32Max, "volume"));
  // With no mixer at all the other program's change fails, as it would on a real PC.
  sim_.mixer.ExternalSet(volume);
  sim_.loop.Pump();
}

void ScriptRunner::CmdFile(const Command& c) {
  const auto words = Positional(c, 2, 3);
  const Word& heredoc = *words.back();
  if (heredoc.quoted || heredoc.text.size() <= 2 || heredoc.text.compare(0, 2, "<<") != 0 ||
      (words.size() == 3 && (words[1]->quoted || words[1]->text != "bom"))) {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  const std::string tag = heredoc.text.substr(2);
  const std::string path = directory_.FilePath(words[0]->text);
  const std::string line_end = c.name == "file-crlf" ? "\r\n" : "\n";

  std::string content = words.size() == 3 ? "\xEF\xBB\xBF" : "";
  std::string line;
  bool closed = false;
  while (NextLine(&line)) {
    // The closing tag may carry the CR of a script written with CR LF line ends.
    if (line == tag || line == tag + "\r") {
      closed = true;
      break;
    }
    content += line + line_end;
  }
  if (!closed) throw ScriptError("no closing line " + Trace::Quote(tag) + " for the file");

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) throw ScriptError("cannot write " + Trace::Quote(path));
}

void ScriptRunner::CmdRemove(const Command& c) {
  const auto words = Positional(c, 1, 1);
  // A file that is not there is already removed.
  std::remove(directory_.FilePath(words[0]->text).c_str());
}

}  // namespace mivo::sim
