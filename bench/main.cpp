// mivorun-bench: the controller's benchmarks, then the table of metrics and goals.
//
//   mivorun-bench [--table] [--measured=FILE] [Google Benchmark flags]
//
// --table prints the table after the benchmarks; --measured names a file of key=value lines
// with what tools/bench measured outside (the program idle in a terminal).
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "bench/benches.h"
#include "bench/report.h"

int main(int argc, char** argv) {
  bool table = false;
  std::string measured;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && std::strcmp(argv[i], "--table") == 0) {
      table = true;
    } else if (i > 0 && std::strncmp(argv[i], "--measured=", 11) == 0) {
      measured = argv[i] + 11;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  mivo::bench::RegisterControllerBenches();
  mivo::bench::RegisterIniBenches();
  mivo::bench::CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  if (table) {
    std::cout << '\n';
    mivo::bench::PrintTable(std::cout, reporter.results(), mivo::bench::ReadMeasurements(measured));
  }
  return 0;
}
