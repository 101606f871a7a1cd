// mivorun-sim: the controller on the simulated platform.
//
//   mivorun-sim [--world FILE] [--dir DIR] [--res DIR] [--trace FILE]   the interactive handset
//   mivorun-sim --script FILE [--dir DIR]   run a scenario script (FILE "-" = standard input)
//   mivorun-sim --help | --version
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>

#include "sim/command_line.h"
#include "sim/data_directory.h"
#include "sim/interactive.h"
#include "sim/script_runner.h"

namespace {

// The source tree's resources, for a program run from its build folder.
#ifndef MIVO_RES_DIR
#define MIVO_RES_DIR "res"
#endif
// The installed data directory, relative to the installed program's folder.
#ifndef MIVO_DATA_RELATIVE
#define MIVO_DATA_RELATIVE ""
#endif

int RunScript(const mivo::sim::CommandLine& line) {
  std::ifstream file;
  std::istream* script = &std::cin;
  if (line.script != "-") {
    file.open(line.script, std::ios::binary);
    if (!file) {
      std::cerr << "mivorun-sim: cannot open script '" << line.script << "'\n";
      return 2;
    }
    script = &file;
  }
  mivo::sim::ScriptRunner runner(*script, std::cout, std::cerr,
                                 mivo::sim::RunnerOptions{line.dir, {}});
  return runner.Run();
}

int RunHandset(const mivo::sim::CommandLine& line) {
  mivo::sim::InteractiveOptions options;
  options.directory = line.dir;
  options.world = line.world;
  options.res_dir = line.res.empty()
                        ? mivo::sim::FindDataDirectory(mivo::sim::ExecutablePath(),
                                                       MIVO_DATA_RELATIVE, MIVO_RES_DIR)
                        : line.res;
  options.trace_file = line.trace;
  options.client = line.client;
  return mivo::sim::RunInteractive(options, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  const mivo::sim::ParsedCommandLine parsed =
      mivo::sim::ParseCommandLine(argc, argv, std::cout, std::cerr);
  if (!parsed.line) return parsed.exit_status;
  if (parsed.line->script_mode) return RunScript(*parsed.line);
  if (!isatty(STDIN_FILENO)) {
    std::cerr << "mivorun-sim: standard input is not a terminal; give --script FILE, or run\n"
                 "it in a terminal for the interactive handset (--help tells more)\n";
    return 2;
  }
  return RunHandset(*parsed.line);
}
