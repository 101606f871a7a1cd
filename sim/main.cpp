// mivorun-sim: the controller on the simulated platform.
//
//   mivorun-sim [--world FILE] [--dir DIR] [--res DIR] [--trace FILE]   the interactive handset
//   mivorun-sim --script FILE [--dir DIR]   run a scenario script (FILE "-" = standard input)
//   mivorun-sim --help
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>

#include "sim/interactive.h"
#include "sim/interactive_keys.h"
#include "sim/interactive_lcd.h"
#include "sim/script_runner.h"

namespace {

#ifndef MIVO_RES_DIR
#define MIVO_RES_DIR "res"
#endif

constexpr const char* kUsage =
    "usage: mivorun-sim [--world FILE] [--dir DIR] [--res DIR] [--trace FILE]\n"
    "       mivorun-sim --script FILE [--dir DIR]\n"
    "       mivorun-sim --help\n"
    "\n"
    "Runs the MivoRun handset controller on the simulated platform: a simulated Tr520\n"
    "handset, VoIP client and PC.\n"
    "\n"
    "Interactive mode (the default when standard input is a terminal): the controller runs\n"
    "with the real clock and the terminal shows the handset: its four LCD rows (title row in\n"
    "bold, the selected row in reverse video, the number-entry row underlined, an arrow right\n"
    "of a row when more entries follow, contact status icons as small glyphs, the volume\n"
    "as a bar), its four LEDs, whether the tray icon shows ready, and the trace of every\n"
    "call into the handset, the VoIP client and the PC. The VoIP client answers on its own:\n"
    "calls placed from the handset go through, and the far end is played from the command\n"
    "line. The world (contacts, call history, voicemails, sound devices) comes from\n"
    "demo_world.scn in the resource directory unless --world names another script of world\n"
    "commands; lang.ini and setup.ini are copied from the resource directory into the start\n"
    "directory first.\n"
    "\n"
    "Keys (a terminal sends no key releases: every key is released 150 ms after it is\n"
    "pressed; Space or Tab first holds the next key down until the next key stroke):\n"
    "%KEYS%"
    "Icons on the LCD (a terminal without UTF-8 shows the letter):\n"
    "%ICONS%"
    "\n"
    "Scenario mode (--script): the controller runs on a virtual clock, reads the script\n"
    "line by line and writes the trace and the observations to standard output.\n"
    "\n"
    "  --script FILE  run the scenario script FILE ('-' reads standard input) and write\n"
    "                 the trace and the observations to standard output; a script error\n"
    "                 ends the run with 'error: line N: ...' and exit status 2\n"
    "  --world FILE   interactive: the world script to load instead of the demo world\n"
    "                 (world commands; a 'start' in it and the event commands after it\n"
    "                 run before the keyboard takes over)\n"
    "  --dir DIR      use DIR as the start directory (where setup.ini and lang.ini live);\n"
    "                 default: a fresh temporary directory, removed at the end. In\n"
    "                 interactive mode the shipped files are copied into DIR only when\n"
    "                 it does not have them yet\n"
    "  --res DIR      interactive: where lang.ini, setup.ini and demo_world.scn are\n"
    "                 (default: the source tree's res/)\n"
    "  --trace FILE   interactive: also write the whole trace to FILE\n"
    "  --help         show this text\n";

std::string UsageText() {
  std::string text = kUsage;
  const auto replace = [&text](const std::string& mark, const std::string& with) {
    const std::size_t at = text.find(mark);
    if (at != std::string::npos) text.replace(at, mark.size(), with);
  };
  replace("%KEYS%", mivo::sim::KeyboardMapText());
  replace("%ICONS%", mivo::sim::IconLegend());
  return text;
}

struct Arguments {
  bool help = false;
  std::string script;
  bool have_script = false;
  std::string dir;
  std::string world;
  std::string res;
  std::string trace;
  bool have_interactive_option = false;
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
    } else if (OptionValue(arg, "--world", i, argc, argv, &args->world, &bad) ||
               OptionValue(arg, "--res", i, argc, argv, &args->res, &bad) ||
               OptionValue(arg, "--trace", i, argc, argv, &args->trace, &bad)) {
      args->have_interactive_option = true;
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
  mivo::sim::ScriptRunner runner(*script, std::cout, std::cerr,
                                 mivo::sim::RunnerOptions{args.dir, {}});
  return runner.Run();
}

int RunHandset(const Arguments& args) {
  mivo::sim::InteractiveOptions options;
  options.directory = args.dir;
  options.world = args.world;
  options.res_dir = args.res.empty() ? MIVO_RES_DIR : args.res;
  options.trace_file = args.trace;
  return mivo::sim::RunInteractive(options, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!ParseArguments(argc, argv, &args)) {
    std::cerr << UsageText();
    return 2;
  }
  if (args.help) {
    std::cout << UsageText();
    return 0;
  }
  if (args.have_script) {
    if (args.have_interactive_option) {
      std::cerr << "mivorun-sim: --world, --res and --trace belong to the interactive mode\n";
      return 2;
    }
    return RunScript(args);
  }
  if (!isatty(STDIN_FILENO)) {
    std::cerr << "mivorun-sim: standard input is not a terminal; give --script FILE, or run\n"
                 "it in a terminal for the interactive handset (--help tells more)\n";
    return 2;
  }
  return RunHandset(args);
}
