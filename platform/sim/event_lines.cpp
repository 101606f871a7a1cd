#include "platform/sim/event_lines.h"

#include <limits>
#include <map>

#include "core/constants.h"
#include "platform/trace/trace_text.h"

namespace mivo::sim {

namespace {

constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
// The longest hold of `press`: a week.
constexpr std::int64_t kMaxPressMs = 7LL * 24 * 3600 * 1000;
// The default hold of `press`.
constexpr std::int64_t kPressMs = 100;

using Source = DeviceEvent::Source;
using Effect = DeviceEvent::Effect;

const std::map<std::string, const char*>& Usages() {
  static const std::map<std::string, const char*> kUsages = {
      {"handset", "handset plugged|arrive|remove|lost|driver-check"},
      {"voip", "voip attach|detach|online"},
      {"language", "language N"},
      {"ring", "ring \"TEXT\" [count=N]"},
      {"in-progress", "in-progress ID"},
      {"second-call", "second-call ID"},
      {"finished", "finished"},
      {"failed", "failed"},
      {"hold", "hold"},
      {"resume", "resume"},
      {"voicemail-changed", "voicemail-changed"},
      {"voicemail-ended", "voicemail-ended"},
      {"missed-changed", "missed-changed"},
      {"mixer-change", "mixer-change"},
      {"power", "power suspend|resume|N"},
      {"key", "key K (a key name or code=N)"},
      {"press", "press K [MS]"},
      {"report", "report B0 B1 ... (at least two bytes)"},
      {"message", "message N W L"},
  };
  return kUsages;
}

[[noreturn]] void Usage(const ScriptCommand& c) {
  throw ScriptError(std::string("usage: ") + c.usage);
}

DeviceEvent Event(Source source, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DeviceEvent event;
  event.source = source;
  event.message = message;
  event.wparam = wparam;
  event.lparam = lparam;
  return event;
}

DeviceEvent Handset(const ScriptCommand& c) {
  const std::string& what = Positional(c, 1, 1)[0]->text;
  if (what == "plugged") {
    DeviceEvent event;
    event.source = Source::kHandset;
    event.effect = Effect::kWorld;
    return event;
  }
  static const std::map<std::string, UINT> kMessages = {
      {"arrive", MSG_HANDSET_ARRIVED},
      {"remove", MSG_HANDSET_REMOVED},
      {"lost", MSG_HANDSET_LOST},
      {"driver-check", MSG_DRIVER_CHECK},
  };
  const auto it = kMessages.find(what);
  if (it == kMessages.end()) Usage(c);
  DeviceEvent event = Event(Source::kHandset, it->second);
  if (what == "remove" || what == "lost") event.effect = Effect::kLosePower;
  return event;
}

DeviceEvent Voip(const ScriptCommand& c) {
  const std::string& what = Positional(c, 1, 1)[0]->text;
  static const std::map<std::string, UINT> kMessages = {
      {"attach", MSG_VOIP_ATTACHED},
      {"detach", MSG_VOIP_DETACHED},
      {"online", MSG_VOIP_ONLINE},
  };
  const auto it = kMessages.find(what);
  if (it == kMessages.end()) Usage(c);
  return Event(Source::kClient, it->second);
}

DeviceEvent Language(const ScriptCommand& c) {
  const auto words = Positional(c, 1, 1);
  const std::int64_t language = Number(*words[0], kInt64Min, kInt64Max, "language");
  return Event(Source::kClient, MSG_LANGUAGE, 0, static_cast<LPARAM>(language));
}

DeviceEvent Ring(const ScriptCommand& c) {
  const auto words = Positional(c, 1, 1, {"count"});
  const std::string& text = words[0]->text;
  std::int64_t count = static_cast<std::int64_t>(text.size());
  if (const Word* option = Option(c, "count")) {
    count = Number(*option, kInt64Min, kInt64Max, "count");
  }
  DeviceEvent event = Event(Source::kClient, MSG_CALL_RINGING, static_cast<WPARAM>(count));
  event.effect = Effect::kNoteRinging;
  event.text = text;
  return event;
}

DeviceEvent CallId(const ScriptCommand& c) {
  const auto words = Positional(c, 1, 1);
  const bool in_progress = c.name == "in-progress";
  DeviceEvent event = Event(Source::kClient, in_progress ? MSG_CALL_IN_PROGRESS : MSG_SECOND_CALL);
  // The client that reports a call in progress has it: digit keys are tones from now on.
  if (in_progress) event.effect = Effect::kNoteInProgress;
  event.text = words[0]->text;
  return event;
}

DeviceEvent Simple(const ScriptCommand& c) {
  Positional(c, 0, 0);
  static const std::map<std::string, UINT> kMessages = {
      {"finished", MSG_CALL_FINISHED},
      {"failed", MSG_CALL_FAILED},
      {"hold", MSG_CALL_ON_HOLD},
      {"resume", MSG_CALL_RESUMED},
      {"voicemail-changed", MSG_VOICEMAIL_CHANGED},
      {"voicemail-ended", MSG_VOICEMAIL_ENDED},
      {"missed-changed", MSG_MISSED_CALLS_CHANGED},
      {"mixer-change", MM_MIXM_CONTROL_CHANGE},
  };
  const UINT message = kMessages.at(c.name);
  DeviceEvent event =
      Event(message == MM_MIXM_CONTROL_CHANGE ? Source::kSystem : Source::kClient, message);
  // `finished` depends on the client's mode, known only when it is applied.
  if (c.name == "failed") event.effect = Effect::kDropCall;
  if (c.name == "finished") event.effect = Effect::kFarEndHangsUp;
  return event;
}

DeviceEvent Power(const ScriptCommand& c) {
  const auto words = Positional(c, 1, 1);
  const std::string& what = words[0]->text;
  WPARAM power_event;
  if (what == "suspend") {
    power_event = PBT_APMSUSPEND;
  } else if (what == "resume") {
    power_event = PBT_APMRESUMESUSPEND;
  } else {
    power_event = static_cast<WPARAM>(Number(*words[0], kInt64Min, kInt64Max, "power event"));
  }
  DeviceEvent event = Event(Source::kSystem, WM_POWERBROADCAST, power_event);
  // A suspended USB device loses power with the PC.
  if (what == "suspend") event.effect = Effect::kLosePower;
  return event;
}

int KeyArgument(const ScriptCommand& c, const Word& word) {
  if (word.is_option) {
    if (word.name != "code") {
      throw ScriptError("unknown option " + word.name + "= (usage: " + c.usage + ")");
    }
    // Raw codes reach the controller as lParam; keep them within a key code's int.
    return static_cast<int>(ParseInteger(word.value, std::numeric_limits<int>::min(),
                                         std::numeric_limits<int>::max(), "key code"));
  }
  const std::optional<int> code = KeyCodeOfName(word.text);
  if (!code) throw ScriptError("unknown key " + trace::Quote(word.text));
  return *code;
}

DeviceEvent Key(const ScriptCommand& c) {
  if (c.args.size() != 1) Usage(c);
  return Event(Source::kHandset, MSG_HANDSET_KEY, 1, KeyArgument(c, c.args[0]));
}

DeviceEvent Press(const ScriptCommand& c) {
  if (c.args.empty() || c.args.size() > 2 || (c.args.size() == 2 && c.args[1].is_option)) {
    Usage(c);
  }
  DeviceEvent event = Event(Source::kHandset, MSG_HANDSET_KEY, 1, KeyArgument(c, c.args[0]));
  event.release_after_ms =
      c.args.size() == 2 ? Number(c.args[1], 0, kMaxPressMs, "press MS") : kPressMs;
  return event;
}

DeviceEvent Report(const ScriptCommand& c) {
  const auto words = Positional(c, 2, 64);
  std::string bytes;
  for (const Word* word : words) bytes += static_cast<char>(Number(*word, 0, 255, "byte"));
  DeviceEvent event = Event(Source::kHandset, MSG_HANDSET_KEY, 0);
  event.text = std::move(bytes);
  return event;
}

DeviceEvent Message(const ScriptCommand& c) {
  const auto words = Positional(c, 3, 3);
  const auto message =
      static_cast<UINT>(Number(*words[0], 0, std::numeric_limits<UINT>::max(), "message number"));
  const std::int64_t wparam = Number(*words[1], kInt64Min, kInt64Max, "wParam");
  const std::int64_t lparam = Number(*words[2], kInt64Min, kInt64Max, "lParam");
  return Event(Source::kSystem, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

}  // namespace

const char* DeviceEventUsage(const std::string& name) {
  const auto it = Usages().find(name);
  return it == Usages().end() ? nullptr : it->second;
}

DeviceEvent ParseDeviceEvent(const ScriptCommand& c) {
  const std::string& n = c.name;
  if (n == "handset") return Handset(c);
  if (n == "voip") return Voip(c);
  if (n == "language") return Language(c);
  if (n == "ring") return Ring(c);
  if (n == "in-progress" || n == "second-call") return CallId(c);
  if (n == "power") return Power(c);
  if (n == "key") return Key(c);
  if (n == "press") return Press(c);
  if (n == "report") return Report(c);
  if (n == "message") return Message(c);
  if (DeviceEventUsage(n) != nullptr) return Simple(c);
  throw ScriptError("unknown command " + trace::Quote(n));
}

bool ApplyDeviceEvent(const DeviceEvent& event, SimHandset* handset, SimVoipClient* client,
                      bool auto_mode) {
  switch (event.effect) {
    case Effect::kNone:
    case Effect::kWorld:
      return false;
    case Effect::kLosePower:
      if (handset != nullptr) handset->LosePower();
      return false;
    case Effect::kNoteRinging:
      if (client != nullptr && event.text) client->NoteRinging(*event.text);
      return false;
    case Effect::kNoteInProgress:
      if (client != nullptr) client->NoteCallInProgress();
      return false;
    case Effect::kDropCall:
      if (client != nullptr) client->DropCall();
      return false;
    case Effect::kFarEndHangsUp:
      if (client == nullptr) return false;
      if (!auto_mode) {
        // A scripted client: the call has ended there (digits are no longer tones), and the
        // line itself reports it.
        client->DropCall();
        return false;
      }
      // A client that reacts on its own keeps the call itself: the far end's hang-up ends
      // the call there, and the client posts the message when it had a call.
      return client->FarEndHangsUp();
  }
  return false;
}

std::vector<std::string> LcdLines(const SimHandset& handset) {
  std::vector<std::string> lines;
  for (int row = 3; row >= 0; --row) lines.push_back(handset.RowLine(row));
  return lines;
}

std::string LedsLine(const SimHandset& handset) {
  const Leds& leds = handset.leds();
  return "leds main=" + std::to_string(leds.main) + " hold=" + std::to_string(leds.hold) +
         " mute=" + std::to_string(leds.mute) + " voicemail=" + std::to_string(leds.voicemail);
}

}  // namespace mivo::sim
