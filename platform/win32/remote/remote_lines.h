// The lines mivorun-remote runs: each argument is one scenario line, checked with the script
// parser before anything is sent, and sorted by who runs it: a stand-in library inside the
// program (handset or client), a message posted to the controller's window, or the remote
// itself. Portable C++ (no system headers), so that the checks are tested on any platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/script_parser.h"

namespace mivo::remote {

// The longest line the remote accepts (the channel's bound).
inline constexpr std::size_t kMaxRemoteLine = 1024;
// The longest `wait` or `press` hold: an hour of real time.
inline constexpr std::int64_t kMaxRemoteWaitMs = 3600 * 1000;

enum class Route {
  kNothing,        // a blank line or a comment
  kHandset,        // sent to the handset stand-in (events, keys, world lines)
  kHandsetOutput,  // sent to the handset stand-in, which answers with lines (lcd, leds)
  kClient,         // sent to the client stand-in (VoIP events, world lines)
  kPress,          // `key_line` to the handset stand-in, held `ms`, then the release
  kPost,           // `message`, `wparam`, `lparam` posted to the controller's window
  kMenuClose,      // the close command posted; waits for the program's end
  kTrayMenu,       // the tray's right click posted; the popup menu is dismissed
  kWindow,         // the `window` observation
  kDialog,         // the `dialog` observation
  kDialogOk,       // the default button of the open modal window pressed
  kEcho,           // `text` printed
  kWait,           // `ms` of real time
};

struct RemoteLine {
  Route route = Route::kNothing;
  std::string text;      // the line as a stand-in receives it; kEcho: the text to print
  std::string key_line;  // kPress: the press as a `key` line
  std::int64_t ms = 0;   // kPress, kWait
  std::uint32_t message = 0;
  std::uint64_t wparam = 0;
  std::int64_t lparam = 0;
  // Whether the line needs the program (its windows) to run.
  bool NeedsProgram() const {
    return route != Route::kNothing && route != Route::kEcho && route != Route::kWait &&
           route != Route::kWindow;
  }
};

// Checks one line and says how it runs. Throws sim::ScriptError (line 0) when the line cannot
// be understood, is longer than kMaxRemoteLine, holds a line break, or is a script command
// the remote does not offer.
RemoteLine ParseRemoteLine(const std::string& line);

}  // namespace mivo::remote
