// World commands: the simulated PC, the VoIP client's data, and the files of the start
// directory.
#include <cstdio>
#include <fstream>
#include <limits>

#include "sim/script_runner.h"

namespace mivo::sim {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUint32Max = std::numeric_limits<std::uint32_t>::max();

// The choice between two words (present|absent, ok|broken, ...): true for `yes`.
bool Choice(const Word& word, const char* yes, const char* no, const char* usage) {
  if (!word.quoted && word.text == yes) return true;
  if (!word.quoted && word.text == no) return false;
  throw ScriptError(std::string("usage: ") + usage);
}

}  // namespace

void ScriptRunner::CmdTime(const Command& c) {
  const auto words = Positional(c, 2, 2);
  sim_.world.pc.local_seconds = ParseLocalDateTime(words[0]->text, words[1]->text);
  sim_.clock.ResetEpoch();
}

void ScriptRunner::CmdTimezone(const Command& c) {
  const auto words = Positional(c, 2, 2);
  const std::int64_t bias = Number(*words[0], -24 * 60, 24 * 60, "time-zone bias");
  const std::int64_t dst = Number(*words[1], 0, 1, "daylight saving flag");
  sim_.world.pc.bias_minutes = static_cast<std::int32_t>(bias);
  sim_.world.pc.daylight = dst == 1;
}

void ScriptRunner::CmdMixer(const Command& c) {
  const auto words = Positional(c, 1, 1, {"volume"});
  SimMixerDevice device;
  device.name = words[0]->text;
  if (const Word* volume = Option(c, "volume")) {
    device.volume = static_cast<std::uint32_t>(Number(*volume, 0, kUint32Max, "volume"));
  }
  sim_.world.pc.mixers.push_back(device);
}

void ScriptRunner::CmdMixerSet(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const auto volume = static_cast<std::uint32_t>(Number(*words[0], 0, kUint32Max, "volume"));
  // With no mixer at all the other program's change fails, as it would on a real PC.
  sim_.mixer.ExternalSet(volume);
  sim_.loop.Pump();
}

void ScriptRunner::CmdContact(const Command& c) {
  const auto words = Positional(c, 2, 2, {"status", "tz", "speed", "p1", "p2", "p3"});
  SimContact contact;
  contact.handle = words[0]->text;
  contact.name = words[1]->text;
  if (const Word* w = Option(c, "status")) {
    contact.status = static_cast<std::int32_t>(Number(*w, kInt32Min, kInt32Max, "status"));
  }
  if (const Word* w = Option(c, "tz")) {
    contact.time_zone = static_cast<std::int32_t>(Number(*w, kInt32Min, kInt32Max, "tz"));
  }
  if (const Word* w = Option(c, "speed")) contact.speed = w->value;
  if (const Word* w = Option(c, "p1")) contact.profile1 = w->value;
  if (const Word* w = Option(c, "p2")) contact.profile2 = w->value;
  if (const Word* w = Option(c, "p3")) contact.profile3 = w->value;
  sim_.world.voip.contacts.push_back(contact);
}

void ScriptRunner::CmdContactsGenerate(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const std::int64_t count = Number(*words[0], 0, 9999, "count");
  for (std::int64_t i = 1; i <= count; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%04d", static_cast<int>(i));
    SimContact contact;
    contact.handle = std::string("user") + number;
    contact.name = std::string("Contact ") + number;
    contact.status = 1;
    sim_.world.voip.contacts.push_back(contact);
  }
}

