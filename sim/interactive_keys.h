// The keyboard of the interactive handset (its map is platform/sim/keyboard_map.h): the key
// names, and the presser that turns a terminal's key strokes (which have no releases) into the
// press and release reports of the handset.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/sim/event_loop.h"
#include "platform/sim/keyboard_map.h"

namespace mivo::sim {

// The handset key's name as the scripts write it (SKYPE, VOL+, 5, ...), or "code N".
std::string HandsetKeyName(int code);

// Presses handset keys on the simulated handset. A terminal reports no releases, so every
// press is followed by its release `kTapMs` of virtual time later; a held key stays down until
// the next key stroke. Each press or release is the handset's key report (MSG_HANDSET_KEY,
// wParam 1, lParam the key code), posted and pumped as the handset library would deliver it.
class KeyPresser {
 public:
  static constexpr std::uint32_t kTapMs = 150;

  explicit KeyPresser(EventLoop& loop) : loop_(loop) {}
  KeyPresser(const KeyPresser&) = delete;
  KeyPresser& operator=(const KeyPresser&) = delete;

  // Presses `code`; a key still down is released first. With the hold toggle armed, the key
  // stays down (the toggle is used up).
  void Press(int code);
  // Arms the hold toggle, or, when a key is held or the toggle is armed, releases and disarms.
  void ToggleHold();
  // Releases the key that is down, if any.
  void ReleaseNow();

  bool hold_armed() const { return hold_armed_; }
  // The key held down by the hold toggle (not a short tap), or nothing.
  std::optional<int> held() const;
  // When the tap that is down is released (virtual time), or nothing when no tap is down.
  std::optional<std::int64_t> release_due_ms() const;

 private:
  void Report(int code);

  EventLoop& loop_;
  bool hold_armed_ = false;
  bool down_ = false;
  bool holding_ = false;  // the key down was pressed with the toggle
  int down_code_ = 0;
  std::int64_t release_due_ms_ = 0;  // of the tap that is down
  // Tags each press, so that the delayed release of an earlier tap cannot release a later key.
  std::uint64_t press_id_ = 0;
  // Pending releases hold a weak reference: a presser gone first leaves them nothing to do.
  std::shared_ptr<KeyPresser*> self_ = std::make_shared<KeyPresser*>(this);
};

}  // namespace mivo::sim
