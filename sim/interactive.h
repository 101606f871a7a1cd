// The interactive handset: the controller on the simulated platform with the real clock, its
// handset drawn in the terminal and driven from the keyboard, the far end from a command line.
#pragma once

#include <csignal>
#include <ostream>
#include <string>

namespace mivo::sim {

struct InteractiveOptions {
  std::string directory;   // the start directory; empty: a fresh temporary one
  std::string world;       // the world script; empty: demo_world.scn of the resources
  std::string res_dir;     // where lang.ini, setup.ini and the demo world are
  std::string trace_file;  // where the whole trace goes as well; empty: nowhere
  // The VoIP client: empty for the simulated one; "baresip" or "baresip=HOST:PORT" for a real
  // baresip reached over its control interface (settings from baresip.ini in the current
  // directory, when there is one).
  std::string client;
};

// Whether this build can draw the handset (it was built with a terminal library).
bool InteractiveAvailable();

// Runs the interactive handset until it is closed; returns the exit status (0, or 2 when it
// could not start: a missing resource, a bad world script, no terminal). Messages go to `err`
// once the terminal is restored.
int RunInteractive(const InteractiveOptions& options, std::ostream& out, std::ostream& err);

// Set by the signal handlers (Ctrl-C, hang-up, termination); the terminal loop closes the
// program when it sees it.
extern volatile std::sig_atomic_t g_interrupted;

}  // namespace mivo::sim
