// The table's Windows rows: what tools/bench-windows measured under Wine, with the derived
// comparisons (speed-up, memory above the minimal program, start-up ratio) and their goals.
#include "bench/report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace mivo::bench {
namespace {

struct Cells {
  std::string value, goal, ratio;
};

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The row of the printed table whose metric is `metric`; an empty row when there is none.
Cells RowOf(const std::map<std::string, std::string>& measured, const std::string& metric) {
  std::ostringstream out;
  PrintTable(out, Results{}, measured);
  std::istringstream table(out.str());
  for (std::string line; std::getline(table, line);) {
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, '|');) cells.push_back(Trim(cell));
    if (cells.size() >= 5 && cells[1] == metric) return {cells[2], cells[3], cells[4]};
  }
  ADD_FAILURE() << "no row " << metric;
  return {};
}

const std::map<std::string, std::string> kMeasured = {
    {"win_ini_ours_us_English", "279.48"},
    {"win_ini_profile_us_English", "4989.71"},
    {"win_ini_ours_us_French", "300"},
    {"win_ini_profile_us_French", "600"},
    {"win_mivorun_proc_idle_cpu_s", "0.02"},
    {"win_minimal_proc_idle_cpu_s", "0.00"},
    {"win_mivorun_pagefile_kb", "7460"},
    {"win_minimal_pagefile_kb", "4004"},
    {"win_mivorun_startup_ms", "1500"},
    {"win_minimal_startup_ms", "600"},
    {"win_mivorun_timer_messages_per_min", "6.0"}};

TEST(BenchReportTest, WindowsRowsWaitForTheWindowsFigures) {
  const std::map<std::string, std::string> none;
  for (const char* metric :
       {"ours against GetPrivateProfileStringA, [English]", "MivoRun.exe under Wine: CPU time",
        "MivoRun.exe: PagefileUsage above a minimal Win32 dialog",
        "MivoRun.exe to its hidden window / minimal dialog program"}) {
    EXPECT_EQ(RowOf(none, metric).value, "n/a (Windows build)") << metric;
  }
  // Half a pair compares nothing.
  EXPECT_EQ(RowOf({{"win_mivorun_pagefile_kb", "7460"}},
                  "MivoRun.exe: PagefileUsage above a minimal Win32 dialog")
                .value,
            "n/a (Windows build)");
}

TEST(BenchReportTest, ComparesOursWithTheProfileFunctions) {
  const Cells english = RowOf(kMeasured, "ours against GetPrivateProfileStringA, [English]");
  EXPECT_EQ(english.value, "17.9x faster");
  EXPECT_EQ(english.goal, ">= 3x faster");
  EXPECT_EQ(english.ratio, "5.95");
  // Only twice as fast: short of the goal, which value/goal below 1 shows.
  EXPECT_EQ(RowOf(kMeasured, "ours against GetPrivateProfileStringA, [French]").ratio, "0.67");
  EXPECT_EQ(RowOf(kMeasured, "18 GetPrivateProfileStringA under Wine, [English]").value,
            "4989.71 us");
}

TEST(BenchReportTest, MemoryAndStartAreMeasuredAgainstTheMinimalProgram) {
  const Cells above = RowOf(kMeasured, "MivoRun.exe: PagefileUsage above a minimal Win32 dialog");
  EXPECT_EQ(above.value, "3456 KB");
  EXPECT_EQ(above.ratio, "1.69");
  EXPECT_EQ(RowOf(kMeasured, "MivoRun.exe to its hidden window / minimal dialog program").value,
            "2.50x");
  const Cells cpu = RowOf(kMeasured, "MivoRun.exe under Wine: CPU time");
  EXPECT_EQ(cpu.value, "0.02 s");
  EXPECT_EQ(cpu.ratio, "0.20");
  EXPECT_EQ(RowOf(kMeasured, "MivoRun.exe under Wine: WM_TIMER messages per minute").value, "6.0");
}

TEST(BenchReportTest, AFigureThatIsNoNumberIsNotShownAsOne) {
  std::map<std::string, std::string> measured = kMeasured;
  measured["win_minimal_startup_ms"] = "0";
  measured["win_minimal_pagefile_kb"] = "n/a";
  measured["win_mivorun_proc_idle_cpu_s"] = "";
  measured["win_ini_ours_us_English"] = "12abc";
  EXPECT_EQ(RowOf(measured, "MivoRun.exe to its hidden window / minimal dialog program").value,
            "n/a (Windows build)");
  EXPECT_EQ(RowOf(measured, "MivoRun.exe: PagefileUsage above a minimal Win32 dialog").value,
            "n/a (Windows build)");
  EXPECT_EQ(RowOf(measured, "MivoRun.exe under Wine: CPU time").value, "n/a (Windows build)");
  EXPECT_EQ(RowOf(measured, "ours against GetPrivateProfileStringA, [English]").value,
            "n/a (Windows build)");
}

TEST(BenchReportTest, ReadsTheMeasuredFileAsKeyValueLines) {
  const std::string path = ::testing::TempDir() + "bench_report_measured.txt";
  {
    std::ofstream file(path);
    file << "machine: 2 cores\n"
         << "win_mivorun_startup_runs=1500 1600 1400\n"
         << "=no key\n"
         << "win_mivorun_pagefile_kb=7460\r\n"  // as a Windows program writes it
         << "win_minimal_pagefile_kb=3796\r\n";
  }
  const auto values = ReadMeasurements(path);
  std::remove(path.c_str());
  EXPECT_EQ(values.size(), 3u);
  EXPECT_EQ(values.at("win_mivorun_startup_runs"), "1500 1600 1400");
  EXPECT_EQ(values.at("win_mivorun_pagefile_kb"), "7460");
  EXPECT_EQ(RowOf(values, "MivoRun.exe: PagefileUsage above a minimal Win32 dialog").value,
            "3664 KB");
  EXPECT_TRUE(ReadMeasurements(path + ".missing").empty());
}

}  // namespace
}  // namespace mivo::bench
