// Setting up the interactive handset: the resources and the start directory, the world, the
// PC clock from the real one, the signals, and the session that the controller's modal loop
// hands over to the terminal.
#include "sim/interactive.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <system_error>
#include <vector>

#ifdef MIVO_HAVE_BARESIP
#include "platform/baresip/baresip_bridge.h"
#endif
#include "sim/interactive_session.h"
#include "sim/interactive_terminal.h"
#include "sim/script_runner.h"

namespace mivo::sim {

volatile std::sig_atomic_t g_interrupted = 0;

namespace {

namespace fs = std::filesystem;

constexpr const char* kDemoWorld = "demo_world.scn";
constexpr const char* kCopiedFiles[] = {"lang.ini", "setup.ini"};
constexpr std::size_t kMaxHeldDiagnostics = 1000;

void OnSignal(int) {
  g_interrupted = 1;
}

// Routes Ctrl-C, hang-up and termination to the flag while it lives.
class SignalGuard {
 public:
  SignalGuard() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &old_[i]);
  }
  ~SignalGuard() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &old_[i], nullptr);
  }
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;

 private:
  static constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
  std::array<struct sigaction, 3> old_{};
};

// The PC's clock as the world commands set it: the real local date, time and time zone.
// Windows writes the zone as UTC = local + bias, with one hour less while daylight saving time
// is in effect.
std::vector<std::string> RealClockCommands() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  char time_text[40];
  std::strftime(time_text, sizeof time_text, "time %Y-%m-%d %H:%M:%S", &local);
  const long offset_minutes = local.tm_gmtoff / 60;
  const bool dst = local.tm_isdst > 0;
  const long bias = -offset_minutes + (dst ? 60 : 0);
  return {time_text, "timezone " + std::to_string(bias) + " " + (dst ? "1" : "0")};
}

// Copies the shipped settings and texts into the start directory. A directory the user named
// keeps the files it already has.
bool CopyResources(const std::string& res_dir, const std::string& directory, bool keep_existing,
                   std::string* error) {
  for (const char* name : kCopiedFiles) {
    const fs::path target = fs::path(directory) / name;
    std::error_code ec;
    if (keep_existing && fs::exists(target, ec)) continue;
    fs::copy_file(fs::path(res_dir) / name, target, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      *error = "cannot copy " + (fs::path(res_dir) / name).string() + " to " + directory + ": " +
               ec.message();
      return false;
    }
  }
  return true;
}

// The bridge to a real baresip that `client` names ("baresip" or "baresip=HOST:PORT"), with
// the settings of baresip.ini in the current directory; false with *error for a bad client
// or settings file.
bool BaresipFactory(const std::string& client,
                    const std::function<void(const std::string&)>& diagnostics,
                    SimPlatform::BridgeFactory* factory, std::string* error) {
#ifdef MIVO_HAVE_BARESIP
  baresip::BridgeSettings settings;
  std::ifstream file("baresip.ini", std::ios::binary);
  if (file) {
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    std::string why;
    if (!baresip::ParseSettings(text, &settings, &why)) {
      *error = "baresip.ini: " + why;
      return false;
    }
  }
  const std::string prefix = "baresip=";
  if (client.compare(0, prefix.size(), prefix) == 0 &&
      !baresip::ParseAddress(client.substr(prefix.size()), &settings.host, &settings.port)) {
    *error = "--client " + client + ": HOST:PORT expected after 'baresip='";
    return false;
  }
  if (client != "baresip" && client.compare(0, prefix.size(), prefix) != 0) {
    *error = "--client " + client + ": 'baresip' or 'baresip=HOST:PORT' expected";
    return false;
  }
  *factory = [settings, diagnostics](EventLoop& loop) -> std::unique_ptr<VoipBridge> {
    return std::make_unique<baresip::BaresipBridge>(loop, loop, settings, diagnostics);
  };
  return true;
#else
  (void)client;
  (void)diagnostics;
  (void)factory;
  *error = "this build has no baresip bridge (nlohmann-json3-dev was missing)";
  return false;
#endif
}

}  // namespace