void ScriptRunner::CmdHistory(const Command& c) {
  const auto words = Positional(c, 3, 3, {"type", "status", "time"});
  const Word* type = Option(c, "type");
  const Word* status = Option(c, "status");
  const Word* time = Option(c, "time");
  if (type == nullptr || status == nullptr || time == nullptr) {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  SimCall call;
  call.id = words[0]->text;
  call.handle = words[1]->text;
  call.name = words[2]->text;
  call.type = static_cast<std::int32_t>(Number(*type, kInt32Min, kInt32Max, "type"));
  call.status = static_cast<std::int32_t>(Number(*status, kInt32Min, kInt32Max, "status"));
  call.time = time->value;
  sim_.world.voip.history.push_back(call);
}

void ScriptRunner::CmdActive(const Command& c) {
  const auto words = Positional(c, 3, 3);
  SimCall call;
  call.id = words[0]->text;
  call.handle = words[1]->text;
  call.name = words[2]->text;
  sim_.world.voip.active.push_back(call);
}

void ScriptRunner::CmdActiveClear(const Command& c) {
  Positional(c, 0, 0);
  sim_.world.voip.active.clear();
}

void ScriptRunner::CmdVoicemail(const Command& c) {
  const auto words = Positional(c, 3, 3);
  sim_.world.voip.voicemails.push_back(
      SimVoicemail{words[0]->text, words[1]->text, words[2]->text});
}

void ScriptRunner::CmdCount(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const auto count = static_cast<int>(Number(*words[0], kInt32Min, kInt32Max, "count"));
  (c.name == "missed" ? sim_.world.voip.missed : sim_.world.voip.unplayed) = count;
}

void ScriptRunner::CmdOnline(const Command& c) {
  const auto words = Positional(c, 1, 1);
  sim_.world.voip.online = Number(*words[0], 0, 1, "on-line flag") == 1;
}

void ScriptRunner::CmdClient(const Command& c) {
  const auto words = Positional(c, 1, 2);
  if (words.size() == 1 && words[0]->text == "missing") {
    sim_.world.voip.client_found = false;
  } else if (words.size() == 2 && words[0]->text == "auto") {
    sim_.world.voip.auto_mode = Choice(*words[1], "on", "off", c.usage);
  } else {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
}

void ScriptRunner::CmdDriver(const Command& c) {
  const auto words = Positional(c, 1, 1);
  sim_.world.handset.driver_ok = Choice(*words[0], "ok", "broken", c.usage);
}

void ScriptRunner::CmdControlDevice(const Command& c) {
  const auto words = Positional(c, 1, 1);
  sim_.world.pc.control_device_present = Choice(*words[0], "present", "absent", c.usage);
}

void ScriptRunner::CmdProgram(const Command& c) {
  const auto words = Positional(c, 2, 2);
  sim_.world.pc.programs[words[0]->text] = Choice(*words[1], "found", "missing", c.usage);
}

void ScriptRunner::CmdRegistryKey(const Command& c) {
  const auto words = Positional(c, 1, 1);
  sim_.world.pc.registry_key_present = Choice(*words[0], "present", "absent", c.usage);
}

void ScriptRunner::CmdFile(const Command& c) {
  const auto words = Positional(c, 2, 3);
  const Word& heredoc = *words.back();
  if (heredoc.quoted || heredoc.text.size() <= 2 || heredoc.text.compare(0, 2, "<<") != 0 ||
      (words.size() == 3 && (words[1]->quoted || words[1]->text != "bom"))) {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
  const std::string tag = heredoc.text.substr(2);
  const std::string path = directory_.FilePath(words[0]->text);
  const std::string line_end = c.name == "file-crlf" ? "\r\n" : "\n";

  std::string content = words.size() == 3 ? "\xEF\xBB\xBF" : "";
  std::string line;
  bool closed = false;
  while (NextLine(&line)) {
    // The closing tag may carry the CR of a script written with CR LF line ends.
    if (line == tag || line == tag + "\r") {
      closed = true;
      break;
    }
    content += line + line_end;
  }
  if (!closed) throw ScriptError("no closing line " + Trace::Quote(tag) + " for the file");

  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  out.close();
  if (!out) throw ScriptError("cannot write " + Trace::Quote(path));
}

void ScriptRunner::CmdRemove(const Command& c) {
  const auto words = Positional(c, 1, 1);
  // A file that is not there is already removed.
  std::remove(directory_.FilePath(words[0]->text).c_str());
}

}  // namespace mivo::sim
