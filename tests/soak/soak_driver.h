// A long use of the handset in virtual time: the controller on the simulated platform, with
// the demo world and the client in auto mode, takes a seeded random stream of incoming and
// outgoing calls, key presses, voicemails, language changes and handset unplugging. It
// watches the timers after every step, the memory of the process every simulated hour, and
// the trace's lines per simulated hour by kind of call.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace mivo::soak {

struct Options {
  std::uint32_t seed = 1;
  int hours = 24;
  std::string res_dir;               // lang.ini, setup.ini and demo_world.scn
  std::ostream* progress = nullptr;  // one line per simulated hour, when set
};

// One simulated hour.
struct Hour {
  std::int64_t events = 0;            // script commands run
  std::int64_t lines = 0;             // trace lines written
  std::vector<std::int64_t> by_kind;  // trace lines by kind (Report::kinds)
  long rss_kb = 0;                    // resident memory at the end of the hour
};

struct Report {
  // Kinds of trace lines (the name of the call, or the first word of another line), in the
  // order first seen; the last one gathers any beyond kMaxKinds.
  static constexpr std::size_t kMaxKinds = 64;
  std::vector<std::string> kinds;
  // Every hour's storage is made before the run, so that the memory measured is the
  // program's and not this report's.
  std::vector<Hour> hours;
  std::int64_t events = 0;
  std::int64_t lines = 0;
  long start_rss_kb = 0;  // after the program started
  long end_rss_kb = 0;    // at the end of the simulated time, the program still running
  long peak_rss_kb = 0;   // the process's high-water mark
  double wall_seconds = 0;
  // The first check that failed while running (a timer outside the known set, a script
  // error, the program gone); empty when all held.
  std::string failure;

  // The lines of `kind` in `hour`, or in the whole run.
  std::int64_t Count(const Hour& hour, const std::string& kind) const;
  std::int64_t Count(const std::string& kind) const;
};

Report Run(const Options& options);

// The checks over the whole run: the trace's lines per hour stay within bounds and show no
// trend, and (when `check_memory`) the resident memory stays flat. The first problem, or "".
std::string CheckShape(const Report& report, bool check_memory);

// The numbers of a run, for a person.
void Print(const Report& report, std::ostream& out);

}  // namespace mivo::soak
