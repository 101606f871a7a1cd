// mivorun-sim: the controller on the simulated platform.
//
//   mivorun-sim --script FILE [--dir DIR]   run a scenario script (FILE "-" = standard input)
//   mivorun-sim --help
#include <fstream>
#include <iostream>
#include <string>

#include "sim/script_runner.h"

namespace {

constexpr const char* kUsage =
    "usage: mivorun-sim --script FILE [--dir DIR]\n"
    "       mivorun-sim --help\n"
    "\n"
    "Runs the MivoRun handset controller on the simulated platform.\n"
    "\n"
    "  --script FILE  run the scenario script FILE ('-' reads standard input) and write\n"
    "                 the trace and the observations to standard output; a script error\n"
    "                 ends the run with 'error: line N: ...' and exit status 2\n"
    "  --dir DIR      use DIR as the start directory (where setup.ini and lang.ini live);\n"
    "                 default: a fresh temporary directory, removed at the end\n"
    "  --help         show this text\n";

struct Arguments {
  bool help = false;
  std::string script;
  bool have_script = false;
  std::string dir;
};

// Reads the value of an option given as "--name VALUE" or "--name=VALUE".
bool OptionValue(const std::string& arg, const char* name, int& i, int argc, char** argv,
                 std::string* value, bool* bad) {
  const std::string prefix = std::string(name) + "=";
  if (arg == name) {
    if (i + 1 >= argc) {
      *bad = true;
      return true;
    }
    *value = argv[++i];
    return true;
  }
  if (arg.compare(0, prefix.size(), prefix) == 0) {
    *value = arg.substr(prefix.size());
    return true;
  }
  return false;
}

bool ParseArguments(int argc, char** argv, Arguments* args) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    bool bad = false;
    if (arg == "--help" || arg == "-h") {
      args->help = true;
    } else if (OptionValue(arg, "--script", i, argc, argv, &args->script, &bad)) {
      args->have_script = true;
    } else if (OptionValue(arg, "--dir", i, argc, argv, &args->dir, &bad)) {
    } else {
      std::cerr << "mivorun-sim: unknown argument '" << arg << "'\n";
      return false;
    }
    if (bad) {
      std::cerr << "mivorun-sim: " << arg << " needs a value\n";
      return false;
    }
  }
  return true;
}

int RunScript(const Arguments& args) {
  std::ifstream file;
  std::istream* script = &std::cin;
  if (args.script != "-") {
    file.open(args.script, std::ios::binary);
    if (!file) {
      std::cerr << "mivorun-sim: cannot open script '" << args.script << "'\n";
      return 2;
    }
    script = &file;
  }
  mivo::sim::ScriptRunner runner(*script, std::cout, std::cerr, mivo::sim::RunnerOptions{args.dir});
  return runner.Run();
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!ParseArguments(argc, argv, &args)) {
    std::cerr << kUsage;
    return 2;
  }
  if (args.help) {
    std::cout << kUsage;
    return 0;
  }
  if (args.have_script) return RunScript(args);
  // Without a script there is nothing to run yet: the interactive handset comes later.
  std::cerr << kUsage;
  return 2;
}
