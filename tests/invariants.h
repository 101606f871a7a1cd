// Checks shared by the storm tests and the fuzz targets: what must hold of the controller,
// the simulated handset and the timers after any step, whatever the input was.
#pragma once

#include <string>

#include "app/controller_dialog.h"
#include "platform/sim/sim_platform.h"

namespace mivo::test {

// The first broken invariant of the controller's fields, texts and LEDs and of the running
// timers, or an empty text.
std::string CheckInvariants(sim::SimPlatform& sim, const ControllerDialog& c);

// The first running timer whose id is not one of the controller's, or an empty text.
std::string CheckTimers(const sim::EventLoop& loop);

// The first LCD call in `trace` (trace lines) that addresses a row other than 0..3, or an
// empty text.
std::string CheckLcdRows(const std::string& trace);

}  // namespace mivo::test
