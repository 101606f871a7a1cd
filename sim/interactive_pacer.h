// When the interactive handset's terminal is painted and how long it may sleep. The terminal
// shows the handset (LCD rows, LEDs, rotation), the tray icon, the client, the key state, the
// message, the command line and the trace pane; it is painted again only when one of those
// (or the terminal's size) changed. Between paints the terminal loop sleeps in its key read
// until the next window timer or key release is due, so an idle handset costs next to nothing.
// Nothing here touches the terminal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/interactive_session.h"

namespace mivo::sim {

// Everything the terminal screen shows, as plain values.
struct ShownState {
  int lines = 0;  // the terminal's size
  int columns = 0;
  std::array<std::string, 4> rows;  // the LCD rows as the `lcd` observation prints them
  std::array<int, 4> leds{};        // main, hold, mute, voicemail
  bool rotated = false;
  bool tray_present = false;
  int tray_icon = 0;
  bool handset_connected = false;
  bool online = false;
  bool ringing = false;
  bool in_call = false;
  bool call_held = false;
  std::string number;
  std::optional<int> key_held;
  bool hold_armed = false;
  std::string message;
  bool command_open = false;
  std::string command_text;
  bool log_visible = false;
  std::vector<std::string> log_tail;  // the trace lines the pane can show at this size

  bool operator==(const ShownState&) const = default;
};

ShownState ShownOf(HandsetSession& session, const LogBuffer& log, int lines, int columns);

class ScreenPacer {
 public:
  // The longest sleep while idle: the simulated client's delayed answers (a call going in
  // progress, a voicemail ending) are not window timers, so the loop looks in now and then.
  static constexpr std::int64_t kIdleWaitMs = 1000;
  // The longest sleep for a while after a key or command, when such answers are likely due.
  static constexpr std::int64_t kBusyWaitMs = 40;
  // How long after a key or command the short sleeps go on: longer than the client's
  // slowest delayed answer (a voicemail plays 5 s).
  static constexpr std::int64_t kSettleMs = 6000;

  ScreenPacer(HandsetSession& session, const LogBuffer& log);

  // Whether the screen must be painted now (the first time, or something shown changed);
  // counts the paints.
  bool TakeRedraw(int lines, int columns);
  std::uint64_t redraws() const { return redraws_; }
  // The terminal's contents are lost (it was resized): the next TakeRedraw paints.
  void Invalidate() { shown_.reset(); }

  // A key stroke or command reached the session.
  void NoteInput();
  // How long (real ms) the loop may wait for a key before the clock must move on: until the
  // earliest window timer or tap release is due, and at most kIdleWaitMs (kBusyWaitMs within
  // kSettleMs of the last input). At least 1.
  std::int64_t WaitMs() const;

 private:
  HandsetSession& session_;
  const LogBuffer& log_;
  std::optional<ShownState> shown_;
  std::uint64_t redraws_ = 0;
  std::int64_t last_input_ms_ = 0;
};

}  // namespace mivo::sim
