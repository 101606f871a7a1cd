// mivo-soak: a long use of the handset in virtual time, with its numbers.
//   mivo-soak [--hours N] [--seed S] [--res DIR] [--quiet]
// Exit status 0 when every check held, 1 when one failed, 2 on a bad argument.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tests/soak/soak_driver.h"

int main(int argc, char** argv) {
  mivo::soak::Options options;
  options.hours = 7 * 24;
  options.res_dir = MIVO_RES_DIR;
  options.progress = &std::cout;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--hours" && has_value) {
      options.hours = std::atoi(argv[++i]);
    } else if (arg == "--seed" && has_value) {
      options.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--res" && has_value) {
      options.res_dir = argv[++i];
    } else if (arg == "--quiet") {
      options.progress = nullptr;
    } else {
      std::cerr << "usage: mivo-soak [--hours N] [--seed S] [--res DIR] [--quiet]\n";
      return 2;
    }
  }
  if (options.hours < 1 || options.hours > 24 * 366) {
    std::cerr << "mivo-soak: --hours must be 1 to " << 24 * 366 << "\n";
    return 2;
  }
  const mivo::soak::Report report = mivo::soak::Run(options);
#if defined(__SANITIZE_ADDRESS__)
  const bool check_memory = false;  // the sanitizer's quarantine holds freed memory on purpose
#else
  const bool check_memory = true;
#endif
  mivo::soak::Print(report, std::cout);
  const std::string shape =
      report.failure.empty() ? mivo::soak::CheckShape(report, check_memory) : report.failure;
  std::cout << (shape.empty() ? "all checks held" : "FAILED: " + shape) << std::endl;
  return shape.empty() ? 0 : 1;
}
