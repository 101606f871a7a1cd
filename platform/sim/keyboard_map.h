// The PC keyboard of the handset's two renderers (the terminal handset and the virtual
// handset's window): which key of the PC presses which handset key. One map for both.
#pragma once

#include <optional>

#include "core/constants.h"

namespace mivo::sim {

// A key of the PC keyboard, already decoded from the codes of the terminal library or of the
// window system.
struct TermKey {
  enum class Kind {
    kChar,  // a printable character (`ch`)
    kUp,
    kDown,
    kLeft,
    kRight,
    kEnter,
    kBackspace,
    kEscape,
    kTab,
    kInterrupt,  // Ctrl-C
    kResize,
    kOther,
  };
  Kind kind = Kind::kOther;
  char ch = 0;
};

// What a key does: press a handset key, or one of the terminal handset's own commands (the
// window of the virtual handset uses only the handset keys).
struct KeyAction {
  enum class Kind {
    kNone,
    kHandsetKey,   // press handset key `code`
    kToggleHold,   // the next handset key stays held (again: release it)
    kCommandLine,  // open the `:` command line
    kQuit,         // the Close command
    kToggleLog,    // show or hide the trace pane
  };
  Kind kind = Kind::kNone;
  int code = 0;
};

namespace keymap_detail {

inline KeyAction Handset(int code) {
  return KeyAction{KeyAction::Kind::kHandsetKey, code};
}

inline KeyAction Do(KeyAction::Kind kind) {
  return KeyAction{kind, 0};
}

inline std::optional<KeyAction> ActionOfChar(char ch) {
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

}  // namespace keymap_detail

// What `key` does.
inline KeyAction ActionOfKey(const TermKey& key) {
  switch (key.kind) {
    case TermKey::Kind::kChar:
      return keymap_detail::ActionOfChar(key.ch).value_or(KeyAction{});
    case TermKey::Kind::kUp:
      return keymap_detail::Handset(KEY_UP);
    case TermKey::Kind::kDown:
      return keymap_detail::Handset(KEY_DOWN);
    case TermKey::Kind::kRight:
      return keymap_detail::Handset(KEY_VOL_UP);
    case TermKey::Kind::kLeft:
      return keymap_detail::Handset(KEY_VOL_DOWN);
    case TermKey::Kind::kEnter:
      return keymap_detail::Handset(KEY_CALL);
    case TermKey::Kind::kBackspace:
    case TermKey::Kind::kEscape:
      return keymap_detail::Handset(KEY_CANCEL);
    case TermKey::Kind::kTab:
      return keymap_detail::Do(KeyAction::Kind::kToggleHold);
    case TermKey::Kind::kInterrupt:
      return keymap_detail::Do(KeyAction::Kind::kQuit);
    case TermKey::Kind::kResize:
    case TermKey::Kind::kOther:
      break;
  }
  return KeyAction{};
}

inline const char* KeyboardMapText() {
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

inline const char* KeyHintText() {
  return "0-9*# keys  Enter CALL  Bksp/Esc CANCEL  Up/Dn  s SKYPE  e END  h HOLD  m MUTE  "
         "v VMAIL  +/- VOL  r RECONN  Space hold  : cmd  t trace  q quit";
}

}  // namespace mivo::sim
