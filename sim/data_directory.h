// Where mivorun-sim finds its shipped files (lang.ini, setup.ini, demo_world.scn) when the
// command line names no resource directory.
#pragma once

#include <string>

namespace mivo::sim {

// The running program's own path, or "" when the system does not tell it.
std::string ExecutablePath();

// The data directory `relative` to the folder of `executable` when it holds lang.ini (an
// installed program, wherever its installation tree was put), otherwise `fallback` (the
// source tree's res/ for a program run from its build folder).
std::string FindDataDirectory(const std::string& executable, const std::string& relative,
                              const std::string& fallback);

}  // namespace mivo::sim
