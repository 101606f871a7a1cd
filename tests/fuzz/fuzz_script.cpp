// The scenario script runner and the interactive handset's world scripts over any text: every
// input either runs to its end (exit status 0, nothing on the error stream) or stops with one
// line `error: line N: WHAT` naming a line of the input (exit status 2). A run may wait at most
// 60 s of virtual time in all, so that a single long wait does not stall the fuzzer.
//
// Input: a script; when its first line is `#!world` it is run as a world script (the runner
// starts the program at its end, and the session, here an empty one, takes over).
#include <cstdint>
#include <regex>
#include <sstream>
#include <string>

#include "sim/script_runner.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using mivo::fuzz::Check;
using mivo::fuzz::Fail;

constexpr std::int64_t kMaxVirtualMs = 60000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  std::istringstream in(script);
  std::ostringstream out, err;
  mivo::sim::RunnerOptions options;
  options.max_virtual_ms = kMaxVirtualMs;
  if (script.rfind("#!world", 0) == 0) options.session = [] {};
  mivo::sim::ScriptRunner runner(in, out, err, options);
  const int status = runner.Run();

  const std::string error = err.str();
  if (status == 0) {
    Check(error.empty(), "exit status 0 with an error: " + error);
    return 0;
  }
  Check(status == 2, "exit status " + std::to_string(status));
  static const std::regex kError("error: line ([0-9]+): [^\n]+\n");
  std::smatch match;
  if (!std::regex_match(error, match, kError)) Fail("malformed error: " + error);
  std::size_t lines = 1;
  for (char c : script) lines += c == '\n';
  const unsigned long line = std::stoul(match[1].str());
  Check(line >= 1 && line <= lines,
        "error names line " + match[1].str() + " of " + std::to_string(lines) + ": " + error);
  return 0;
}
