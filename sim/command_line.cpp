#include "sim/command_line.h"

#include <CLI/CLI.hpp>
#include <initializer_list>

#include "mivorun_version.h"
#include "sim/interactive_keys.h"
#include "sim/interactive_lcd.h"

namespace mivo::sim {

namespace {

constexpr const char* kDescription =
    "Runs the MivoRun handset controller on the simulated platform: a simulated Tr520\n"
    "handset, VoIP client and PC.\n"
    "\n"
    "Interactive mode (the default; standard input must be a terminal): the controller runs\n"
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
    "Scenario mode (--script): the controller runs on a virtual clock, reads the script\n"
    "line by line and writes the trace and the observations to standard output.\n";

std::string Footer() {
  return std::string(
             "\nKeys of the interactive handset (a terminal sends no key releases: every key is\n"
             "released 150 ms after it is pressed; Space or Tab first holds the next key down\n"
             "until the next key stroke):\n") +
         KeyboardMapText() + "Icons on the LCD (a terminal without UTF-8 shows the letter):\n" +
         IconLegend();
}

constexpr const char* kScriptGroup = "Scenario mode";
constexpr const char* kInteractiveGroup = "Interactive mode";
constexpr const char* kCommonGroup = "Both modes";

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
  CommandLine line;
  CLI::App app(kDescription, "mivorun-sim");
  app.footer(Footer());
  app.get_formatter()->column_width(18);
  app.set_help_flag("-h,--help", "show this text and exit");
  app.set_version_flag("--version", std::string("mivorun-sim ") + MIVO_VERSION_TEXT,
                       "show the version and exit");

  CLI::Option* script =
      app.add_option("--script", line.script,
                     "run the scenario script FILE ('-' reads standard input) and write the\n"
                     "trace and the observations to standard output; a script error ends\n"
                     "the run with 'error: line N: ...' and exit status 2")
          ->type_name("FILE")
          ->group(kScriptGroup);

  CLI::Option* world =
      app.add_option("--world", line.world,
                     "the world script to load instead of the demo world (world commands;\n"
                     "a 'start' in it and the event commands after it run before the\n"
                     "keyboard takes over)")
          ->type_name("FILE")
          ->group(kInteractiveGroup);
  CLI::Option* res =
      app.add_option("--res", line.res,
                     "where lang.ini, setup.ini and demo_world.scn are (default: the\n"
                     "installed data directory, else the source tree's res/)")
          ->type_name("DIR")
          ->group(kInteractiveGroup);
  CLI::Option* trace = app.add_option("--trace", line.trace, "also write the whole trace to FILE")
                           ->type_name("FILE")
                           ->group(kInteractiveGroup);
  // Further options of the interactive handset (the VoIP client it talks to, ...) join the
  // group here, and this list, which keeps them out of the scenario mode.
  CLI::Option* client =
      app.add_option("--client", line.client,
                     "the VoIP client: 'baresip' for a running baresip reached over its\n"
                     "control interface (ctrl_tcp) at the address of baresip.ini in the\n"
                     "current directory, else 127.0.0.1:4444; 'baresip=HOST:PORT' names\n"
                     "the address (default: the simulated client)")
          ->type_name("baresip[=HOST:PORT]")
          ->check([](const std::string& value) -> std::string {
            if (value == "baresip" || value.rfind("baresip=", 0) == 0) return {};
            return "'baresip' or 'baresip=HOST:PORT' expected";
          })
          ->group(kInteractiveGroup);
  const std::initializer_list<const CLI::Option*> interactive_only = {world, res, trace, client};

  app.add_option("--dir", line.dir,
                 "use DIR as the start directory (where setup.ini and lang.ini live);\n"
                 "default: a fresh temporary directory, removed at the end. In\n"
                 "interactive mode the shipped files are copied into DIR only when it\n"
                 "does not have them yet")
      ->type_name("DIR")
      ->group(kCommonGroup);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return {};
  } catch (const CLI::CallForVersion& version) {
    out << version.what() << "\n";
    return {};
  } catch (const CLI::ParseError& error) {
    err << "mivorun-sim: " << error.what() << "\n"
        << "Run 'mivorun-sim --help' for more information.\n";
    return {std::nullopt, 2};
  }
  line.script_mode = script->count() > 0;
  for (const CLI::Option* option : interactive_only) {
    if (line.script_mode && option->count() > 0) {
      err << "mivorun-sim: " << option->get_name() << " belongs to the interactive mode, not to "
          << "--script\n"
          << "Run 'mivorun-sim --help' for more information.\n";
      return {std::nullopt, 2};
    }
  }
  return {line, 0};
}

}  // namespace mivo::sim