int RunInteractive(const InteractiveOptions& options, std::ostream& out, std::ostream& err) {
  if (!InteractiveAvailable()) {
    err << "mivorun-sim: this build has no terminal library (ncurses); only --script runs\n";
    return 2;
  }
  std::error_code ec;
  for (const char* name : kCopiedFiles) {
    if (!fs::is_regular_file(fs::path(options.res_dir) / name, ec)) {
      err << "mivorun-sim: no " << name << " in the resource directory '" << options.res_dir
          << "' (use --res DIR)\n";
      return 2;
    }
  }
  const std::string world_path =
      options.world.empty() ? (fs::path(options.res_dir) / kDemoWorld).string() : options.world;
  std::ifstream world(world_path, std::ios::binary);
  if (!world) {
    err << "mivorun-sim: cannot open world '" << world_path << "'\n";
    return 2;
  }

  auto log = std::make_unique<LogBuffer>();
  if (!options.trace_file.empty() && !log->OpenFile(options.trace_file)) {
    err << "mivorun-sim: cannot write the trace file '" << options.trace_file << "'\n";
    return 2;
  }
  std::ostream trace(log.get());

  // Diagnostics of a real client's bridge go where the platform's go, once that is set up.
  std::function<void(const std::string&)> diagnostics_sink;
  SimPlatform::BridgeFactory make_bridge;
  if (!options.client.empty()) {
    std::string error;
    const auto diagnostics = [&diagnostics_sink](const std::string& line) {
      if (diagnostics_sink) diagnostics_sink(line);
    };
    if (!BaresipFactory(options.client, diagnostics, &make_bridge, &error)) {
      err << "mivorun-sim: " << error << '\n';
      return 2;
    }
  }

  ScriptRunner* runner = nullptr;
  bool session_ran = false;
  std::string terminal_error;
  RunnerOptions runner_options;
  runner_options.directory = options.directory;
  runner_options.make_bridge = make_bridge;
  runner_options.session = [&] {
    session_ran = true;
    HandsetSession session(*runner);
    if (!RunTerminal(session, *log, &terminal_error)) session.Quit();
  };
  ScriptRunner script_runner(world, trace, err, runner_options);
  runner = &script_runner;

  // Diagnostics lines go to standard error (`err`). While the handset is drawn on the terminal
  // that standard error shares, they wait (the first kMaxHeldDiagnostics) until the terminal
  // is restored.
  std::vector<std::string> held_diagnostics;
  std::size_t dropped_diagnostics = 0;
  const bool hold_diagnostics = isatty(STDERR_FILENO) != 0;
  diagnostics_sink = [&](const std::string& line) {
    if (!hold_diagnostics) {
      err << line << std::endl;
    } else if (held_diagnostics.size() < kMaxHeldDiagnostics) {
      held_diagnostics.push_back(line);
    } else {
      ++dropped_diagnostics;
    }
  };
  script_runner.platform().system.set_diagnostics(diagnostics_sink);

  if (!script_runner.directory().empty()) {
    std::string error;
    if (!CopyResources(options.res_dir, script_runner.directory(), !options.directory.empty(),
                       &error)) {
      err << "mivorun-sim: " << error << '\n';
      return 2;
    }
  }
  // The demo runs on today's date and time and the client answers on its own; a world script
  // may set either otherwise.
  try {
    for (const std::string& command : RealClockCommands()) script_runner.ExecuteCommand(command);
  } catch (const ScriptError&) {
    // A clock the world commands cannot express: the world's default date and time stay.
  }
  script_runner.platform().world.voip.auto_mode = true;

  int status;
  {
    SignalGuard signals;
    g_interrupted = 0;
    status = script_runner.Run();
  }
  trace.flush();
  for (const std::string& line : held_diagnostics) err << line << '\n';
  if (dropped_diagnostics > 0) {
    err << "mivorun-sim: " << dropped_diagnostics << " more diagnostics lines left out\n";
  }
  if (!terminal_error.empty()) {
    err << "mivorun-sim: " << terminal_error << '\n';
    return 2;
  }
  if (status != 0) return status;
  if (!session_ran) {
    err << "mivorun-sim: the program ended before the handset came up; the trace ends with:\n";
    const auto& lines = log->lines();
    const std::size_t first = lines.size() > 10 ? lines.size() - 10 : 0;
    for (std::size_t i = first; i < lines.size(); ++i) err << "  " << lines[i] << '\n';
    return 2;
  }
  out << "mivorun-sim: closed";
  if (!log->lines().empty()) out << " (the trace ends with: " << log->lines().back() << ")";
  out << '\n';
  return 0;
}

}  // namespace mivo::sim
