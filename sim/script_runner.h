// The scenario script runner (mivorun-sim --script): runs the controller on the simulated
// platform, reads the script line by line, and writes the trace and the observations.
//
// `start` runs the controller's InitInstance with a modal driver that goes on executing the
// script's lines inside the controller's modal loop, exactly where a real program's events
// would be dispatched. A line that cannot be understood throws ScriptError, which unwinds to
// Run(): `error: line N: WHAT` on the error stream and exit status 2.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <list>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "app/controller_app.h"
#include "platform/sim/script_parser.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/world_script.h"

namespace mivo::sim {

// The start directory of a run: a given one, or a fresh temporary one removed at the end.
class StartDirectory {
 public:
  StartDirectory() = default;
  ~StartDirectory();
  StartDirectory(const StartDirectory&) = delete;
  StartDirectory& operator=(const StartDirectory&) = delete;

  // Uses `path` (made absolute; it must be an existing directory), or creates a fresh
  // temporary directory when `path` is empty. Returns false with `error` set on failure.
  bool Prepare(const std::string& path, std::string* error);
  const std::string& path() const { return path_; }
  // The path of a file in the directory; throws ScriptError for a name that is not a plain
  // file name (empty, with a slash, "." or "..", or with a zero byte).
  std::string FilePath(const std::string& name) const;

 private:
  std::string path_;
  bool owned_ = false;
};

struct RunnerOptions {
  std::string directory;  // empty: a fresh temporary directory
  // The interactive handset. When set, the script only prepares the run: once its lines are
  // used up, the program is started (unless the script already did) and this session then
  // drives the controller's modal loop until the window is destroyed or the session returns.
  std::function<void()> session = nullptr;
  // The most virtual time that `wait` and `press` may add up to, in milliseconds; a wait that
  // would go beyond it is a script error. 0: no limit.
  std::int64_t max_virtual_ms = 0;
  // A VoIP bridge to use instead of the simulated client (the interactive handset against a
  // real client).
  SimPlatform::BridgeFactory make_bridge = nullptr;
};

class ScriptRunner {
 public:
  ScriptRunner(std::istream& script, std::ostream& out, std::ostream& err,
               RunnerOptions options = {});
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Runs the whole script; returns the exit status (0, or 2 after a script error).
  int Run();

  // Runs one command line as a script line would (the interactive command line). Throws
  // ScriptError, with line 0, when the line cannot be understood or the command fails. A blank
  // line or a comment does nothing.
  void ExecuteCommand(const std::string& line);

  const std::string& directory() const { return directory_.path(); }
  SimPlatform& platform() { return sim_; }
  // Whether the program is running: started, and its window not destroyed yet.
  bool running() const { return phase_ == Phase::kRunning && !sim_.window.destroyed(); }

 private:
  enum class Phase { kBeforeStart, kRunning, kExited };

  using Command = ScriptCommand;
  using Handler = void (ScriptRunner::*)(const Command&);

  // Line reading and execution.
  bool NextLine(std::string* line);
  void RunLines();
  void Execute(const std::string& line);
  void ExecuteText(const std::string& text);
  // The modal loop's driver: the script's remaining lines, then the session if there is one.
  void DriveModalLoop();

  void RequireRunning(const Command& c) const;

  // Posting an event and pumping the queue; `Keep` holds the bytes behind a pointer in lParam
  // for the rest of the run.
  void PostAndPump(UINT message, WPARAM wparam, LPARAM lparam);
  LPARAM Keep(const std::string& bytes);
  // Advances the virtual clock by `ms` for the command `what`, within the run's time limit.
  void Advance(std::int64_t ms, const char* what);

  // Program and event commands (script_runner.cpp, script_events.cpp).
  void CmdStart(const Command& c);
  void CmdMenu(const Command& c);
  void CmdTray(const Command& c);
  // Every event command (platform/sim/event_lines.h).
  void CmdEvent(const Command& c);
  void CmdWait(const Command& c);

  // World commands (script_world.cpp): the world's data (platform/sim/world_script.h), and
  // those that act on the running platform or the start directory.
  void CmdWorld(const Command& c);
  void CmdMixerSet(const Command& c);
  void CmdFile(const Command& c);
  void CmdRemove(const Command& c);

  // Observations (script_observations.cpp).
  void CmdLcd(const Command& c);
  void CmdLeds(const Command& c);
  void CmdState(const Command& c);
  void CmdParticipants(const Command& c);
  void CmdContacts(const Command& c);
  void CmdTimers(const Command& c);
  void CmdWindow(const Command& c);
  void CmdCat(const Command& c);
  void CmdRegistry(const Command& c);
  void CmdTrace(const Command& c);
  void CmdEcho(const Command& c);
  ControllerDialog& RunningController(const Command& c) const;

  struct CommandEntry {
    Handler handler;
    const char* usage;
  };
  static const std::map<std::string, CommandEntry>& Commands();

  std::istream& script_;
  std::ostream& out_;
  std::ostream& err_;
  std::string directory_error_;  // why the start directory could not be prepared
  RunnerOptions options_;
  StartDirectory directory_;
  SimPlatform sim_;
  ControllerApp app_;
  Phase phase_ = Phase::kBeforeStart;
  int line_number_ = 0;
  std::int64_t waited_ms_ = 0;  // virtual time added by `wait` and `press`
  // Texts and byte reports whose addresses went out in lParam; they stay put until the end.
  std::list<std::string> kept_;
};

}  // namespace mivo::sim
