#include "bench/report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace mivo::bench {

namespace {

constexpr const char* kWindowsPending = "n/a (Windows build)";

struct Row {
  std::string metric;
  std::string value;
  std::string goal;
  std::string ratio;
};

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

class Table {
 public:
  Table(const Results& results, const std::map<std::string, std::string>& measured)
      : results_(results), measured_(measured) {}

  // A benchmark's time per iteration against an upper goal in microseconds.
  void Micros(const std::string& metric, const std::string& bench, double goal_us) {
    const Result* r = Find(bench);
    if (r == nullptr) return Missing(metric, "< " + Fixed(goal_us, 0) + " us");
    Add(metric, Fixed(r->micros, 2) + " us", "< " + Fixed(goal_us, 0) + " us",
        Fixed(r->micros / goal_us, 2));
  }
  // The worst of several benchmarks against an upper goal.
  void WorstMicros(const std::string& metric, const std::vector<std::string>& benches,
                   double goal_us) {
    double worst = -1;
    std::string which;
    for (const std::string& b : benches) {
      const Result* r = Find(b);
      if (r != nullptr && r->micros > worst) {
        worst = r->micros;
        which = b.substr(b.find('/') + 1);
      }
    }
    if (worst < 0) return Missing(metric, "< " + Fixed(goal_us, 0) + " us");
    Add(metric + " (" + which + ")", Fixed(worst, 2) + " us", "< " + Fixed(goal_us, 0) + " us",
        Fixed(worst / goal_us, 2));
  }
  // A benchmark's time with no goal: reported.
  void Reported(const std::string& metric, const std::string& bench) {
    const Result* r = Find(bench);
    Add(metric, r == nullptr ? "not run" : Fixed(r->micros, 2) + " us", "reported", "-");
  }
  void Counter(const std::string& metric, const std::string& bench, const std::string& counter,
               const std::string& unit) {
    const Result* r = Find(bench);
    const auto it =
        r == nullptr ? std::map<std::string, double>::const_iterator{} : r->counters.find(counter);
    const bool have = r != nullptr && it != r->counters.end();
    Add(metric, have ? Fixed(it->second, 1) + unit : "not run", "reported", "-");
  }
  // A value measured outside the benchmarks (tools/bench), with an upper goal or none.
  void Measured(const std::string& metric, const std::string& key, const std::string& unit,
                double goal = -1) {
    const auto it = measured_.find(key);
    const std::string goal_text = goal < 0 ? "reported" : "< " + Fixed(goal, 1) + unit;
    if (it == measured_.end()) return Add(metric, "not measured", goal_text, "-");
    const double value = std::atof(it->second.c_str());
    Add(metric, it->second + unit, goal_text, goal < 0 ? "-" : Fixed(value / goal, 2));
  }
  void Pending(const std::string& metric, const std::string& goal) {
    Add(metric, kWindowsPending, goal, "-");
  }
  // A number measured outside the benchmarks; false when it is missing or not a number.
  bool Number(const std::string& key, double* value) const {
    const auto it = measured_.find(key);
    if (it == measured_.end() || it->second.empty()) return false;
    char* end = nullptr;
    *value = std::strtod(it->second.c_str(), &end);
    return *end == '\0' && std::isfinite(*value);
  }
  // A value that the Windows build measured, or its pending row.
  void Windows(const std::string& metric, const std::string& key, const std::string& unit,
               int decimals) {
    double value = 0;
    if (!Number(key, &value)) return Pending(metric, "reported");
    Add(metric, Fixed(value, decimals) + unit, "reported", "-");
  }
  void AddRow(std::string metric, std::string value, std::string goal, std::string ratio) {
    Add(std::move(metric), std::move(value), std::move(goal), std::move(ratio));
  }
  void Section(const std::string& title) { rows_.push_back({"## " + title, "", "", ""}); }

  void Print(std::ostream& out) const {
    std::size_t w[4] = {6, 5, 4, 10};
    for (const Row& r : rows_) {
      if (r.metric.rfind("## ", 0) == 0) continue;
      w[0] = std::max(w[0], r.metric.size());
      w[1] = std::max(w[1], r.value.size());
      w[2] = std::max(w[2], r.goal.size());
      w[3] = std::max(w[3], r.ratio.size());
    }
    auto line = [&](const std::string& a, const std::string& b, const std::string& c,
                    const std::string& d) {
      out << "| " << a << std::string(w[0] - a.size(), ' ') << " | " << b
          << std::string(w[1] - b.size(), ' ') << " | " << c << std::string(w[2] - c.size(), ' ')
          << " | " << d << std::string(w[3] - d.size(), ' ') << " |\n";
    };
    line("Metric", "Value", "Goal", "Value/goal");
    line(std::string(w[0], '-'), std::string(w[1], '-'), std::string(w[2], '-'),
         std::string(w[3], '-'));
    for (const Row& r : rows_) {
      if (r.metric.rfind("## ", 0) == 0) {
        line("**" + r.metric.substr(3) + "**", "", "", "");
      } else {
        line(r.metric, r.value, r.goal, r.ratio);
      }
    }
  }

