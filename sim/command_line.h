// The command line of mivorun-sim: its options, grouped by mode, parsed with CLI11.
#pragma once

#include <optional>
#include <ostream>
#include <string>

namespace mivo::sim {

struct CommandLine {
  bool script_mode = false;  // --script given
  std::string script;        // the script file; "-" is standard input
  std::string dir;           // the start directory; empty: a fresh temporary one
  std::string world;         // interactive: the world script instead of the demo world
  std::string res;           // interactive: the resource directory; empty: the default one
  std::string trace;         // interactive: where the whole trace goes as well
  std::string client;        // interactive: "baresip[=HOST:PORT]"; empty: the simulated one
};

struct ParsedCommandLine {
  // Set when the program should run; otherwise `exit_status` is what it exits with (0 after
  // --help or --version, 2 after a usage error) and the text has been written.
  std::optional<CommandLine> line;
  int exit_status = 0;
};

// Parses the arguments (argv[0] is the program). Help and version go to `out`, errors, each
// naming the option at fault, to `err`.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err);

}  // namespace mivo::sim
