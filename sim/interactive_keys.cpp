// The interactive handset's keyboard map and the key presser.
#include "sim/interactive_keys.h"

#include "core/constants.h"

namespace mivo::sim {

namespace {

KeyAction Handset(int code) {
  return KeyAction{KeyAction::Kind::kHandsetKey, code};
}

KeyAction Do(KeyAction::Kind kind) {
  return KeyAction{kind, 0};
}

std::optional<KeyAction> ActionOfChar(char ch) {
  if (ch >= '1' && ch <= '9') return Handset(KEY_1 + (ch - '1'));
  switch (ch) {
    case '0':
      return Handset(KEY_0);
    case '*':
      return Handset(KEY_STAR);
    case '#':
      return Handset(KEY_HASH);
    case 's':
    case 'S':
      return Handset(KEY_SKYPE);
    case 'e':
    case 'E':
      return Handset(KEY_END_CALL);
    case 'h':
    case 'H':
      return Handset(KEY_HOLD);
    case 'm':
    case 'M':
      return Handset(KEY_MUTE);
    case 'v':
    case 'V':
      return Handset(KEY_VOICE_MAIL);
    case 'r':
    case 'R':
      return Handset(KEY_RECONNECT);
    case '+':
    case '=':
      return Handset(KEY_VOL_UP);
    case '-':
      return Handset(KEY_VOL_DOWN);
    case 'c':
    case 'C':
      return Handset(KEY_CALL);
    case 'x':
    case 'X':
      return Handset(KEY_CANCEL);
    case ' ':
      return Do(KeyAction::Kind::kToggleHold);
    case ':':
      return Do(KeyAction::Kind::kCommandLine);
    case 'q':
    case 'Q':
      return Do(KeyAction::Kind::kQuit);
    case 't':
    case 'T':
      return Do(KeyAction::Kind::kToggleLog);
    default:
      return std::nullopt;
  }
}

}  // namespace

KeyAction ActionOfKey(const TermKey& key) {
  switch (key.kind) {
    case TermKey::Kind::kChar:
      return ActionOfChar(key.ch).value_or(KeyAction{});
    case TermKey::Kind::kUp:
      return Handset(KEY_UP);
    case TermKey::Kind::kDown:
      return Handset(KEY_DOWN);
    case TermKey::Kind::kRight:
      return Handset(KEY_VOL_UP);
    case TermKey::Kind::kLeft:
      return Handset(KEY_VOL_DOWN);
    case TermKey::Kind::kEnter:
      return Handset(KEY_CALL);
    case TermKey::Kind::kBackspace:
    case TermKey::Kind::kEscape:
      return Handset(KEY_CANCEL);
    case TermKey::Kind::kTab:
      return Do(KeyAction::Kind::kToggleHold);
    case TermKey::Kind::kInterrupt:
      return Do(KeyAction::Kind::kQuit);
    case TermKey::Kind::kResize:
    case TermKey::Kind::kOther:
      break;
  }
  return KeyAction{};
}

const char* KeyboardMapText() {
  return "  0-9 * #            the number keys\n"
         "  Up / Down          UP / DOWN\n"
         "  Enter (or c)       CALL\n"
         "  Backspace, Esc (x) CANCEL\n"
         "  s                  SKYPE\n"
         "  e                  END CALL\n"
         "  h                  HOLD\n"
         "  m                  MUTE\n"
         "  v                  VOICE MAIL\n"
         "  + (=, Right)       VOL+\n"
         "  - (Left)           VOL-\n"
         "  r                  RECONNECT\n"
         "  Space or Tab       hold the next key down until the next key stroke (long\n"
         "                     presses: 0 becomes +, CANCEL goes home; auto-repeat)\n"
         "  :                  command line: an event or world command of the scenario\n"
         "                     scripts, e.g. :ring \"Alice\"  :in-progress 12  :finished\n"
         "                     :language 7  :handset remove  (Enter runs, Esc leaves)\n"
         "  t                  show or hide the trace pane\n"
         "  q or Ctrl-C        close the program (the tray menu's Close)\n";
}

const char* KeyHintText() {
  return "0-9*# keys  Enter CALL  Bksp/Esc CANCEL  Up/Dn  s SKYPE  e END  h HOLD  m MUTE  "
         "v VMAIL  +/- VOL  r RECONN  Space hold  : cmd  t trace  q quit";
}

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
