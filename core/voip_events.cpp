// Reactions to the VoIP bridge's call messages: attach, call in progress, finished, ringing
// and the second call that joins a held one.
#include <algorithm>

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

constexpr int kRingBlinkMs = 500;
// The buffer of the conference join command.
constexpr std::size_t kJoinCommandSize = 64;

const char* TextOf(LPARAM lparam) {
  return reinterpret_cast<const char*>(lparam);
}

}  // namespace

void ControllerDialog::OnVoipAttached() {
  speaker_volume = GetMixerVolume(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  SetSoundMapperDevices();
  if (handset_present) SelectVoipAudioDevice();
  LightMainLed();
  if (reinit_pending) bridge_.fReInitial();
  reinit_pending = false;
  UpdateTray();
}

void ControllerDialog::OnCallInProgress(LPARAM id_text) {
  bridge_.fFocusAP();
  host_.window.KillTimer(m_hWnd, TIMER_RING_BLINK);
  ring_blink_running = false;
  LightMainLed();
  // The id is cut to its 15 characters; without a text the call is in progress all the
  // same, only its id stays unknown (empty). A pointer into memory that cannot be read is no
  // text either, and a text is read no further than its memory can be.
  ClearText(active_call_id);
  const std::size_t readable = ReadableMessageBytes(id_text, sizeof active_call_id - 1);
  CopyText(active_call_id, readable > 0 ? TextOf(id_text) : nullptr, readable);
  FetchActiveCalls();
  MatchParticipantCalls();
  call_active = true;
  call_start_time = host_.clock.Time();
}

void ControllerDialog::OnCallFinished() {
  // A call ended from the client's side leaves the call screens as END CALL would.
  DispatchKey(KEY_END_CALL);
  host_.window.KillTimer(m_hWnd, TIMER_RING_BLINK);
  ring_blink_running = false;
  LightMainLed();
  on_hold = false;
  handset_.fSetLEDStatus(0, 0);
  muted = false;
  handset_.fSetLEDStatus(1, 0);
  call_active = false;
  ClearText(call_digits);
}

void ControllerDialog::OnSecondCall(LPARAM id_text) {
  // A further call while ours is held joins it as a conference.
  if (!call_active || !on_hold) return;
  // Without a readable id there is nothing to join.
  const std::size_t readable = ReadableMessageBytes(id_text, kJoinCommandSize - 1);
  if (readable == 0) return;
  // A bounded copy of the new id: an id this long could not fit the command anyway.
  char new_id[kJoinCommandSize];
  CopyText(new_id, TextOf(id_text), readable);
  char command[kJoinCommandSize];
  // A command that does not fit would join the wrong call: then nothing of the join happens.
  if (!BuildJoinCommand(new_id, active_call_id, command, sizeof command)) return;
  bridge_.fSending(command);
  DrawCallWithList(LIST_RESET);
  bridge_.fSetCallInProgress(active_call_id);
}

void ControllerDialog::OnCallRinging(WPARAM count, LPARAM caller) {
  // At most `count` characters, as strncpy takes them: the count is unsigned, so a huge one
  // takes the whole text. The buffer bounds the copy whatever the count, and the text is read
  // no further than its memory can be (none of it from a pointer into unreadable memory).
  ClearText(caller_text);
  const std::size_t wanted = std::min<std::size_t>(count, sizeof caller_text - 1);
  const std::size_t readable = ReadableMessageBytes(caller, wanted);
  CopyText(caller_text, readable > 0 ? TextOf(caller) : nullptr, readable);
  DrawIncomingCall(caller_text);
  host_.window.KillTimer(m_hWnd, TIMER_RING_BLINK);
  ring_led_phase = false;
  host_.window.SetTimer(m_hWnd, TIMER_RING_BLINK, kRingBlinkMs);
  ring_blink_running = true;
}

}  // namespace mivo
