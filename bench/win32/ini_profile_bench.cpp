// mivorun-ini-bench.exe: reading the 18 language keys of lang.ini with our INI store (open,
// 18 lookups in one section, close, as a language change does) against 18
// GetPrivateProfileStringA calls on the same file, one after the other in one process.
//
//   mivorun-ini-bench.exe [--file PATH] [--iterations N] [--rounds N] [--section NAME]...
//                         [--check NAME]...
//
// Each round times N readings of each kind with the performance counter; the best round
// counts. Before timing, both ways must give the same 18 texts for every section timed (ours
// converted from UTF-8 to the ANSI code page, as the profile functions convert a UTF-8 file);
// otherwise the comparison means nothing and the program ends with status 1. Sections named
// with --check are compared so but not timed.
//
// Output, one key=value line each (the format tools/bench reads), per section S:
//   win_ini_ours_us_S, win_ini_profile_us_S: microseconds per reading of the 18 keys
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/language_keys.h"
#include "config/ini_file.h"

namespace {

using mivo::bench::kLanguageKeys;
constexpr const char* kMissing = "\x01missing";
// The longest text a slot of the controller holds is far shorter.
constexpr DWORD kValueSize = 256;

struct Options {
  std::string file = "lang.ini";
  long iterations = 100;
  long rounds = 5;
  std::vector<std::string> sections;
  std::vector<std::string> checked;
};

long Count(const char* text, long low, long high) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < low || value > high) return -1;
  return value;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (value == nullptr) {
      std::fprintf(stderr, "mivorun-ini-bench: %s needs a value\n", arg.c_str());
      return false;
    }
    ++i;
    if (arg == "--file") {
      options->file = value;
    } else if (arg == "--iterations") {
      options->iterations = Count(value, 1, 1000000);
    } else if (arg == "--rounds") {
      options->rounds = Count(value, 1, 1000);
    } else if ((arg == "--section" || arg == "--check") && std::strlen(value) < 64) {
      (arg == "--section" ? options->sections : options->checked).push_back(value);
    } else {
      std::fprintf(stderr, "mivorun-ini-bench: cannot use %s %s\n", arg.c_str(), value);
      return false;
    }
    if (options->iterations < 0 || options->rounds < 0) {
      std::fprintf(stderr, "mivorun-ini-bench: %s takes a count, not %s\n", arg.c_str(), value);
      return false;
    }
  }
  if (options->sections.empty() && options->checked.empty()) {
    options->sections = {"English", "French"};
  }
  return true;
}

// Our store, as the controller reads the language texts.
void ReadOurs(const char* path, const char* section, std::vector<std::string>* texts) {
  mivo::IniFile store;
  store.Open(path, 1);
  for (std::size_t i = 0; i < std::size(kLanguageKeys); ++i) {
    const char* value = store.GetValue(section, kLanguageKeys[i], kMissing);
    if (texts != nullptr) (*texts)[i] = value;
  }
  store.Close();
}

void ReadProfile(const char* path, const char* section, std::vector<std::string>* texts) {
  char value[kValueSize];
  for (std::size_t i = 0; i < std::size(kLanguageKeys); ++i) {
    ::GetPrivateProfileStringA(section, kLanguageKeys[i], kMissing, value, kValueSize, path);
    if (texts != nullptr) (*texts)[i] = value;
  }
}

// A UTF-8 text in the ANSI code page, as the profile functions give it.
std::string ToAnsi(const std::string& utf8) {
  const int wide_size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  if (wide_size <= 0) return utf8;
  std::wstring wide(wide_size, L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), wide_size);
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return utf8;
  std::string ansi(size, '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), size, nullptr, nullptr);
  ansi.resize(size - 1);
  return ansi;
}

// Both ways read the same texts, every key present.
bool SameTexts(const char* path, const char* section) {
  std::vector<std::string> ours(std::size(kLanguageKeys)), profile(std::size(kLanguageKeys));
  ReadOurs(path, section, &ours);
  ReadProfile(path, section, &profile);
  bool same = true;
  for (std::size_t i = 0; i < std::size(kLanguageKeys); ++i) {
    if (ours[i] == kMissing || profile[i] == kMissing || ToAnsi(ours[i]) != profile[i]) {
      std::fprintf(stderr, "mivorun-ini-bench: [%s] %s: ours \"%s\", the profile's \"%s\"\n",
                   section, kLanguageKeys[i], ours[i].c_str(), profile[i].c_str());
      same = false;
    }
  }
  return same;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency;
}

// Microseconds per reading: the best of the rounds.
template <typename Read>
double TimeReadings(const Options& options, Read read) {
  double best = -1;
  for (long round = 0; round < options.rounds; ++round) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (long i = 0; i < options.iterations; ++i) read();
    ::QueryPerformanceCounter(&end);
    const double micros = Seconds(start, end) * 1e6 / static_cast<double>(options.iterations);
    if (best < 0 || micros < best) best = micros;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return 2;
  // The profile functions look a bare file name up in the Windows folder: a full path reads
  // the same file both ways.
  char path[MAX_PATH];
  const DWORD length = ::GetFullPathNameA(options.file.c_str(), MAX_PATH, path, nullptr);
  if (length == 0 || length >= MAX_PATH || ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "mivorun-ini-bench: no file %s\n", options.file.c_str());
    return 2;
  }

  bool same = true;
  for (const std::string& section : options.sections) same &= SameTexts(path, section.c_str());
  for (const std::string& section : options.checked) same &= SameTexts(path, section.c_str());
  if (!same) return 1;

  for (const std::string& section : options.sections) {
    const char* name = section.c_str();
    const double ours = TimeReadings(options, [&] { ReadOurs(path, name, nullptr); });
    const double profile = TimeReadings(options, [&] { ReadProfile(path, name, nullptr); });
    std::printf("win_ini_ours_us_%s=%.2f\n", name, ours);
    std::printf("win_ini_profile_us_%s=%.2f\n", name, profile);
    std::fprintf(stderr, "[%s] ours %.2f us, GetPrivateProfileStringA %.2f us: %.1fx\n", name, ours,
                 profile, profile / ours);
  }
  return 0;
}
