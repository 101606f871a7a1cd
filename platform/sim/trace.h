// The trace: every call that the controller makes into the handset library, the VoIP bridge
// and the platform is written as it happens, one line each, in the fixed format of the
// scenario scripts. Observations and `exit` go to the same stream. Each line is flushed as it
// is written, so that a run that dies keeps every line printed before.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <type_traits>

#include "platform/win_types.h"

namespace mivo::sim {

class Trace {
 public:
  explicit Trace(std::ostream& out) : out_(out) {}

  // Writes one trace line (a call), unless tracing is off.
  void Call(const std::string& line);
  // Writes the line that `make_line` returns, unless tracing is off: then no line is made, so
  // a trace that is off costs nothing.
  template <typename MakeLine>
  requires std::is_invocable_r_v<std::string, MakeLine&>
  void Call(MakeLine&& make_line) {
    if (enabled_) Call(static_cast<const std::string&>(make_line()));
  }
  // Writes one line of an observation; observations are written whether tracing is on or not.
  void Output(const std::string& line);

  bool enabled() const { return enabled_; }
  void set_enabled(bool on) { enabled_ = on; }

  // A text as the trace writes it: in double quotes, with \" \\ and \xHH (upper-case hex) for
  // every byte below 0x20, 0x7F and every byte from 0x80 up. Reads at most `max` bytes (an
  // unterminated field stops there). A null text is written as "".
  static std::string Quote(const char* text, std::size_t max = static_cast<std::size_t>(-1));
  static std::string Quote(const std::string& text);
  // The same escaping without the quotes.
  static std::string Escape(const std::string& text);
  // A window handle as the trace writes it: `hwnd` for the controller's window, `0` for
  // none, any other window in hex.
  static std::string Window(HWND window);

 private:
  std::ostream& out_;
  bool enabled_ = true;
};

}  // namespace mivo::sim
