#include "platform/sim/world_script.h"

#include <cstdint>
#include <cstdio>
#include <limits>

#include "platform/sim/trace.h"

namespace mivo::sim {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kUint32Max = std::numeric_limits<std::uint32_t>::max();

[[noreturn]] void Usage(const ScriptCommand& c) {
  throw ScriptError(std::string("usage: ") + c.usage);
}

// The choice between two words (present|absent, ok|broken, ...): true for `yes`.
bool Choice(const ScriptCommand& c, const Word& word, const char* yes, const char* no) {
  if (!word.quoted && word.text == yes) return true;
  if (!word.quoted && word.text == no) return false;
  Usage(c);
}

std::int32_t Int32(const Word& word, const char* what) {
  return static_cast<std::int32_t>(Number(word, kInt32Min, kInt32Max, what));
}

void Time(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 2, 2);
  world.pc.local_seconds = ParseLocalDateTime(words[0]->text, words[1]->text);
}

void Timezone(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 2, 2);
  const std::int64_t bias = Number(*words[0], -24 * 60, 24 * 60, "time-zone bias");
  const std::int64_t dst = Number(*words[1], 0, 1, "daylight saving flag");
  world.pc.bias_minutes = static_cast<std::int32_t>(bias);
  world.pc.daylight = dst == 1;
}

void Mixer(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1, {"volume"});
  SimMixerDevice device;
  device.name = words[0]->text;
  if (const Word* volume = Option(c, "volume")) {
    device.volume = static_cast<std::uint32_t>(Number(*volume, 0, kUint32Max, "volume"));
  }
  world.pc.mixers.push_back(device);
}

void Contact(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 2, 2, {"status", "tz", "speed", "p1", "p2", "p3"});
  SimContact contact;
  contact.handle = words[0]->text;
  contact.name = words[1]->text;
  if (const Word* w = Option(c, "status")) contact.status = Int32(*w, "status");
  if (const Word* w = Option(c, "tz")) contact.time_zone = Int32(*w, "tz");
  if (const Word* w = Option(c, "speed")) contact.speed = w->value;
  if (const Word* w = Option(c, "p1")) contact.profile1 = w->value;
  if (const Word* w = Option(c, "p2")) contact.profile2 = w->value;
  if (const Word* w = Option(c, "p3")) contact.profile3 = w->value;
  world.voip.contacts.push_back(contact);
}

void ContactsGenerate(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  const std::int64_t count = Number(*words[0], 0, 9999, "count");
  for (std::int64_t i = 1; i <= count; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%04d", static_cast<int>(i));
    SimContact contact;
    contact.handle = std::string("user") + number;
    contact.name = std::string("Contact ") + number;
    contact.status = 1;
    world.voip.contacts.push_back(contact);
  }
}

void History(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 3, 3, {"type", "status", "time"});
  const Word* type = Option(c, "type");
  const Word* status = Option(c, "status");
  const Word* time = Option(c, "time");
  if (type == nullptr || status == nullptr || time == nullptr) Usage(c);
  SimCall call;
  call.id = words[0]->text;
  call.handle = words[1]->text;
  call.name = words[2]->text;
  call.type = Int32(*type, "type");
  call.status = Int32(*status, "status");
  call.time = time->value;
  world.voip.history.push_back(call);
}

void Active(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 3, 3);
  SimCall call;
  call.id = words[0]->text;
  call.handle = words[1]->text;
  call.name = words[2]->text;
  world.voip.active.push_back(call);
}

void ActiveClear(const ScriptCommand& c, SimWorld& world) {
  Positional(c, 0, 0);
  world.voip.active.clear();
}

void Voicemail(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 3, 3);
  world.voip.voicemails.push_back(SimVoicemail{words[0]->text, words[1]->text, words[2]->text});
}

void Count(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  const int count = Int32(*words[0], "count");
  (c.name == "missed" ? world.voip.missed : world.voip.unplayed) = count;
}

void Online(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  world.voip.online = Number(*words[0], 0, 1, "on-line flag") == 1;
}

void Client(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 2);
  if (words.size() == 1 && words[0]->text == "missing") {
    world.voip.client_found = false;
  } else if (words.size() == 2 && words[0]->text == "auto") {
    world.voip.auto_mode = Choice(c, *words[1], "on", "off");
  } else {
    Usage(c);
  }
}