 private:
  const Result* Find(const std::string& bench) const {
    const auto it = results_.find(bench);
    return it == results_.end() ? nullptr : &it->second;
  }
  void Add(std::string metric, std::string value, std::string goal, std::string ratio) {
    rows_.push_back({std::move(metric), std::move(value), std::move(goal), std::move(ratio)});
  }
  void Missing(const std::string& metric, const std::string& goal) {
    Add(metric, "not run", goal, "-");
  }

  const Results& results_;
  const std::map<std::string, std::string>& measured_;
  std::vector<Row> rows_;
};

// The Windows rows, from what tools/bench-windows measured under Wine (win_* keys).
void WindowsIniRows(Table& t) {
  for (const char* section : {"English", "French"}) {
    const std::string name = std::string(" [") + section + "]";
    t.Windows("IniFile open + 18 lookups + close under Wine," + name,
              std::string("win_ini_ours_us_") + section, " us", 2);
    t.Windows("18 GetPrivateProfileStringA under Wine," + name,
              std::string("win_ini_profile_us_") + section, " us", 2);
    double ours = 0, profile = 0;
    const std::string metric = "ours against GetPrivateProfileStringA," + name;
    if (!t.Number(std::string("win_ini_ours_us_") + section, &ours) ||
        !t.Number(std::string("win_ini_profile_us_") + section, &profile) || ours <= 0) {
      t.Pending(metric, ">= 3x faster");
      continue;
    }
    const double speedup = profile / ours;
    t.AddRow(metric, Fixed(speedup, 1) + "x faster", ">= 3x faster", Fixed(speedup / 3, 2));
  }
}

void WindowsIdleRows(Table& t) {
  // Processor time from /proc: Wine does not keep another process's GetProcessTimes current.
  double cpu = 0;
  if (t.Number("win_mivorun_proc_idle_cpu_s", &cpu)) {
    t.AddRow("MivoRun.exe under Wine: CPU time", Fixed(cpu, 2) + " s", "< 0.1 s",
             Fixed(cpu / 0.1, 2));
  } else {
    t.Pending("MivoRun.exe under Wine: CPU time", "< 0.1 s");
  }
  t.Windows("minimal Win32 dialog under Wine: CPU time", "win_minimal_proc_idle_cpu_s", " s", 2);
  // The wine server runs the timers and queues of every process of the prefix.
  t.Windows("wineserver while MivoRun.exe idles: CPU time", "win_mivorun_wineserver_idle_cpu_s",
            " s", 2);
  t.Windows("wineserver while the minimal dialog idles: CPU time",
            "win_minimal_wineserver_idle_cpu_s", " s", 2);
  t.Windows("MivoRun.exe under Wine: WM_TIMER messages per minute",
            "win_mivorun_timer_messages_per_min", "", 1);
  t.Windows("MivoRun.exe under Wine: messages taken per minute", "win_mivorun_messages_per_min", "",
            1);
  t.Windows("MivoRun.exe under Wine: wake-ups per minute (all threads)",
            "win_mivorun_proc_wakeups_per_min", "", 0);
  t.Windows("MivoRun.exe under Wine: PagefileUsage", "win_mivorun_pagefile_kb", " KB", 0);
  t.Windows("minimal Win32 dialog under Wine: PagefileUsage", "win_minimal_pagefile_kb", " KB", 0);
  t.Windows("minimal dialog with the mixer open and a tray icon: PagefileUsage",
            "win_minimal_mixer_pagefile_kb", " KB", 0);
  t.Windows("MivoRun.exe with do-nothing libraries (no handset): PagefileUsage",
            "win_mivorun_stubs_pagefile_kb", " KB", 0);
  const std::string metric = "MivoRun.exe: PagefileUsage above a minimal Win32 dialog";
  double ours = 0, minimal = 0;
  if (t.Number("win_mivorun_pagefile_kb", &ours) && t.Number("win_minimal_pagefile_kb", &minimal)) {
    const double above = ours - minimal;
    t.AddRow(metric, Fixed(above, 0) + " KB", "<= 2048 KB", Fixed(above / 2048, 2));
  } else {
    t.Pending(metric, "<= 2 MB");
  }
}

void WindowsStartRows(Table& t) {
  t.Windows("MivoRun.exe to its hidden window under Wine (median)", "win_mivorun_startup_ms", " ms",
            0);
  t.Windows("minimal Win32 dialog to its hidden window under Wine (median)",
            "win_minimal_startup_ms", " ms", 0);
  const std::string metric = "MivoRun.exe to its hidden window / minimal dialog program";
  double ours = 0, minimal = 0;
  if (t.Number("win_mivorun_startup_ms", &ours) && t.Number("win_minimal_startup_ms", &minimal) &&
      minimal > 0) {
    t.AddRow(metric, Fixed(ours / minimal, 2) + "x", "reported (ratio)", "-");
  } else {
    t.Pending(metric, "reported (ratio)");
  }
}

}  // namespace

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
  static const std::string kManual = "/manual_time";
  std::vector<Run> aggregates;
  for (const Run& run : runs) {
    if (run.run_type == Run::RT_Aggregate) aggregates.push_back(run);
    if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
    // A benchmark that times itself gives the median of its iterations; otherwise the CPU
    // time, which a busy machine's other processes disturb least. Of repeated runs the best
    // one counts.
    std::string name = run.benchmark_name();
    const bool manual = name.size() > kManual.size() &&
                        name.compare(name.size() - kManual.size(), kManual.size(), kManual) == 0;
    if (manual) name.resize(name.size() - kManual.size());
    const double seconds = manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
    double micros = seconds * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    const auto median = run.counters.find("median_us");
    if (median != run.counters.end()) micros = median->second.value;
    const bool first = results_.count(name) == 0;
    Result& r = results_[name];
    if (first || micros < r.micros) {
      r.micros = micros;
      for (const auto& [counter, value] : run.counters) r.counters[counter] = value.value;
    }
  }
  // Repeated runs show only their aggregates.
  ConsoleReporter::ReportRuns(aggregates.empty() ? runs : aggregates);
}

