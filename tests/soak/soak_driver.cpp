// The soak run: the script runner with the demo world, and a session that feeds it a seeded
// random stream of script commands while it counts the trace and watches the timers.
#include "tests/soak/soak_driver.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <streambuf>

#include "core/constants.h"
#include "platform/sim/script_parser.h"
#include "sim/script_runner.h"

namespace mivo::soak {

namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kHourMs = 3600 * 1000;
// The longest single wait: longer idle times are cut into steps so the checks run often.
constexpr std::int64_t kWaitStepMs = 60 * 1000;

// Reads a "Vm...:  N kB" line of /proc/self/status; 0 when there is none.
long StatusKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.compare(0, field.size() + 1, field + ":") == 0) {
      return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
  }
  return 0;
}

// Takes the trace and counts its lines by simulated hour and by kind (the name of the call,
// or the first word of other lines); the text itself is dropped.
class TraceCounter : public std::streambuf {
 public:
  TraceCounter(const sim::EventLoop& loop, Report& report) : loop_(loop), report_(report) {}

 protected:
  int_type overflow(int_type ch) override {
    if (ch != traits_type::eof()) Put(static_cast<char>(ch));
    return ch;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) Put(s[i]);
    return n;
  }

 private:
  void Put(char c) {
    if (c == '\n') {
      const auto hour = static_cast<std::size_t>(loop_.now_ms() / kHourMs);
      ++report_.lines;
      if (hour < report_.hours.size()) {
        ++report_.hours[hour].lines;
        ++report_.hours[hour].by_kind[KindIndex()];
      }
      kind_.clear();
      in_kind_ = true;
      return;
    }
    if (!in_kind_) return;
    if (c == '(' || c == ' ' || kind_.size() >= kLongestKind) {
      in_kind_ = false;
    } else {
      kind_ += c;
    }
  }
  std::size_t KindIndex() {
    std::vector<std::string>& kinds = report_.kinds;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      if (kinds[i] == kind_) return i;
    }
    if (kinds.size() + 1 < Report::kMaxKinds) {
      kinds.push_back(kind_);
      return kinds.size() - 1;
    }
    if (kinds.size() + 1 == Report::kMaxKinds) kinds.push_back("(other)");
    return Report::kMaxKinds - 1;
  }

  static constexpr std::size_t kLongestKind = 40;
  const sim::EventLoop& loop_;
  Report& report_;
  std::string kind_;
  bool in_kind_ = true;
};

const std::set<std::uintptr_t>& KnownTimers() {
  static const std::set<std::uintptr_t> kKnown = {
      TIMER_HIDE,        TIMER_IDLE_REFRESH,     TIMER_CALL_CLOCK,
      TIMER_CANCEL_HOLD, TIMER_LONG_PRESS,       TIMER_UP_REPEAT,
      TIMER_DOWN_REPEAT, TIMER_VOLUME_UP_REPEAT, TIMER_VOLUME_DOWN_REPEAT,
      TIMER_LED_OFF,     TIMER_RING_BLINK,       TIMER_VOLUME_SCREEN,
      TIMER_WRONG_NUMBER};
  return kKnown;
}

// The people of the demo world, as the client announces them.
const std::vector<std::string>& Callers() {
  static const std::vector<std::string> kCallers = {"Alice Smith",  "Bob Jones",   "Dave Brown",
                                                    "Kenji Tanaka", "Priya Patel", "+4930123456",
                                                    "+15555550123", "Unknown"};
  return kCallers;
}

// The session: one activity after another, each a few script commands, until the time is up.
class Session {
 public:
  Session(sim::ScriptRunner& runner, Report& report, const Options& options)
      : runner_(runner), report_(report), options_(options), rng_(options.seed) {}

  void Run() {
    report_.start_rss_kb = StatusKb("VmRSS");
    const std::int64_t end_ms = static_cast<std::int64_t>(options_.hours) * kHourMs;
    try {
      while (report_.failure.empty() && Now() < end_ms) {
        Activity();
        Wait(Gap());
      }
    } catch (const sim::ScriptError& e) {
      report_.failure = std::string("script error: ") + e.what();
    }
    while (report_.failure.empty() && Now() < end_ms) Wait(end_ms - Now());
    NoteHours();
    report_.end_rss_kb = StatusKb("VmRSS");
  }