void Handset(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  if (words[0]->text != "plugged") Usage(c);
  world.handset.plugged = true;
}

void Driver(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  world.handset.driver_ok = Choice(c, *words[0], "ok", "broken");
}

void ControlDevice(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  world.pc.control_device_present = Choice(c, *words[0], "present", "absent");
}

void Program(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 2, 2);
  world.pc.programs[words[0]->text] = Choice(c, *words[1], "found", "missing");
}

void RegistryKey(const ScriptCommand& c, SimWorld& world) {
  const auto words = Positional(c, 1, 1);
  world.pc.registry_key_present = Choice(c, *words[0], "present", "absent");
}

struct WorldCommand {
  const char* name;
  const char* usage;
  bool devices;  // concerns the handset or the client (not the PC)
  void (*apply)(const ScriptCommand&, SimWorld&);
};

constexpr WorldCommand kWorldCommands[] = {
    {"time", "time YYYY-MM-DD HH:MM:SS", false, Time},
    {"timezone", "timezone BIAS DST", false, Timezone},
    {"mixer", "mixer \"NAME\" [volume=N]", false, Mixer},
    {"contact", "contact HANDLE \"NAME\" [status=N] [tz=N] [speed=T] [p1=T] [p2=T] [p3=T]", true,
     Contact},
    {"contacts-generate", "contacts-generate N", true, ContactsGenerate},
    {"history", "history ID HANDLE \"NAME\" type=N status=N time=\"TEXT\"", true, History},
    {"active", "active ID HANDLE \"NAME\"", true, Active},
    {"active-clear", "active-clear", true, ActiveClear},
    {"voicemail", "voicemail ID HANDLE \"NAME\"", true, Voicemail},
    {"missed", "missed N", true, Count},
    {"unplayed", "unplayed N", true, Count},
    {"online", "online 0|1", true, Online},
    {"client", "client missing | client auto on|off", true, Client},
    {"handset", "handset plugged", true, Handset},
    {"driver", "driver ok|broken", true, Driver},
    {"control-device", "control-device present|absent", false, ControlDevice},
    {"program", "program NAME found|missing", false, Program},
    {"registry-key", "registry-key present|absent", false, RegistryKey},
};

const WorldCommand* Find(const std::string& name) {
  for (const WorldCommand& command : kWorldCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

}  // namespace

const char* WorldCommandUsage(const std::string& name) {
  const WorldCommand* command = Find(name);
  return command != nullptr ? command->usage : nullptr;
}

void ApplyWorldCommand(const ScriptCommand& command, SimWorld& world) {
  const WorldCommand* found = Find(command.name);
  if (found == nullptr) throw ScriptError("unknown command " + Trace::Quote(command.name));
  found->apply(command, world);
}

std::string WorldFileError::Message() const {
  return "line " + std::to_string(line) + ": " + what;
}

std::optional<WorldFileError> ReadWorldFile(std::istream& in, SimWorld& world) {
  std::string text;
  int line = 0;
  for (;;) {
    // Read at most one byte beyond the longest line, so that a huge line costs no memory.
    text.clear();
    char c;
    bool any = false;
    while (in.get(c) && c != '\n') {
      any = true;
      if (text.size() <= kMaxWorldLineLength) text += c;
    }
    if (!any && !in) break;
    ++line;
    if (line > kMaxWorldLines) {
      return WorldFileError{line, "more than " + std::to_string(kMaxWorldLines) + " lines"};
    }
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.size() > kMaxWorldLineLength) {
      return WorldFileError{
          line, "line longer than " + std::to_string(kMaxWorldLineLength) + " characters"};
    }
    try {
      if (IsBlankOrComment(text)) continue;
      std::vector<Word> words = SplitWords(text);
      const Word& first = words.front();
      const WorldCommand* command = first.quoted || first.is_option ? nullptr : Find(first.text);
      if (command == nullptr) {
        throw ScriptError("unknown world command " + Trace::Quote(first.text));
      }
      const ScriptCommand parsed{first.text, {words.begin() + 1, words.end()}, command->usage};
      if (command->devices) {
        command->apply(parsed, world);
      } else {
        SimWorld pc_only;  // checked, then dropped
        command->apply(parsed, pc_only);
      }
    } catch (const ScriptError& e) {
      return WorldFileError{line, e.what()};
    }
  }
  return std::nullopt;
}

}  // namespace mivo::sim
