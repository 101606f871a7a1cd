// The call and status pages: incoming call, call page and its clock row, call-with list,
// volume and wrong number.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "lcd/lcd_output.h"
#include "lcd/list_window.h"

namespace mivo {

void ControllerDialog::DrawIncomingCall(const char* caller) {
  char shown[sizeof caller_text] = {};
  CopyText(shown, caller);
  screen = SCREEN_INCOMING_CALL;
  lcd::TitleRow(handset_, lcd::Field(text_incoming_call));
  handset_.fClearRow(2);
  lcd::TextRow(handset_, 1, lcd::kRowStart, shown, ROW_PLAIN, WEIGHT_BOLD);
  handset_.fClearRow(0);
}

void ControllerDialog::DrawCallPage(const char* party, int mode) {
  // Remember first: the party text may be call_digits itself, which is rebuilt below.
  if (party != nullptr) CopyText(call_page_text, party);
  if (mode != LIST_REDRAW) call_page_remembered_mode = mode;

  std::memset(call_digits, 0, sizeof call_digits);
  CopyText(call_digits, call_page_text, sizeof call_page_text);
  screen = SCREEN_IN_CALL;
  call_page_mode = call_page_remembered_mode;

  lcd::TitleRow(handset_, call_page_remembered_mode == 2 ? lcd::Field(text_play_voicemail)
                                                         : lcd::Field(text_call_with));
  handset_.fClearRow(1);
  lcd::TextRow2(handset_, 2, lcd::kRowStart, lcd::Field(call_page_text), ROW_PLAIN, WEIGHT_NORMAL,
                lcd::kPartyRowHeight, 1);
  if (mode != 2) {
    host_.window.KillTimer(m_hWnd, TIMER_CALL_CLOCK);
    host_.window.SetTimer(m_hWnd, TIMER_CALL_CLOCK, 1000);
  }
  handset_.fClearRow(0);
}

void ControllerDialog::DrawCallClock() {
  if (!call_active) return;
  const std::int64_t now = host_.clock.Time();
  // A clock set back during the call shows a zero duration, not a negative one.
  const std::int64_t elapsed = std::max<std::int64_t>(now - call_start_time, 0);
  LocalTime local;
  if (!host_.clock.LocalTimeOf(now, &local)) local = host_.clock.GetLocalTime();
  const HourText hour = ApplyHourRule(language_id, local.hour);
  const int hours = static_cast<int>((elapsed / 3600) % 24);
  const int minutes = static_cast<int>((elapsed / 60) % 60);
  const int seconds = static_cast<int>(elapsed % 60);
  char text[30];
  std::snprintf(text, sizeof text, "%02d:%02d%s  %02d:%02d:%02d", hour.hour, local.minute,
                hour.suffix, hours, minutes, seconds);
  lcd::TextRow(handset_, 0, lcd::kRowStart, text, ROW_PLAIN, WEIGHT_BOLD);
}

void ControllerDialog::DrawCallWithList(int step) {
  screen = SCREEN_CALL_WITH;
  lcd::TitleRow(handset_, lcd::Field(text_call_with));
  const int count = std::clamp(participant_count, 0, kMaxParticipants);
  lcd::ApplyListStep(call_with_window, contact_cursor, count, step);
  for (int slot = 0; slot < 3; ++slot) {
    const int row = lcd::SlotRow(slot);
    const int entry = lcd::EntryInSlot(call_with_window, slot, count);
    if (entry == 0) {
      handset_.fClearRow(static_cast<std::uint8_t>(row));
      continue;
    }
    lcd::TextRow(handset_, row, lcd::kRowStart, lcd::Field(participants[entry - 1].name),
                 lcd::SlotStyle(call_with_window, slot, count), WEIGHT_NORMAL);
  }
}

void ControllerDialog::DrawVolume() {
  volume_overlay = true;
  // The clock of the page underneath must not draw over the volume page.
  if (screen == SCREEN_IDLE) {
    host_.window.KillTimer(m_hWnd, TIMER_IDLE_REFRESH);
    idle_refresh_stopped = true;
  } else if (screen == SCREEN_IN_CALL && call_page_mode != 2) {
    host_.window.KillTimer(m_hWnd, TIMER_CALL_CLOCK);
  }
  handset_.fSendDisplayLCD_Cylinder(speaker_volume);
  lcd::TitleRow(handset_, lcd::Field(text_volume));
  handset_.fClearRow(0);
  host_.window.KillTimer(m_hWnd, TIMER_VOLUME_SCREEN);
  host_.window.SetTimer(m_hWnd, TIMER_VOLUME_SCREEN, 2000);
}

void ControllerDialog::DrawWrongNumber() {
  handset_.fClearDisplay2();
  lcd::TextRow(handset_, 2, lcd::kRowStart, lcd::Field(text_wrong_number), ROW_PLAIN, WEIGHT_BOLD);
  host_.window.SetTimer(m_hWnd, TIMER_WRONG_NUMBER, 2000);
}

}  // namespace mivo