 private:
  std::int64_t Now() const { return runner_.platform().loop.now_ms(); }
  std::int64_t In(std::int64_t lo, std::int64_t hi) {
    return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng_);
  }
  bool Chance(int percent) { return In(0, 99) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(In(0, static_cast<std::int64_t>(items.size()) - 1))];
  }

  // Runs one command and checks the program after it.
  void Do(const std::string& command) {
    if (!report_.failure.empty()) return;
    runner_.ExecuteCommand(command);
    ++report_.events;
    const auto hour = static_cast<std::size_t>(Now() / kHourMs);
    if (hour < report_.hours.size()) ++report_.hours[hour].events;
    if (!runner_.running()) {
      report_.failure = "the program ended after \"" + command + "\"";
      return;
    }
    for (const auto& timer : runner_.platform().loop.Timers()) {
      if (KnownTimers().count(timer.id) == 0) {
        report_.failure = "timer " + std::to_string(timer.id) + " runs after \"" + command + "\"";
        return;
      }
    }
    NoteHours();
  }
  // Samples the memory once per simulated hour that has ended.
  void NoteHours() {
    const auto ended = static_cast<std::size_t>(Now() / kHourMs);
    while (sampled_ < ended && sampled_ < report_.hours.size()) {
      report_.hours[sampled_].rss_kb = StatusKb("VmRSS");
      if (options_.progress != nullptr) {
        const Hour& h = report_.hours[sampled_];
        *options_.progress << "hour " << sampled_ + 1 << ": events " << h.events << ", trace lines "
                           << h.lines << ", rss " << h.rss_kb << " kB" << std::endl;
      }
      ++sampled_;
    }
  }
  void Wait(std::int64_t ms) {
    while (ms > 0 && report_.failure.empty()) {
      const std::int64_t step = std::min(ms, kWaitStepMs);
      Do("wait " + std::to_string(step));
      ms -= step;
    }
  }
  void Press(const std::string& key, int hold_ms = 0) {
    Do("press " + key + " " + std::to_string(hold_ms > 0 ? hold_ms : In(60, 250)));
    Wait(In(150, 2500));
  }
  // Idle time between activities: mostly a minute or two, sometimes an hour.
  std::int64_t Gap() {
    if (Chance(3)) return In(10, 90) * 60 * 1000;
    return In(2, 150) * 1000;
  }

  void Activity() {
    const std::int64_t kind = In(0, 99);
    if (kind < 22) {
      Browse();
    } else if (kind < 40) {
      IncomingCall();
    } else if (kind < 58) {
      OutgoingCall();
    } else if (kind < 68) {
      Voicemail();
    } else if (kind < 74) {
      Do("language " + std::to_string(Pick(std::vector<int>{7, 9, 9, 10, 12, 16, 19, 3})));
    } else if (kind < 80) {
      Unplug();
    } else if (kind < 90) {
      Volume();
    } else {
      Do("missed " + std::to_string(In(0, 5)));
      Do("missed-changed");
    }
  }

  void Browse() {
    static const std::vector<std::string> kKeys = {"SKYPE", "SKYPE",  "DOWN",      "DOWN", "DOWN",
                                                   "UP",    "CANCEL", "VOICEMAIL", "1",    "CALL"};
    for (std::int64_t n = In(2, 14); n > 0; --n) Press(Pick(kKeys));
    if (Chance(50)) Press("CANCEL", 1700);  // held: back to the idle page
    EndAnyCall();
  }
  void Talk() {
    for (std::int64_t n = In(1, 6); n > 0; --n) {
      Wait(In(3, 120) * 1000);
      const std::int64_t what = In(0, 9);
      if (what < 3) {
        for (std::int64_t d = In(1, 4); d > 0; --d) Press(std::to_string(In(0, 9)));
      } else if (what == 3) {
        Press("HOLD");
        Wait(In(2, 30) * 1000);
        Press("HOLD");
      } else if (what == 4) {
        Press("MUTE");
        Press("MUTE");
      } else if (what == 5) {
        Press(Chance(50) ? "VOL+" : "VOL-");
      }
    }
  }
  void IncomingCall() {
    Do("ring \"" + Pick(Callers()) + "\"");
    Wait(In(1, 12) * 1000);
    const std::int64_t what = In(0, 9);
    if (what < 6) {
      Press("CALL");
      Talk();
      if (Chance(60)) {
        Press("END");
      } else {
        Do("finished");
      }
    } else if (what < 8) {
      Press("END");
    } else {
      Wait(In(10, 40) * 1000);
      Do("finished");
      Do("missed " + std::to_string(In(1, 5)));
      Do("missed-changed");
    }
    Wait(In(1, 5) * 1000);
    EndAnyCall();
  }
  void OutgoingCall() {
    const std::int64_t how = In(0, 3);
    if (how < 2) {
      for (std::int64_t d = In(3, 11); d > 0; --d) Press(std::to_string(In(0, 9)));
    } else {
      Press("SKYPE");
      for (std::int64_t d = In(0, 6); d > 0; --d) Press("DOWN");
    }
    Press("CALL");
    if (how == 3) Press("CALL");
    Wait(2000);
    Talk();
    Press("END");
    Wait(In(1, 5) * 1000);
    EndAnyCall();
    if (Chance(30)) Press("CANCEL", 1700);
  }
  void Voicemail() {
    sim::VoipWorld& voip = runner_.platform().world.voip;
    // Ids come round again, as a client's would, long after the message was deleted.
    voicemails_ = (voicemails_ + 1) % 40;
    Do("voicemail vm" + std::to_string(100 + voicemails_) + " bob \"Bob Jones\"");
    // The client keeps a dozen; older ones are deleted there.
    while (voip.voicemails.size() > 12) voip.voicemails.erase(voip.voicemails.begin());
    Do("unplayed " + std::to_string(In(1, 3)));
    Do("voicemail-changed");
    if (Chance(60)) {
      Press("VOICEMAIL");
      for (std::int64_t d = In(0, 4); d > 0; --d) Press("DOWN");
      Press("CALL");
      Wait(In(1, 8) * 1000);
      Press("CANCEL");
      Press("CANCEL", 1700);
    }
    EndAnyCall();
  }
  void Unplug() {
    Do("handset remove");
    Wait(Chance(20) ? In(10, 120) * 60 * 1000 : In(2, 60) * 1000);
    Do("handset arrive");
  }
  void Volume() {
    if (Chance(30)) {
      Press(Chance(50) ? "VOL+" : "VOL-", static_cast<int>(In(1000, 4000)));  // held: repeats
    } else {
      for (std::int64_t n = In(1, 6); n > 0; --n) Press(Chance(50) ? "VOL+" : "VOL-");
    }
    Wait(4000);
  }
  // Whatever the keys did, no call outlives the activity.
  void EndAnyCall() {
    const sim::SimVoipClient& voip = runner_.platform().voip;
    if (voip.in_call() || voip.ringing()) {
      Press("END");
      Wait(3000);
    }
  }

  sim::ScriptRunner& runner_;
  Report& report_;
  const Options& options_;
  std::mt19937 rng_;
  int voicemails_ = 0;
  std::size_t sampled_ = 0;
};

}  // namespace

