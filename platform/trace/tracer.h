// What the tracing decorators share: the sink, whether tracing is on, and which window is the
// controller's (written `hwnd`). A trace that is off makes no line: the decorators hand over
// a line maker, which is not called then.
#pragma once

#include <string>
#include <type_traits>

#include "platform/trace/trace_sink.h"
#include "platform/win_types.h"

namespace mivo {
class Dialog;
}

namespace mivo::trace {

class Tracer {
 public:
  explicit Tracer(TraceSink& sink) : sink_(sink) {}
  Tracer(const Tracer&) = delete;
  Tracer& operator=(const Tracer&) = delete;

  // Writes the line that `make_line` returns, unless tracing is off.
  template <typename MakeLine>
  requires std::is_invocable_r_v<std::string, MakeLine&>
  void Call(MakeLine&& make_line) {
    if (enabled_) sink_.WriteLine(make_line());
  }
  // Writes a fixed line, unless tracing is off.
  void Call(const char* line) {
    if (enabled_) sink_.WriteLine(line);
  }
  // A line that is not a trace line (the scripts' observations, `exit`): written whether
  // tracing is on or not.
  void Output(const std::string& line) { sink_.WriteLine(line); }

  bool enabled() const { return enabled_; }
  void set_enabled(bool on) { enabled_ = on; }

  // The controller's window, when the platform knows it before the controller runs.
  void set_main_window(HWND window) { main_window_ = window; }
  // The controller's dialog while it runs modally: its window is the controller's window from
  // the moment the platform creates it (before WM_INITDIALOG). Null when it is over; the
  // window it had stays the controller's.
  void set_main_dialog(const Dialog* dialog);
  bool has_main_dialog() const { return main_dialog_ != nullptr; }
  HWND main_window() const;
  // `window` as the trace writes it: `hwnd`, `0`, or its value in hex.
  std::string Window(HWND window) const;

 private:
  TraceSink& sink_;
  bool enabled_ = true;
  // The last window the controller's dialog was seen with (the platform may clear the
  // dialog's handle as its window goes).
  mutable HWND main_window_ = nullptr;
  const Dialog* main_dialog_ = nullptr;
};

}  // namespace mivo::trace
