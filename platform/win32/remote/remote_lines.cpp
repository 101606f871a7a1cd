#include "platform/win32/remote/remote_lines.h"

#include <limits>
#include <map>
#include <vector>

#include "core/constants.h"
#include "platform/framework.h"
#include "platform/sim/sim_world.h"
#include "platform/sim/world_script.h"
#include "platform/trace/trace_text.h"
#include "platform/win_types.h"

namespace mivo::remote {

namespace {

using sim::Number;
using sim::Option;
using sim::Positional;
using sim::ScriptCommand;
using sim::ScriptError;
using sim::Word;

constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
// The icon identifier the controller adds its tray icon under; the shell calls back with it.
constexpr std::uint64_t kTrayIconId = 1;

[[noreturn]] void Usage(const ScriptCommand& c) {
  throw ScriptError(std::string("usage: ") + c.usage);
}

// One of the words `choices` as the only argument, or the usage error.
const std::string& OneOf(const ScriptCommand& c, std::initializer_list<const char*> choices) {
  const auto words = Positional(c, 1, 1);
  for (const char* choice : choices) {
    if (!words[0]->quoted && words[0]->text == choice) return words[0]->text;
  }
  Usage(c);
}

int KeyCode(const ScriptCommand& c, const Word& word) {
  if (word.is_option) {
    if (word.name != "code") {
      throw ScriptError("unknown option " + word.name + "= (usage: " + c.usage + ")");
    }
    return static_cast<int>(sim::ParseInteger(word.value, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max(), "key code"));
  }
  const std::optional<int> code = sim::KeyCodeOfName(word.text);
  if (!code) throw ScriptError("unknown key " + trace::Quote(word.text));
  return *code;
}

RemoteLine Sent(Route route, const std::string& line) {
  RemoteLine result;
  result.route = route;
  result.text = line;
  return result;
}

RemoteLine Posted(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  RemoteLine result;
  result.route = Route::kPost;
  result.message = message;
  result.wparam = wparam;
  result.lparam = lparam;
  return result;
}

// A world line, checked against a world of its own and then sent as written.
RemoteLine World(const ScriptCommand& c, Route route, const std::string& line) {
  sim::SimWorld scratch;
  sim::ApplyWorldCommand(c, scratch);
  return Sent(route, line);
}

RemoteLine Handset(const ScriptCommand& c, const std::string& line) {
  const std::string& what = OneOf(c, {"plugged", "arrive", "remove", "lost", "driver-check"});
  (void)what;
  return Sent(Route::kHandset, line);
}

RemoteLine Key(const ScriptCommand& c, const std::string& line) {
  if (c.args.size() != 1) Usage(c);
  KeyCode(c, c.args[0]);
  return Sent(Route::kHandset, line);
}

RemoteLine Press(const ScriptCommand& c, const std::string&) {
  if (c.args.empty() || c.args.size() > 2 || (c.args.size() == 2 && c.args[1].is_option)) {
    Usage(c);
  }
  RemoteLine result;
  result.route = Route::kPress;
  result.key_line = "key code=" + std::to_string(KeyCode(c, c.args[0]));
  result.ms = c.args.size() == 2 ? Number(c.args[1], 0, kMaxRemoteWaitMs, "press MS") : 100;
  return result;
}

RemoteLine Report(const ScriptCommand& c, const std::string& line) {
  for (const Word* word : Positional(c, 2, 64)) Number(*word, 0, 255, "byte");
  return Sent(Route::kHandset, line);
}

RemoteLine Observe(const ScriptCommand& c, const std::string& line) {
  Positional(c, 0, 0);
  return Sent(Route::kHandsetOutput, line);
}

RemoteLine Voip(const ScriptCommand& c, const std::string& line) {
  OneOf(c, {"attach", "detach", "online"});
  return Sent(Route::kClient, line);
}

RemoteLine Language(const ScriptCommand& c, const std::string& line) {
  Number(*Positional(c, 1, 1)[0], kInt64Min, kInt64Max, "language");
  return Sent(Route::kClient, line);
}

RemoteLine Ring(const ScriptCommand& c, const std::string& line) {
  Positional(c, 1, 1, {"count"});
  if (const Word* count = Option(c, "count")) Number(*count, kInt64Min, kInt64Max, "count");
  return Sent(Route::kClient, line);
}

RemoteLine CallId(const ScriptCommand& c, const std::string& line) {
  Positional(c, 1, 1);
  return Sent(Route::kClient, line);
}

RemoteLine ClientEvent(const ScriptCommand& c, const std::string& line) {
  Positional(c, 0, 0);
  return Sent(Route::kClient, line);
}

RemoteLine ClientWorld(const ScriptCommand& c, const std::string& line) {
  return World(c, Route::kClient, line);
}

RemoteLine HandsetWorld(const ScriptCommand& c, const std::string& line) {
  return World(c, Route::kHandset, line);
}

RemoteLine MixerChange(const ScriptCommand& c, const std::string&) {
  Positional(c, 0, 0);
  return Posted(MM_MIXM_CONTROL_CHANGE, 0, 0);
}

RemoteLine Power(const ScriptCommand& c, const std::string&) {
  const auto words = Positional(c, 1, 1);
  const std::string& what = words[0]->text;
  std::uint64_t event;
  if (what == "suspend") {
    event = PBT_APMSUSPEND;
  } else if (what == "resume") {
    event = PBT_APMRESUMESUSPEND;
  } else {
    event = static_cast<std::uint64_t>(Number(*words[0], kInt64Min, kInt64Max, "power event"));
  }
  return Posted(WM_POWERBROADCAST, event, 0);
}

RemoteLine Message(const ScriptCommand& c, const std::string&) {
  const auto words = Positional(c, 3, 3);
  const auto message = static_cast<std::uint32_t>(
      Number(*words[0], 0, std::numeric_limits<std::uint32_t>::max(), "message number"));
  const std::int64_t wparam = Number(*words[1], kInt64Min, kInt64Max, "wParam");
  const std::int64_t lparam = Number(*words[2], kInt64Min, kInt64Max, "lParam");
  return Posted(message, static_cast<std::uint64_t>(wparam), lparam);
}

RemoteLine Menu(const ScriptCommand& c, const std::string&) {
  if (OneOf(c, {"close", "about"}) == "about") return Posted(WM_COMMAND, ID_ABOUT, 0);
  RemoteLine result = Posted(WM_COMMAND, ID_CLOSE, 0);
  result.route = Route::kMenuClose;
  return result;
}

RemoteLine Tray(const ScriptCommand& c, const std::string&) {
  const std::string& what = OneOf(c, {"rbutton", "lbutton", "dblclick"});
  if (what == "rbutton") {
    RemoteLine result = Posted(MSG_TRAY_NOTIFY, kTrayIconId, WM_RBUTTONUP);
    result.route = Route::kTrayMenu;
    return result;
  }
  return Posted(MSG_TRAY_NOTIFY, kTrayIconId, what == "lbutton" ? WM_LBUTTONUP : WM_LBUTTONDBLCLK);
}

RemoteLine Window(const ScriptCommand& c, const std::string&) {
  Positional(c, 0, 0);
  RemoteLine result;
  result.route = Route::kWindow;
  return result;
}

RemoteLine Dialog(const ScriptCommand& c, const std::string&) {
  const auto words = Positional(c, 0, 1);
  RemoteLine result;
  result.route = Route::kDialog;
  if (!words.empty()) {
    if (words[0]->quoted || words[0]->text != "ok") Usage(c);
    result.route = Route::kDialogOk;
  }
  return result;
}

RemoteLine Echo(const ScriptCommand& c, const std::string&) {
  // The words as written, joined by one blank, escaped as every output text.
  std::string text;
  for (std::size_t i = 0; i < c.args.size(); ++i) {
    if (i > 0) text += ' ';
    text += c.args[i].text;
  }
  RemoteLine result;
  result.route = Route::kEcho;
  result.text = trace::Escape(text);
  return result;
}

RemoteLine Wait(const ScriptCommand& c, const std::string&) {
  RemoteLine result;
  result.route = Route::kWait;
  result.ms = Number(*Positional(c, 1, 1)[0], 0, kMaxRemoteWaitMs, "wait MS");
  return result;
}

struct Entry {
  RemoteLine (*parse)(const ScriptCommand&, const std::string&);
  const char* usage;
};

const std::map<std::string, Entry>& Commands() {
  static const std::map<std::string, Entry> kCommands = {
      // The handset stand-in.
      {"handset", {Handset, "handset plugged|arrive|remove|lost|driver-check"}},
      {"driver", {HandsetWorld, "driver ok|broken"}},
      {"key", {Key, "key K (a key name or code=N)"}},
      {"press", {Press, "press K [MS]"}},
      {"report", {Report, "report B0 B1 ... (at least two bytes)"}},
      {"lcd", {Observe, "lcd"}},
      {"leds", {Observe, "leds"}},
      // The client stand-in.
      {"voip", {Voip, "voip attach|detach|online"}},
      {"language", {Language, "language N"}},
      {"ring", {Ring, "ring \"TEXT\" [count=N]"}},
      {"in-progress", {CallId, "in-progress ID"}},
      {"second-call", {CallId, "second-call ID"}},
      {"finished", {ClientEvent, "finished"}},
      {"failed", {ClientEvent, "failed"}},
      {"hold", {ClientEvent, "hold"}},
      {"resume", {ClientEvent, "resume"}},
      {"voicemail-changed", {ClientEvent, "voicemail-changed"}},
      {"voicemail-ended", {ClientEvent, "voicemail-ended"}},
      {"missed-changed", {ClientEvent, "missed-changed"}},
      {"contact", {ClientWorld, nullptr}},
      {"contacts-generate", {ClientWorld, nullptr}},
      {"history", {ClientWorld, nullptr}},
      {"active", {ClientWorld, nullptr}},
      {"active-clear", {ClientWorld, nullptr}},
      {"voicemail", {ClientWorld, nullptr}},
      {"missed", {ClientWorld, nullptr}},
      {"unplayed", {ClientWorld, nullptr}},
      {"online", {ClientWorld, nullptr}},
      {"client", {ClientWorld, nullptr}},
      // Posted to the controller's window as the shell or the system would.
      {"menu", {Menu, "menu close|about"}},
      {"tray", {Tray, "tray rbutton|lbutton|dblclick"}},
      {"power", {Power, "power suspend|resume|N"}},
      {"mixer-change", {MixerChange, "mixer-change"}},
      {"message", {Message, "message N W L"}},
      // The remote itself.
      {"window", {Window, "window"}},
      {"dialog", {Dialog, "dialog [ok]"}},
      {"echo", {Echo, "echo TEXT"}},
      {"wait", {Wait, "wait MS"}},
  };
  return kCommands;
}

}  // namespace

RemoteLine ParseRemoteLine(const std::string& line) {
  if (line.size() > kMaxRemoteLine) {
    throw ScriptError("line longer than " + std::to_string(kMaxRemoteLine) + " characters");
  }
  for (const char c : line) {
    if (c == '\n' || c == '\r' || c == '\0') throw ScriptError("line break inside the line");
  }
  if (sim::IsBlankOrComment(line)) return RemoteLine{};
  const std::vector<Word> words = sim::SplitWords(line);
  const Word& first = words.front();
  if (first.quoted || first.is_option) {
    throw ScriptError("unknown command " + trace::Quote(first.text));
  }
  const auto found = Commands().find(first.text);
  if (found == Commands().end()) {
    if (sim::WorldCommandUsage(first.text) != nullptr || first.text == "start" ||
        first.text == "state" || first.text == "participants" || first.text == "contacts" ||
        first.text == "timers" || first.text == "cat" || first.text == "registry" ||
        first.text == "trace" || first.text == "mixer-set" || first.text == "file" ||
        first.text == "file-crlf" || first.text == "remove") {
      throw ScriptError(trace::Quote(first.text) + " is not offered by the remote");
    }
    throw ScriptError("unknown command " + trace::Quote(first.text));
  }
  const char* usage = found->second.usage;
  if (usage == nullptr) usage = sim::WorldCommandUsage(first.text);
  const ScriptCommand command{first.text, {words.begin() + 1, words.end()}, usage};
  return found->second.parse(command, line);
}

}  // namespace mivo::remote
