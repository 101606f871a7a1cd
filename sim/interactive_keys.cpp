// The handset key names and the key presser.
#include "sim/interactive_keys.h"

#include "core/constants.h"

namespace mivo::sim {

std::string HandsetKeyName(int code) {
  if (code >= KEY_1 && code <= KEY_9) return std::string(1, static_cast<char>('1' + code - KEY_1));
  switch (code) {
    case KEY_RELEASE:
      return "RELEASE";
    case KEY_VOL_UP:
      return "VOL+";
    case KEY_VOL_DOWN:
      return "VOL-";
    case KEY_SKYPE:
      return "SKYPE";
    case KEY_UP:
      return "UP";
    case KEY_VOICE_MAIL:
      return "VOICEMAIL";
    case KEY_HOLD:
      return "HOLD";
    case KEY_DOWN:
      return "DOWN";
    case KEY_RECONNECT:
      return "RECONNECT";
    case KEY_CALL:
      return "CALL";
    case KEY_CANCEL:
      return "CANCEL";
    case KEY_END_CALL:
      return "END";
    case KEY_STAR:
      return "*";
    case KEY_0:
      return "0";
    case KEY_HASH:
      return "#";
    case KEY_MUTE:
      return "MUTE";
    default:
      return "code " + std::to_string(code);
  }
}

// ---- Key presser ----

void KeyPresser::Report(int code) {
  loop_.Post(MSG_HANDSET_KEY, 1, static_cast<LPARAM>(code));
  loop_.Pump();
}

void KeyPresser::ReleaseNow() {
  if (!down_) return;
  down_ = false;
  holding_ = false;
  ++press_id_;  // the pending release of a tap has nothing left to do
  Report(KEY_RELEASE);
}

void KeyPresser::Press(int code) {
  ReleaseNow();
  down_ = true;
  down_code_ = code;
  const std::uint64_t id = ++press_id_;
  Report(code);
  if (hold_armed_) {
    hold_armed_ = false;
    holding_ = true;
    return;
  }
  release_due_ms_ = loop_.now_ms() + kTapMs;
  loop_.Schedule(kTapMs, [weak = std::weak_ptr<KeyPresser*>(self_), id] {
    const auto self = weak.lock();
    if (!self) return;
    KeyPresser& p = **self;
    if (p.down_ && p.press_id_ == id) {
      p.down_ = false;
      p.loop_.Post(MSG_HANDSET_KEY, 1, static_cast<LPARAM>(KEY_RELEASE));
    }
  });
}

void KeyPresser::ToggleHold() {
  if (holding_ || hold_armed_) {
    hold_armed_ = false;
    ReleaseNow();
    return;
  }
  hold_armed_ = true;
}

std::optional<int> KeyPresser::held() const {
  if (down_ && holding_) return down_code_;
  return std::nullopt;
}

std::optional<std::int64_t> KeyPresser::release_due_ms() const {
  if (down_ && !holding_) return release_due_ms_;
  return std::nullopt;
}

}  // namespace mivo::sim
