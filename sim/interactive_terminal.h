// The terminal side of the interactive handset: reads the keyboard, advances the virtual clock
// with the real one, and paints the handset (LCD, LEDs, tray icon, hints, trace pane).
#pragma once

#include <string>

#include "sim/interactive_session.h"

namespace mivo::sim {

// Runs the terminal loop until the session's program has ended. Returns false, with `error`
// set, when the terminal cannot be used; the terminal is restored in every case.
bool RunTerminal(HandsetSession& session, const LogBuffer& log, std::string* error);

}  // namespace mivo::sim
