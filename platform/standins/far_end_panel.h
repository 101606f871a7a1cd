// The far-end panel of the virtual handset's window: a person plays the far side of the VoIP
// client (a call coming in from a chosen contact, the far party answering or hanging up, a
// voicemail arriving, a missed call, the client going off line and on line, the client's
// language) and unplugs and plugs in the handset. Each far-end action is one or more script
// lines handed to the client stand-in, as mivorun-remote would send them.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

#include "platform/sim/sim_world.h"
#include "platform/win32/windows_api.h"

namespace mivo::standins {

// Hands one script line to the client; false with `error` set when it was not run.
using LineSender = std::function<bool(const std::string& line, std::string* error)>;

// Sends through the stand-ins' channel to the client stand-in of this process.
bool SendToClient(const std::string& line, std::string* error);

inline constexpr int kPanelWidth = 176;

class FarEndPanel {
 public:
  // `world` gives the contacts and the counts the client starts with.
  FarEndPanel(const sim::SimWorld& world, LineSender send, std::function<void()> unplug,
              std::function<void()> plug);

  // Makes the controls in `parent` (a window of `module`), in a column at (left, top).
  void Create(HINSTANCE module, ::HWND parent, int left, int top);
  // A WM_COMMAND of the parent; true when it was one of the panel's.
  bool OnCommand(WPARAM wparam);
  // The frames around the panel's two groups, with their titles.
  void PaintFrames(HDC dc) const;
  // Shows a short line of news under the controls.
  void SetStatus(const std::string& text);

  // The control ids.
  enum : int {
    kContactBox = 3001,
    kRing,
    kAnswer,
    kHangUp,
    kVoicemail,
    kMissed,
    kOffLine,
    kOnLine,
    kLanguageBox,
    kUnplug,
    kPlug,
    kStatus,
  };

 private:
  // The contact chosen (or typed): its handle and name.
  void Caller(std::string* handle, std::string* name) const;
  // Sends the lines in order, stopping at the first that is not run; true when all ran.
  bool Send(std::initializer_list<std::string> lines);
  std::string Now() const;

  const sim::SimWorld& world_;
  LineSender send_;
  std::function<void()> unplug_, plug_;
  ::HWND parent_ = nullptr;
  RECT frames_[2] = {};
  int next_call_ = 900;  // ids of the calls and records the panel makes up
  int missed_ = 0, unplayed_ = 0;
};

}  // namespace mivo::standins
