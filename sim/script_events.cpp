// Event commands: each posts one window message as its source would and pumps the queue;
// and `wait`, which advances the virtual clock.
#include <limits>

#include "core/constants.h"
#include "sim/script_runner.h"

namespace mivo::sim {

namespace {

constexpr std::int64_t kInt64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kInt64Max = std::numeric_limits<std::int64_t>::max();
// The longest wait of one command: a week of virtual time.
constexpr std::int64_t kMaxWaitMs = 7LL * 24 * 3600 * 1000;

}  // namespace

void ScriptRunner::CmdHandset(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const std::string& what = words[0]->text;
  if (what == "plugged") {
    // A world command: the handset is in when fConnectDevice runs.
    ApplyWorldCommand(c, sim_.world);
    return;
  }
  UINT message;
  if (what == "arrive") {
    message = MSG_HANDSET_ARRIVED;
  } else if (what == "remove") {
    message = MSG_HANDSET_REMOVED;
  } else if (what == "lost") {
    message = MSG_HANDSET_LOST;
  } else if (what == "driver-check") {
    message = MSG_DRIVER_CHECK;
  } else {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  RequireRunning(c);
  if (message == MSG_HANDSET_REMOVED || message == MSG_HANDSET_LOST) sim_.handset.LosePower();
  PostAndPump(message, 0, 0);
}

void ScriptRunner::CmdVoip(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const std::string& what = words[0]->text;
  UINT message;
  if (what == "attach") {
    message = MSG_VOIP_ATTACHED;
  } else if (what == "detach") {
    message = MSG_VOIP_DETACHED;
  } else if (what == "online") {
    message = MSG_VOIP_ONLINE;
  } else {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  RequireRunning(c);
  PostAndPump(message, 0, 0);
}

void ScriptRunner::CmdLanguage(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const std::int64_t language = Number(*words[0], kInt64Min, kInt64Max, "language");
  RequireRunning(c);
  PostAndPump(MSG_LANGUAGE, 0, static_cast<LPARAM>(language));
}

void ScriptRunner::CmdRing(const Command& c) {
  const auto words = Positional(c, 1, 1, {"count"});
  const std::string& text = words[0]->text;
  std::int64_t count = static_cast<std::int64_t>(text.size());
  if (const Word* option = Option(c, "count")) {
    count = Number(*option, kInt64Min, kInt64Max, "count");
  }
  RequireRunning(c);
  sim_.voip.NoteRinging(text);
  PostAndPump(MSG_CALL_RINGING, static_cast<WPARAM>(count), Keep(text));
}

void ScriptRunner::CmdCallId(const Command& c) {
  const auto words = Positional(c, 1, 1);
  RequireRunning(c);
  const bool in_progress = c.name == "in-progress";
  // The client that reports a call in progress has it: digit keys are tones from now on.
  if (in_progress) sim_.voip.NoteCallInProgress();
  PostAndPump(in_progress ? MSG_CALL_IN_PROGRESS : MSG_SECOND_CALL, 0, Keep(words[0]->text));
}

void ScriptRunner::CmdSimpleEvent(const Command& c) {
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
  RequireRunning(c);
  if (c.name == "failed" || (c.name == "finished" && !sim_.world.voip.auto_mode)) {
    // The call has ended at the client (digits are no longer tones); a scripted client
    // leaves the message to the script.
    sim_.voip.DropCall();
  }
  if (c.name == "finished" && sim_.world.voip.auto_mode) {
    // A client that reacts on its own keeps the call itself: the far end's hang-up ends the
    // call there, and the client posts the message when it had a call.
    sim_.voip.FarEndHangsUp();
    if (sim_.loop.HasQueued()) {
      sim_.loop.Pump();
      return;
    }
  }
  PostAndPump(kMessages.at(c.name), 0, 0);
}

void ScriptRunner::CmdPower(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const std::string& what = words[0]->text;
  WPARAM event;
  if (what == "suspend") {
    event = PBT_APMSUSPEND;
  } else if (what == "resume") {
    event = PBT_APMRESUMESUSPEND;
  } else {
    event = static_cast<WPARAM>(Number(*words[0], kInt64Min, kInt64Max, "power event"));
  }
  RequireRunning(c);
  // A suspended USB device loses power with the PC.
  if (what == "suspend") sim_.handset.LosePower();
  PostAndPump(WM_POWERBROADCAST, event, 0);
}

int ScriptRunner::KeyArgument(const Command& c, const Word& word) const {
  if (word.is_option) {
    if (word.name != "code") {
      throw ScriptError("unknown option " + word.name + "= (usage: " + c.usage + ")");
    }
    // Raw codes reach the controller as lParam; keep them within a key code's int.
    return static_cast<int>(ParseInteger(word.value, std::numeric_limits<int>::min(),
                                         std::numeric_limits<int>::max(), "key code"));
  }
  const std::optional<int> code = KeyCodeOfName(word.text);
  if (!code) throw ScriptError("unknown key " + Trace::Quote(word.text));
  return *code;
}

void ScriptRunner::CmdKey(const Command& c) {
  if (c.args.size() != 1) throw ScriptError(std::string("usage: ") + c.usage);
  const int key = KeyArgument(c, c.args[0]);
  RequireRunning(c);
  PostAndPump(MSG_HANDSET_KEY, 1, key);
}

void ScriptRunner::CmdPress(const Command& c) {
  if (c.args.empty() || c.args.size() > 2 || (c.args.size() == 2 && c.args[1].is_option)) {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  const int key = KeyArgument(c, c.args[0]);
  const std::int64_t ms = c.args.size() == 2 ? Number(c.args[1], 0, kMaxWaitMs, "press MS") : 100;
  RequireRunning(c);
  PostAndPump(MSG_HANDSET_KEY, 1, key);
  Advance(ms, "press");
  // A window destroyed while the key was held gets no release.
  if (sim_.window.destroyed()) return;
  PostAndPump(MSG_HANDSET_KEY, 1, KEY_RELEASE);
}

void ScriptRunner::CmdReport(const Command& c) {
  const auto words = Positional(c, 2, 64);
  std::string bytes;
  for (const Word* word : words) bytes += static_cast<char>(Number(*word, 0, 255, "byte"));
  RequireRunning(c);
  PostAndPump(MSG_HANDSET_KEY, 0, Keep(bytes));
}

void ScriptRunner::CmdMessage(const Command& c) {
  const auto words = Positional(c, 3, 3);
  const auto message =
      static_cast<UINT>(Number(*words[0], 0, std::numeric_limits<UINT>::max(), "message number"));
  const std::int64_t wparam = Number(*words[1], kInt64Min, kInt64Max, "wParam");
  const std::int64_t lparam = Number(*words[2], kInt64Min, kInt64Max, "lParam");
  RequireRunning(c);
  PostAndPump(message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

void ScriptRunner::CmdWait(const Command& c) {
  const auto words = Positional(c, 1, 1);
  Advance(Number(*words[0], 0, kMaxWaitMs, "wait MS"), "wait");
}

void ScriptRunner::Advance(std::int64_t ms, const char* what) {
  waited_ms_ += ms;
  if (options_.max_virtual_ms > 0 && waited_ms_ > options_.max_virtual_ms) {
    throw ScriptError(std::string(what) + ": the run may wait at most " +
                      std::to_string(options_.max_virtual_ms) + " ms in all");
  }
  sim_.loop.Advance(ms);
}

}  // namespace mivo::sim
