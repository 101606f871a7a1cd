// The stand-ins' world: the file that MIVORUN_WORLD names, or world.scn beside the library.
// A line that cannot be understood is reported once per process (both stand-ins read the
// same file): a message box captioned "MivoRun.exe" naming the file, the line and what is
// wrong, and, under MIVORUN_TRACE, the line `error: FILE: line N: WHAT` in the trace file.
// The world keeps the lines before it.
#pragma once

#include <string>

#include "platform/sim/sim_world.h"
#include "platform/win32/windows_api.h"

namespace mivo::standins {

// The path of the world file for the library `module`.
std::string WorldPath(HMODULE module);

// Reads the world for the library `module` into `world`. A missing world.scn beside the
// library leaves the defaults; a missing file named by MIVORUN_WORLD is an error.
void LoadWorld(HMODULE module, sim::SimWorld& world);

// Reports a world error as described above, unless this process has already done so.
void ReportWorldError(const std::string& file, const std::string& message);

}  // namespace mivo::standins
