// The table of metrics and goals that mivorun-bench prints after its benchmarks: one row per
// metric with its value, its goal and value/goal. Rows measured outside the benchmarks (the
// program idle in a terminal) come from a file of key=value lines; rows of the Windows build
// say so until that build measures them.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace mivo::bench {

// One benchmark's result: its time per iteration in microseconds (CPU time, or the time the
// benchmark measured itself; the best of repeated runs) and its counters.
struct Result {
  double micros = 0;
  std::map<std::string, double> counters;
};
using Results = std::map<std::string, Result>;

// Shows the usual console output and keeps every result by benchmark name.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  const Results& results() const { return results_; }

 private:
  Results results_;
};

// Reads key=value lines, LF or CR LF (other lines are skipped); a missing file gives no values.
std::map<std::string, std::string> ReadMeasurements(const std::string& path);

void PrintTable(std::ostream& out, const Results& results,
                const std::map<std::string, std::string>& measured);

}  // namespace mivo::bench
