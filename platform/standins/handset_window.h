// The virtual handset's window, "Tr520 virtual handset": the handset's LCD and LEDs as the
// model holds them, a keypad that sends a key press when a mouse button goes down on a key
// and the release when it comes up (or leaves the key), the PC keyboard map of the terminal
// handset while the window has the focus, and the far-end panel. It repaints when what it
// shows changed, never on a timer.
#pragma once

#include <array>

#include "platform/sim/device_port.h"
#include "platform/sim/sim_handset.h"
#include "platform/standins/far_end_panel.h"
#include "platform/win32/windows_api.h"

namespace mivo::standins {

class HandsetWindow {
 public:
  // The far-end panel's lines go to `send_line` (normally the client stand-in).
  HandsetWindow(HINSTANCE module, sim::SimHandset& model, sim::DevicePort& port,
                sim::SimWorld& world, LineSender send_line = SendToClient);
  ~HandsetWindow();
  HandsetWindow(const HandsetWindow&) = delete;
  HandsetWindow& operator=(const HandsetWindow&) = delete;

  // Opens the window (once), the keys going to `controller`.
  void Show(mivo::HWND controller);
  // Repaints what changed in the model.
  void Refresh();
  // Closes the window; keys go nowhere afterwards.
  void Close();

  // The window, or null when it is not open.
  ::HWND window() const { return window_; }
  // Where the LCD's glass is in the window's client area.
  static RECT GlassArea();
  // Where a keypad key is in the client area; false when no key has that label.
  static bool KeyArea(const char* label, RECT* area);

 private:
  enum class Source { kNone, kMouse, kKeyboard };

  static ::LRESULT CALLBACK Proc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam);
  ::LRESULT Handle(::UINT message, ::WPARAM wparam, ::LPARAM lparam);
  void Paint(HDC dc, const RECT& area);
  // A key goes down (its press report) or comes up (the release report).
  void Press(int pad_index, int code, Source source, unsigned scan);
  void Release();
  // A key of the PC keyboard went down: the handset key it presses, if any.
  void KeyboardDown(int code, ::LPARAM lparam);
  void Unplug();
  void Plug();
  void InvalidateDisplay();
  void InvalidateKeypad();

  HINSTANCE module_;
  sim::SimHandset& model_;
  sim::DevicePort& port_;
  sim::SimWorld& world_;
  FarEndPanel panel_;
  ::HWND window_ = nullptr;
  mivo::HWND controller_ = nullptr;

  // The key held down: its keypad button (or -1), its code, what holds it, and for the
  // keyboard the scan code whose release lets it go.
  int down_pad_ = -1;
  int down_code_ = -1;
  Source down_source_ = Source::kNone;
  unsigned down_scan_ = 0;

  // What the window shows, to repaint only on a change.
  std::array<sim::LcdRow, 4> shown_rows_;
  sim::Leds shown_leds_;
  bool shown_rotated_ = false;
  bool shown_plugged_ = false;
};

}  // namespace mivo::standins
