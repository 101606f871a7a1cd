// Observations: what the script can look at (the LCD, the LEDs, the controller's fields and
// tables, the timers, the window, the files and the registry), and the output switches.
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/sim/event_lines.h"
#include "sim/script_runner.h"

namespace mivo::sim {

namespace {

using Format = std::function<std::string(const ControllerDialog&)>;

struct StateField {
  const char* name;
  Format format;  // null: a table, shown by its own observation
  const char* table_hint = nullptr;
};

template <typename T>
StateField Integer(const char* name, T ControllerDialog::*member) {
  return {name, [member](const ControllerDialog& c) { return std::to_string(c.*member); }};
}

StateField Flag(const char* name, bool ControllerDialog::*member) {
  return {name, [member](const ControllerDialog& c) { return std::string(c.*member ? "1" : "0"); }};
}

// A text is read no further than its array, so an unterminated field shows what it holds.
template <std::size_t N>
StateField Text(const char* name, char (ControllerDialog::*member)[N]) {
  return {name, [member](const ControllerDialog& c) { return Trace::Quote(c.*member, N); }};
}

StateField Pointer(const char* name, const std::uint8_t* ControllerDialog::*member) {
  return {name, [member](const ControllerDialog& c) {
            return std::string(c.*member == nullptr ? "null" : "set");
          }};
}

StateField Table(const char* name, const char* hint) {
  return {name, nullptr, hint};
}

const std::vector<StateField>& StateFields() {
  using C = ControllerDialog;
  static const std::vector<StateField> kFields = {
      {"key_indicator",
       [](const C& c) {
         std::string values;
         for (std::int32_t v : c.key_indicator) {
           if (!values.empty()) values += ' ';
           values += std::to_string(v);
         }
         return values;
       }},
      Integer("icon", &C::icon),
      Integer("tray_icon_id", &C::tray_icon_id),
      Integer("letter_press_count", &C::letter_press_count),
      Integer("held_key", &C::held_key),
      Integer("screen", &C::screen),
      Integer("voicemail_cursor", &C::voicemail_cursor),
      Integer("contact_cursor", &C::contact_cursor),
      Integer("history_cursor", &C::history_cursor),
      Integer("participant_count", &C::participant_count),
      Integer("contact_count", &C::contact_count),
      Integer("contact_count_status_set", &C::contact_count_status_set),
      Integer("contact_count_status_zero", &C::contact_count_status_zero),
      Integer("dial_len", &C::dial_len),
      Integer("usb_mixer_index", &C::usb_mixer_index),
      Integer("mixer_count", &C::mixer_count),
      Integer("speaker_volume", &C::speaker_volume),
      Integer("call_page_mode", &C::call_page_mode),
      Integer("missed_call_count", &C::missed_call_count),
      Integer("language_id", &C::language_id),
      Integer("alt_mode", &C::alt_mode),
      Text("caller_text", &C::caller_text),
      Text("dial_buf", &C::dial_buf),
      Text("call_digits", &C::call_digits),
      Text("usb_audio_device_name", &C::usb_audio_device_name),
      Text("other_audio_device_name", &C::other_audio_device_name),
      Text("active_call_id", &C::active_call_id),
      Text("text_contacts", &C::text_contacts),
      Text("text_call_history", &C::text_call_history),
      Text("text_incoming", &C::text_incoming),
      Text("text_missed", &C::text_missed),
      Text("text_outgoing", &C::text_outgoing),
      Text("text_voicemail", &C::text_voicemail),
      Text("text_inbox", &C::text_inbox),
      Text("text_conference_call", &C::text_conference_call),
      Text("text_dial_pad", &C::text_dial_pad),
      Text("text_speed_dial", &C::text_speed_dial),
      Text("text_enter_number", &C::text_enter_number),
      Text("text_volume", &C::text_volume),
      Text("text_call_with", &C::text_call_with),
      Text("text_incoming_call", &C::text_incoming_call),
      Text("text_about", &C::text_about),
      Text("text_close", &C::text_close),
      Text("text_play_voicemail", &C::text_play_voicemail),
      Text("text_wrong_number", &C::text_wrong_number),
      Text("program_directory", &C::program_directory),
      Flag("on_hold", &C::on_hold),
      Flag("muted", &C::muted),
      Flag("call_active", &C::call_active),
      Flag("voip_online", &C::voip_online),
      Flag("handset_present", &C::handset_present),
      Flag("ring_led_phase", &C::ring_led_phase),
      Flag("volume_overlay", &C::volume_overlay),
      Flag("reinit_pending", &C::reinit_pending),
      Integer("call_start_time", &C::call_start_time),
      Pointer("call_list", &C::call_list),
      Pointer("history_list", &C::history_list),
      Pointer("active_calls", &C::active_calls),
      Pointer("voicemail_list", &C::voicemail_list),
      Table("contacts", "the contacts observation"),
      Table("contacts_staging_set", "the contacts observation and contact_count_status_set"),
      Table("contacts_staging_zero", "the contacts observation and contact_count_status_zero"),
      Table("participants", "the participants observation"),
  };
  return kFields;
}

// A participant or contact count from the controller, kept within its table.
int Bounded(std::int32_t count, int table_size) {
  return count < 0 ? 0 : count > table_size ? table_size : count;
}

}  // namespace

ControllerDialog& ScriptRunner::RunningController(const Command& c) const {
  RequireRunning(c);
  ControllerDialog* controller = app_.main_window();
  if (controller == nullptr) throw ScriptError(c.name + ": the controller is not running");
  return *controller;
}

void ScriptRunner::CmdLcd(const Command& c) {
  Positional(c, 0, 0);
  for (const std::string& line : LcdLines(sim_.handset)) sim_.trace.Output(line);
}

void ScriptRunner::CmdLeds(const Command& c) {
  Positional(c, 0, 0);
  sim_.trace.Output(LedsLine(sim_.handset));
}

void ScriptRunner::CmdState(const Command& c) {
  const auto words = Positional(c, 1, static_cast<std::size_t>(-1));
  const ControllerDialog& controller = RunningController(c);
  // Every name is checked before anything is printed.
  std::vector<const StateField*> fields;
  for (const Word* word : words) {
    const StateField* found = nullptr;
    for (const StateField& field : StateFields()) {
      if (word->text == field.name) found = &field;
    }
    if (found == nullptr) throw ScriptError("unknown state field " + Trace::Quote(word->text));
    if (!found->format) {
      throw ScriptError(std::string("state: ") + found->name + " is a table; see " +
                        found->table_hint);
    }
    fields.push_back(found);
  }
  for (const StateField* field : fields) {
    sim_.trace.Output(std::string(field->name) + "=" + field->format(controller));
  }
}

void ScriptRunner::CmdParticipants(const Command& c) {
  Positional(c, 0, 0);
  const ControllerDialog& controller = RunningController(c);
  const int count = Bounded(controller.participant_count, kMaxParticipants);
  for (int i = 0; i < count; ++i) {
    const Participant& p = controller.participants[i];
    sim_.trace.Output("participant " + std::to_string(i + 1) +
                      ": call_id=" + Trace::Quote(p.call_id, sizeof p.call_id) +
                      " handle=" + Trace::Quote(p.handle, sizeof p.handle) +
                      " name=" + Trace::Quote(p.name, sizeof p.name) +
                      " index=" + std::to_string(p.contact_index));
  }
  sim_.trace.Output("participants: " + std::to_string(controller.participant_count));
}

void ScriptRunner::CmdContacts(const Command& c) {
  Positional(c, 0, 0);
  const ControllerDialog& controller = RunningController(c);
  const int count = Bounded(controller.contact_count, kMaxContacts);
  for (int i = 0; i < count; ++i) {
    const ContactRecord& r = controller.contacts[i];
    sim_.trace.Output(
        "contact " + std::to_string(i + 1) + ": name=" + Trace::Quote(r.name, sizeof r.name) +
        " handle=" + Trace::Quote(r.handle, sizeof r.handle) +
        " status=" + std::to_string(r.status) + " speed=" + Trace::Quote(r.speed, sizeof r.speed));
  }
  sim_.trace.Output("contacts: " + std::to_string(controller.contact_count));
}

void ScriptRunner::CmdTimers(const Command& c) {
  Positional(c, 0, 0);
  const std::int64_t now = sim_.loop.now_ms();
  for (const EventLoop::TimerInfo& timer : sim_.loop.Timers()) {
    sim_.trace.Output("timer " + std::to_string(timer.id) +
                      " period=" + std::to_string(timer.period_ms) +
                      " due=" + std::to_string(timer.due_ms - now));
  }
}

void ScriptRunner::CmdWindow(const Command& c) {
  const auto words = Positional(c, 0, 1);
  if (!words.empty()) {
    // A world command: another program's top-level window.
    sim_.world.pc.window_captions.push_back(words[0]->text);
    return;
  }
  static const char* const kStates[] = {"none", "visible", "minimized", "hidden", "destroyed"};
  sim_.trace.Output(std::string("window ") + kStates[static_cast<int>(sim_.window.window_state())]);
}

void ScriptRunner::CmdCat(const Command& c) {
  const auto words = Positional(c, 1, 1);
  const std::string& name = words[0]->text;
  std::ifstream in(directory_.FilePath(name), std::ios::binary);
  const std::string shown = "cat " + Trace::Escape(name);
  if (!in) {
    sim_.trace.Output(shown + ": missing");
    return;
  }
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (content.empty()) {
    sim_.trace.Output(shown + ": empty");
    return;
  }
  // Lines split at LF; a last line without LF is shown all the same.
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    sim_.trace.Output("| " + Trace::Escape(content.substr(start, end - start)));
    start = end + 1;
  }
}

void ScriptRunner::CmdRegistry(const Command& c) {
  Positional(c, 0, 0);
  // The raw REG_SZ data reads as a text up to its first zero byte.
  const auto show = [](const std::optional<std::string>& data) {
    return data ? Trace::Quote(data->c_str(), data->size()) : std::string("unset");
  };
  sim_.trace.Output("registry Record=" + show(sim_.world.pc.registry_record) +
                    " Playback=" + show(sim_.world.pc.registry_playback));
}

void ScriptRunner::CmdTrace(const Command& c) {
  const auto words = Positional(c, 1, 1);
  if (words[0]->text == "on") {
    sim_.trace.set_enabled(true);
  } else if (words[0]->text == "off") {
    sim_.trace.set_enabled(false);
  } else {
    throw ScriptError(std::string("usage: ") + c.usage);
  }
}

void ScriptRunner::CmdEcho(const Command& c) {
  // The words as written, joined by one blank.
  std::string text;
  for (std::size_t i = 0; i < c.args.size(); ++i) {
    if (i > 0) text += ' ';
    text += c.args[i].text;
  }
  sim_.trace.Output(Trace::Escape(text));
}

}  // namespace mivo::sim
