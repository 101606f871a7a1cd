// The checks over a whole soak run and its printed numbers.
#include <algorithm>
#include <iomanip>
#include <sstream>

#include "tests/soak/soak_driver.h"

namespace mivo::soak {

namespace {

// Bounds of a steady run. The stream of events has the same mix at every hour, so an hour
// may be busier or quieter than another, but the halves of the run must look alike.
constexpr double kHourOverMedian = 4.0;      // one hour's lines against the median hour
constexpr double kHalvesRatio = 1.5;         // mean lines per hour, second half to first
constexpr double kKindHalvesRatio = 2.0;     // the same for each frequent kind of line
constexpr std::int64_t kFrequentKind = 100;  // lines per hour that make a kind frequent
constexpr long kMemoryGrowthKb = 2048;       // resident memory from the first hour to the end

double Mean(const std::vector<double>& values) {
  if (values.empty()) return 0;
  double sum = 0;
  for (double v : values) sum += v;
  return sum / static_cast<double>(values.size());
}

bool WithinRatio(double first, double second, double ratio) {
  if (first <= 0 && second <= 0) return true;
  return second <= first * ratio && first <= second * ratio;
}

}  // namespace

std::string CheckShape(const Report& report, bool check_memory) {
  // The first hour holds the start; the rest is the steady use that is compared.
  const std::size_t n = report.hours.size();
  if (n < 5) return "a run of " + std::to_string(n) + " hours is too short to judge";
  const std::size_t mid = 1 + (n - 1) / 2;

  std::vector<double> lines;
  for (std::size_t h = 1; h < n; ++h) lines.push_back(static_cast<double>(report.hours[h].lines));
  std::vector<double> sorted = lines;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  for (std::size_t h = 1; h < n; ++h) {
    if (static_cast<double>(report.hours[h].lines) > kHourOverMedian * median) {
      return "hour " + std::to_string(h + 1) + " wrote " + std::to_string(report.hours[h].lines) +
             " trace lines, the median hour " + std::to_string(static_cast<long>(median));
    }
  }
  const std::vector<double> first(lines.begin(), lines.begin() + static_cast<long>(mid - 1));
  const std::vector<double> second(lines.begin() + static_cast<long>(mid - 1), lines.end());
  if (!WithinRatio(Mean(first), Mean(second), kHalvesRatio)) {
    return "trace lines per hour went from " + std::to_string(Mean(first)) + " to " +
           std::to_string(Mean(second));
  }

  for (std::size_t k = 0; k < report.kinds.size(); ++k) {
    std::vector<double> a;
    std::vector<double> b;
    double total = 0;
    for (std::size_t h = 1; h < n; ++h) {
      const auto count = static_cast<double>(report.hours[h].by_kind[k]);
      (h < mid ? a : b).push_back(count);
      total += count;
    }
    if (total < static_cast<double>(kFrequentKind * static_cast<std::int64_t>(n - 1))) continue;
    if (!WithinRatio(Mean(a), Mean(b), kKindHalvesRatio)) {
      return report.kinds[k] + " lines per hour went from " + std::to_string(Mean(a)) + " to " +
             std::to_string(Mean(b));
    }
  }

  if (check_memory) {
    const long base = report.hours[1].rss_kb;
    if (report.end_rss_kb - base > kMemoryGrowthKb) {
      return "resident memory grew from " + std::to_string(base) + " kB after the first hours to " +
             std::to_string(report.end_rss_kb) + " kB";
    }
  }
  return "";
}

void Print(const Report& report, std::ostream& out) {
  out << "simulated hours: " << report.hours.size() << "\n"
      << "wall time: " << std::fixed << std::setprecision(1) << report.wall_seconds << " s\n"
      << "events (script commands): " << report.events << "\n"
      << "trace lines: " << report.lines << "\n"
      << "resident memory: " << report.start_rss_kb << " kB at start, " << report.end_rss_kb
      << " kB at the end, peak " << report.peak_rss_kb << " kB\n";
  // A day per line: events, lines, and the memory at the day's end.
  for (std::size_t day = 0; day * 24 < report.hours.size(); ++day) {
    std::int64_t events = 0;
    std::int64_t lines = 0;
    long rss = 0;
    for (std::size_t h = day * 24; h < std::min(report.hours.size(), day * 24 + 24); ++h) {
      events += report.hours[h].events;
      lines += report.hours[h].lines;
      rss = report.hours[h].rss_kb;
    }
    out << "day " << day + 1 << ": events " << events << ", trace lines " << lines << ", rss "
        << rss << " kB\n";
  }
  out << "trace lines by kind:";
  for (const std::string& kind : report.kinds) out << " " << kind << "=" << report.Count(kind);
  out << "\n";
  if (!report.failure.empty()) out << "failure: " << report.failure << "\n";
}

}  // namespace mivo::soak
