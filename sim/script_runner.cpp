// The script runner's frame: line reading, the command table, argument checks, and the
// program commands (start, menu, tray).
#include "sim/script_runner.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "core/constants.h"
#include "platform/framework.h"
#include "platform/sim/event_lines.h"

namespace mivo::sim {

namespace fs = std::filesystem;

// ---- Start directory ----

StartDirectory::~StartDirectory() {
  if (owned_ && !path_.empty()) {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
}

bool StartDirectory::Prepare(const std::string& path, std::string* error) {
  std::error_code ec;
  if (!path.empty()) {
    const fs::path absolute = fs::absolute(path, ec).lexically_normal();
    if (ec || !fs::is_directory(absolute, ec)) {
      *error = "start directory " + Trace::Quote(path) + " is not a directory";
      return false;
    }
    path_ = absolute.string();
    // A trailing separator would double up when file names are joined on.
    while (path_.size() > 1 && path_.back() == '/') path_.pop_back();
    return true;
  }
  const fs::path temp = fs::temp_directory_path(ec);
  std::string pattern = ((ec ? fs::path("/tmp") : temp) / "mivorun-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    *error = "cannot create a temporary start directory";
    return false;
  }
  path_ = pattern;
  owned_ = true;
  return true;
}

std::string StartDirectory::FilePath(const std::string& name) const {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos) {
    throw ScriptError("bad file name " + Trace::Quote(name) +
                      " (a plain name in the start directory expected)");
  }
  return path_ + "/" + name;
}

// ---- Runner ----

ScriptRunner::ScriptRunner(std::istream& script, std::ostream& out, std::ostream& err,
                           RunnerOptions options)
    : script_(script),
      out_(out),
      err_(err),
      options_(std::move(options)),
      sim_(out, options_.make_bridge),
      app_(sim_.traced_handset, sim_.traced_voip, sim_.host()) {
  if (directory_.Prepare(options_.directory, &directory_error_)) {
    sim_.world.pc.start_directory = directory_.path();
  }
}

int ScriptRunner::Run() {
  if (!directory_error_.empty()) {
    err_ << "error: " << directory_error_ << '\n';
    return 2;
  }
  try {
    RunLines();
    // A session starts the program at the end of a script that prepared the world only.
    if (options_.session && phase_ == Phase::kBeforeStart) ExecuteText("start");
    out_.flush();
    return 0;
  } catch (const ScriptError& e) {
    out_.flush();
    err_ << "error: line " << e.line << ": " << e.what() << '\n';
  } catch (const std::exception& e) {
    out_.flush();
    err_ << "error: line " << line_number_ << ": " << e.what() << '\n';
  }
  // An error inside the modal loop unwound past the controller, which is gone now: nothing
  // may reach it any more.
  sim_.loop.Clear();
  sim_.loop.set_target(nullptr);
  return 2;
}

bool ScriptRunner::NextLine(std::string* line) {
  if (!std::getline(script_, *line)) return false;
  ++line_number_;
  return true;
}

void ScriptRunner::RunLines() {
  // Inside the controller's modal loop the lines run until the window is destroyed; the
  // rest of the script then continues after `start`.
  std::string line;
  while (!(phase_ == Phase::kRunning && sim_.window.destroyed()) && NextLine(&line)) {
    Execute(line);
  }
}

void ScriptRunner::Execute(const std::string& raw) {
  const int line = line_number_;
  std::string text = raw;
  if (!text.empty() && text.back() == '\r') text.pop_back();  // a script with CR LF ends
  try {
    ExecuteText(text);
  } catch (ScriptError& e) {
    if (e.line == 0) e.line = line;
    throw;
  }
}

void ScriptRunner::ExecuteCommand(const std::string& line) {
  ExecuteText(line);
}

void ScriptRunner::ExecuteText(const std::string& text) {
  if (IsBlankOrComment(text)) return;
  std::vector<Word> words = SplitWords(text);
  const Word& first = words.front();
  const auto& commands = Commands();
  const bool named = !first.quoted && !first.is_option;
  const auto it = named ? commands.find(first.text) : commands.end();
  std::vector<Word> args(words.begin() + 1, words.end());
  if (it != commands.end()) {
    (this->*(it->second.handler))(Command{first.text, std::move(args), it->second.usage});
    return;
  }
  const char* event_usage = named ? DeviceEventUsage(first.text) : nullptr;
  if (event_usage != nullptr) {
    CmdEvent(Command{first.text, std::move(args), event_usage});
    return;
  }
  const char* world_usage = named ? WorldCommandUsage(first.text) : nullptr;
  if (world_usage == nullptr) throw ScriptError("unknown command " + Trace::Quote(first.text));
  CmdWorld(Command{first.text, std::move(args), world_usage});
}

void ScriptRunner::DriveModalLoop() {
  RunLines();
  if (options_.session && !sim_.window.destroyed()) options_.session();
}

void ScriptRunner::RequireRunning(const Command& c) const {
  if (phase_ == Phase::kBeforeStart) throw ScriptError(c.name + " before start");
  if (phase_ == Phase::kExited) throw ScriptError(c.name + " after the program has exited");
}

void ScriptRunner::PostAndPump(UINT message, WPARAM wparam, LPARAM lparam) {
  sim_.loop.Post(message, wparam, lparam);
  sim_.loop.Pump();
}

LPARAM ScriptRunner::Keep(const std::string& bytes) {
  kept_.push_back(bytes);
  return reinterpret_cast<LPARAM>(kept_.back().c_str());
}

// ---- Program commands ----

void ScriptRunner::CmdStart(const Command& c) {
  Positional(c, 0, 0);
  if (phase_ == Phase::kRunning) throw ScriptError("start: the program is already running");
  if (phase_ == Phase::kExited) throw ScriptError("start: the program has already run");
  phase_ = Phase::kRunning;
  sim_.window.set_modal_driver([this] { DriveModalLoop(); });
  app_.InitInstance();
  sim_.window.set_modal_driver(nullptr);
  phase_ = Phase::kExited;
  if (sim_.window.destroyed() || app_.refused()) sim_.trace.Output("exit");
}

void ScriptRunner::CmdMenu(const Command& c) {
  const auto words = Positional(c, 1, 1);
  WPARAM command;
  if (words[0]->text == "close") {
    command = ID_CLOSE;
  } else if (words[0]->text == "about") {
    command = ID_ABOUT;
  } else {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  RequireRunning(c);
  PostAndPump(WM_COMMAND, command, 0);
}

void ScriptRunner::CmdTray(const Command& c) {
  const auto words = Positional(c, 0, 1);
  if (words.empty()) {
    // The observation.
    if (!sim_.window.tray_present()) {
      sim_.trace.Output("tray none");
    } else {
      sim_.trace.Output("tray icon=" + std::to_string(sim_.window.tray_icon()) +
                        " tip=" + Trace::Quote(sim_.window.tray_tip()));
    }
    return;
  }
  LPARAM mouse;
  if (words[0]->text == "rbutton") {
    mouse = WM_RBUTTONUP;
  } else if (words[0]->text == "lbutton") {
    mouse = WM_LBUTTONUP;
  } else if (words[0]->text == "dblclick") {
    mouse = WM_LBUTTONDBLCLK;
  } else {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  RequireRunning(c);
  // The shell calls back with the identifier the icon was added under.
  PostAndPump(MSG_TRAY_NOTIFY, RunningController(c).tray_icon_id, mouse);
}

// ---- Command table ----

const std::map<std::string, ScriptRunner::CommandEntry>& ScriptRunner::Commands() {
  using R = ScriptRunner;
  static const std::map<std::string, CommandEntry> kCommands = {
      // Program.
      {"start", {&R::CmdStart, "start"}},
      {"menu", {&R::CmdMenu, "menu close|about"}},
      {"tray", {&R::CmdTray, "tray [rbutton|lbutton|dblclick]"}},
      // Events: the others are event_lines.h's.
      {"wait", {&R::CmdWait, "wait MS"}},
      // World (the others are world_script.h's).
      {"mixer-set", {&R::CmdMixerSet, "mixer-set N"}},
      {"window", {&R::CmdWindow, "window [\"CAPTION\"]"}},
      {"file", {&R::CmdFile, "file NAME [bom] <<TAG"}},
      {"file-crlf", {&R::CmdFile, "file-crlf NAME [bom] <<TAG"}},
      {"remove", {&R::CmdRemove, "remove NAME"}},
      // Observations.
      {"lcd", {&R::CmdLcd, "lcd"}},
      {"leds", {&R::CmdLeds, "leds"}},
      {"state", {&R::CmdState, "state FIELD [FIELD ...]"}},
      {"participants", {&R::CmdParticipants, "participants"}},
      {"contacts", {&R::CmdContacts, "contacts"}},
      {"timers", {&R::CmdTimers, "timers"}},
      {"cat", {&R::CmdCat, "cat NAME"}},
      {"registry", {&R::CmdRegistry, "registry"}},
      {"trace", {&R::CmdTrace, "trace on|off"}},
      {"echo", {&R::CmdEcho, "echo TEXT"}},
  };
  return kCommands;
}

}  // namespace mivo::sim
