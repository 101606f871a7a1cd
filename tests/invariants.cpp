#include "tests/invariants.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

#include "voip/blocks.h"

namespace mivo::test {

namespace {

bool Terminated(const char* text, std::size_t size) {
  return std::memchr(text, 0, size) != nullptr;
}
#define TERMINATED(field) Terminated(field, sizeof(field))

bool IsScreen(int screen) {
  static const std::vector<int> kScreens = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 21,
                                            22, 31, 50, 51, 52, 53, 61, 62, 71, 72};
  return std::find(kScreens.begin(), kScreens.end(), screen) != kScreens.end();
}

}  // namespace

std::string CheckTimers(const sim::EventLoop& loop) {
  static const std::vector<std::uintptr_t> kTimers = {
      TIMER_HIDE,        TIMER_IDLE_REFRESH,     TIMER_CALL_CLOCK,
      TIMER_CANCEL_HOLD, TIMER_LONG_PRESS,       TIMER_UP_REPEAT,
      TIMER_DOWN_REPEAT, TIMER_VOLUME_UP_REPEAT, TIMER_VOLUME_DOWN_REPEAT,
      TIMER_LED_OFF,     TIMER_RING_BLINK,       TIMER_VOLUME_SCREEN,
      TIMER_WRONG_NUMBER};
  for (const auto& timer : loop.Timers()) {
    if (std::find(kTimers.begin(), kTimers.end(), timer.id) == kTimers.end())
      return "timer " + std::to_string(timer.id);
  }
  return "";
}

std::string CheckLcdRows(const std::string& trace) {
  static const char* const kRowCalls[] = {"fClearRow(", "fSendDisplayLCD_TXT(",
                                          "fSendDisplayLCD_TXT2(", "fSendDisplayLCD_BMP(",
                                          "fSendBufToQ5LCD("};
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) {
    for (const char* call : kRowCalls) {
      const std::size_t n = std::strlen(call);
      if (line.compare(0, n, call) != 0) continue;
      const std::size_t end = line.find_first_of(",)", n);
      const std::string row = line.substr(n, end - n);
      if (row != "0" && row != "1" && row != "2" && row != "3") return "LCD row in " + line;
    }
  }
  return "";
}

std::string CheckInvariants(sim::SimPlatform& sim, const ControllerDialog& c) {
  if (!IsScreen(c.screen)) return "screen " + std::to_string(c.screen);
  if (c.contact_count < 0 || c.contact_count > kMaxContacts) return "contact_count";
  if (c.contact_count != c.contact_count_status_set + c.contact_count_status_zero)
    return "status split";
  if (c.participant_count < 0 || c.participant_count > kMaxParticipants) return "participant_count";
  if (c.dial_len < 0 || c.dial_len > kDialMax) return "dial_len " + std::to_string(c.dial_len);
  if (c.voicemail_cursor < 0 || c.history_cursor < 0 || c.contact_cursor < 0)
    return "negative cursor";
  if ((c.screen == SCREEN_CONTACT_LIST || c.screen == SCREEN_CONFERENCE_LIST) &&
      c.contact_cursor > c.contact_count)
    return "contact_cursor " + std::to_string(c.contact_cursor);
  if (c.screen == SCREEN_CALL_WITH && c.contact_cursor > c.participant_count)
    return "call-with cursor";
  if (c.screen == SCREEN_VOICEMAIL_INBOX &&
      c.voicemail_cursor > blocks::RecordCount(c.voicemail_list))
    return "voicemail_cursor " + std::to_string(c.voicemail_cursor);
  if (c.screen >= SCREEN_HISTORY_INCOMING && c.screen <= SCREEN_HISTORY_OUTGOING &&
      c.history_cursor > blocks::RecordCount(c.history_list))
    return "history_cursor " + std::to_string(c.history_cursor);
  if (c.speaker_volume < 0 || c.speaker_volume > 65536)
    return "speaker_volume " + std::to_string(c.speaker_volume);
  const bool texts_ok =
      TERMINATED(c.caller_text) && TERMINATED(c.dial_buf) && TERMINATED(c.call_digits) &&
      TERMINATED(c.usb_audio_device_name) && TERMINATED(c.other_audio_device_name) &&
      TERMINATED(c.active_call_id) && TERMINATED(c.text_contacts) &&
      TERMINATED(c.text_call_history) && TERMINATED(c.text_incoming) && TERMINATED(c.text_missed) &&
      TERMINATED(c.text_outgoing) && TERMINATED(c.text_voicemail) && TERMINATED(c.text_inbox) &&
      TERMINATED(c.text_conference_call) && TERMINATED(c.text_dial_pad) &&
      TERMINATED(c.text_speed_dial) && TERMINATED(c.text_enter_number) &&
      TERMINATED(c.text_volume) && TERMINATED(c.text_call_with) &&
      TERMINATED(c.text_incoming_call) && TERMINATED(c.text_about) && TERMINATED(c.text_close) &&
      TERMINATED(c.text_play_voicemail) && TERMINATED(c.text_wrong_number) &&
      TERMINATED(c.program_directory) && TERMINATED(c.history_title) &&
      TERMINATED(c.call_page_text);
  if (!texts_ok) return "unterminated controller text";
  for (const auto& name : c.mixer_names)
    if (!TERMINATED(name)) return "unterminated mixer name";
  for (int i = 0; i < c.contact_count; ++i) {
    const ContactRecord& r = c.contacts[i];
    if (!TERMINATED(r.name) || !TERMINATED(r.handle) || !TERMINATED(r.speed) ||
        !TERMINATED(r.profile1) || !TERMINATED(r.profile2) || !TERMINATED(r.profile3))
      return "unterminated contact " + std::to_string(i);
  }
  for (int i = 0; i < c.participant_count; ++i) {
    const Participant& p = c.participants[i];
    if (!TERMINATED(p.call_id) || !TERMINATED(p.handle) || !TERMINATED(p.name))
      return "unterminated participant";
  }
  const sim::Leds& leds = sim.handset.leds();
  for (int led : {leds.main, leds.hold, leds.mute, leds.voicemail})
    if (led != 0 && led != 1) return "led " + std::to_string(led);
  return CheckTimers(sim.loop);
}

}  // namespace mivo::test
