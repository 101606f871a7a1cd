// World commands: the lines of a script that set up the simulated PC, the handset and the VoIP
// client's data. One parser for the script runner and for the stand-in libraries, which read
// the handset and client part of it from their world file. Portable C++ (no system headers).
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

#include "platform/sim/script_parser.h"
#include "platform/sim/sim_world.h"

namespace mivo::sim {

// How the world command `name` is written, or null when `name` is not a world command.
// (`handset` is here with its world form only: `handset plugged`.)
const char* WorldCommandUsage(const std::string& name);

// Applies one world command to `world`. Throws ScriptError (line 0) when its arguments cannot
// be understood; the world is then unchanged.
void ApplyWorldCommand(const ScriptCommand& command, SimWorld& world);

// The longest line and the most lines a world file may have.
constexpr std::size_t kMaxWorldLineLength = 4096;
constexpr int kMaxWorldLines = 100000;

struct WorldFileError {
  int line = 0;
  std::string what;
  // `line N: WHAT`
  std::string Message() const;
};

// Reads a world file into `world`, line by line: the commands of the handset and the client.
// Those of the simulated PC (time, mixer, ...) are checked and passed over, since a real PC
// has its own; so the simulator's demo world serves the stand-ins too. At the first line that
// cannot be understood it stops and returns the error; the lines before it stay applied.
// Lines may end in LF or CR LF; blank lines and comments do nothing.
std::optional<WorldFileError> ReadWorldFile(std::istream& in, SimWorld& world);

}  // namespace mivo::sim