std::map<std::string, std::string> ReadMeasurements(const std::string& path) {
  std::map<std::string, std::string> values;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    // Lines written by Windows programs end in CR LF.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

void PrintTable(std::ostream& out, const Results& results,
                const std::map<std::string, std::string>& measured) {
  Table t(results, measured);
  const char* kShapes[] = {"sorted", "reversed", "equal", "case_equal", "random"};

  t.Section("Key path");
  t.Micros("key stroke (press + release) on the contact list of 500", "key_event/contact_list/500",
           2);

  t.Section("FetchContacts, 500 contacts, block built");
  std::vector<std::string> fetches;
  for (const char* shape : kShapes) {
    fetches.push_back(std::string("fetch_contacts/") + shape + "/500");
    t.Micros(std::string("FetchContacts ") + shape + " 500", fetches.back(), 250);
  }
  t.WorstMicros("FetchContacts worst of the five", fetches, 250);
  t.Micros("FetchContacts 10,000 entries, random (500 kept)", "fetch_contacts/random/10000", 250);
  t.Micros("FetchContacts 10,000 entries, reversed, both groups over 500",
           "fetch_contacts/reversed_mixed_status/10000", 250);
  t.Micros("FetchContacts 500 names of 64 bytes, no terminator",
           "fetch_contacts/long_unterminated/500", 250);

  t.Section("RedrawCurrentScreen (contact fetch left out)");
  for (const auto& [name, result] : results) {
    if (name.rfind("redraw/", 0) == 0) t.Micros("redraw " + name.substr(7), name, 20);
  }
  t.Reported("open the incoming-call history, 10,000 calls", "open_history/calls/10000");
  t.Reported("open the incoming-call history, 20 calls", "open_history/calls/20");

  t.Section("INI store: 18 keys of lang.ini");
  t.Reported("IniFile open + 18 lookups + close, [English]", "ini/lang.ini/18_keys/English");
  t.Reported("IniFile open + 18 lookups + close, [French] (last)", "ini/lang.ini/18_keys/French");
  WindowsIniRows(t);

  t.Section("Idle 60 s on the idle page");
  t.Measured("mivorun-sim in a terminal: CPU time", "sim_idle_cpu_s", " s", 0.1);
  t.Measured("mivorun-sim in a terminal: wake-ups per minute", "sim_idle_wakeups_per_min", "");
  t.Measured("mivorun-sim in a terminal: peak resident set", "sim_idle_peak_rss_kb", " KB");
  t.Counter("controller timer expiries per minute (virtual clock)", "idle/virtual_minute",
            "timer_expiries_per_min", "");
  t.Reported("controller work for one idle minute (virtual clock)", "idle/virtual_minute");
  WindowsIdleRows(t);

  t.Section("Start-up");
  WindowsStartRows(t);

  out << "Values: CPU time per iteration (redraws: the median of the times measured around\n"
         "the call), the best of the runs; \"n/a (Windows build)\": measured by the Windows\n"
         "build (tools/bench-windows), whose figures were not given.\n\n";
  t.Print(out);
}

}  // namespace mivo::bench