std::int64_t Report::Count(const Hour& hour, const std::string& kind) const {
  for (std::size_t i = 0; i < kinds.size() && i < hour.by_kind.size(); ++i) {
    if (kinds[i] == kind) return hour.by_kind[i];
  }
  return 0;
}

std::int64_t Report::Count(const std::string& kind) const {
  std::int64_t total = 0;
  for (const Hour& hour : hours) total += Count(hour, kind);
  return total;
}

Report Run(const Options& options) {
  Report report;
  // Lines written at the very end of the time belong to no full hour and are not kept.
  report.kinds.reserve(Report::kMaxKinds);
  report.hours.resize(static_cast<std::size_t>(std::max(options.hours, 0)));
  for (Hour& hour : report.hours) hour.by_kind.assign(Report::kMaxKinds, 0);
  const auto started = std::chrono::steady_clock::now();
  const std::string res_dir = options.res_dir;
  std::ifstream world_file(fs::path(res_dir) / "demo_world.scn", std::ios::binary);
  if (!world_file) {
    report.failure = "no demo_world.scn in " + res_dir;
    return report;
  }
  // The demo world as it is, then the program starts at a fixed date.
  std::stringstream script;
  script << world_file.rdbuf() << "\ntime 2026-01-05 09:00:00\ntimezone -60 0\nstart\n";

  std::ostringstream errors;
  sim::ScriptRunner* runner_ptr = nullptr;
  sim::RunnerOptions runner_options;
  runner_options.session = [&] {
    if (runner_ptr == nullptr) return;
    Session(*runner_ptr, report, options).Run();
  };
  std::ostream trace(nullptr);
  sim::ScriptRunner runner(script, trace, errors, runner_options);
  TraceCounter counter(runner.platform().loop, report);
  trace.rdbuf(&counter);
  runner_ptr = &runner;
  for (const char* name : {"lang.ini", "setup.ini"}) {
    std::error_code ec;
    fs::copy_file(fs::path(res_dir) / name, fs::path(runner.directory()) / name,
                  fs::copy_options::overwrite_existing, ec);
    if (ec) report.failure = std::string("cannot copy ") + name + ": " + ec.message();
  }
  if (report.failure.empty() && runner.Run() != 0 && report.failure.empty()) {
    report.failure = "the script runner stopped: " + errors.str();
  }
  // The high-water mark is updated lazily by the kernel; the samples may have seen more.
  report.peak_rss_kb = std::max(StatusKb("VmHWM"), report.end_rss_kb);
  for (const Hour& hour : report.hours)
    report.peak_rss_kb = std::max(report.peak_rss_kb, hour.rss_kb);
  report.wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return report;
}

}  // namespace mivo::soak
