// Reading the 18 language keys of the shipped lang.ini with our INI store: open, 18 lookups in
// one section, close, as a language change does.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/benches.h"
#include "bench/language_keys.h"
#include "config/ini_file.h"

namespace mivo::bench {

namespace {

void LanguageKeys(benchmark::State& state, const char* section) {
  const std::string path = std::string(MIVO_RES_DIR) + "/lang.ini";
  for (auto _ : state) {
    IniFile store;
    store.Open(path.c_str(), 1);
    for (const char* key : kLanguageKeys)
      benchmark::DoNotOptimize(store.GetValue(section, key, key));
    store.Close();
  }
}

}  // namespace

void RegisterIniBenches() {
  // English is the first section of the file, French the last.
  for (const char* section : {"English", "French"}) {
    benchmark::RegisterBenchmark((std::string("ini/lang.ini/18_keys/") + section).c_str(),
                                 [section](benchmark::State& s) { LanguageKeys(s, section); })
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace mivo::bench
