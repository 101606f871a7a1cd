// The timers of the controller window and the periodic work they drive: hiding the window,
// the idle and call clocks, the LEDs, transient pages, and the auto-repeat and long-press
// actions, which the timer handler sends to the dispatch as MSG_REPEAT_ACTION so that they
// run against the key that is held at that moment.
#include <cstdint>

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

// One volume step: 34 steps from silence to full.
constexpr int kVolumeStep = 1928;
constexpr int kVolumeMax = 65536;

}  // namespace

void ControllerDialog::OnTimer(UINT id) {
  switch (id) {
    case TIMER_HIDE:
      host_.window.KillTimer(m_hWnd, TIMER_HIDE);
      host_.window.ShowWindow(m_hWnd, SW_HIDE);
      break;
    case TIMER_IDLE_REFRESH:
      if (screen == SCREEN_IDLE) DrawIdle();
      break;
    case TIMER_CALL_CLOCK:
      // The timer keeps running between calls; the row shows only during one.
      if (call_active) DrawCallClock();
      break;
    case TIMER_CANCEL_HOLD:
    case TIMER_LONG_PRESS:
      host_.window.KillTimer(m_hWnd, id);
      host_.window.SendMessage(m_hWnd, MSG_REPEAT_ACTION, id, 0);
      break;
    case TIMER_UP_REPEAT:
    case TIMER_DOWN_REPEAT:
    case TIMER_VOLUME_UP_REPEAT:
    case TIMER_VOLUME_DOWN_REPEAT:
      host_.window.SendMessage(m_hWnd, MSG_REPEAT_ACTION, id, 0);
      break;
    case TIMER_LED_OFF:
      host_.window.KillTimer(m_hWnd, TIMER_LED_OFF);
      handset_.fSetLEDOn(0);
      break;
    case TIMER_RING_BLINK:
      ring_led_phase = !ring_led_phase;
      handset_.fSetLEDOn(ring_led_phase ? 1 : 0);
      break;
    case TIMER_VOLUME_SCREEN:
      host_.window.KillTimer(m_hWnd, TIMER_VOLUME_SCREEN);
      RedrawCurrentScreen();
      volume_overlay = false;
      break;
    case TIMER_WRONG_NUMBER:
      host_.window.KillTimer(m_hWnd, TIMER_WRONG_NUMBER);
      DrawIdle();
      break;
    default:
      break;
  }
  Default();
}

void ControllerDialog::RunRepeatAction(WPARAM timer_id) {
  switch (timer_id) {
    case TIMER_UP_REPEAT:
      RepeatListStep(KEY_UP, TIMER_UP_REPEAT, LIST_UP);
      break;
    case TIMER_DOWN_REPEAT:
      RepeatListStep(KEY_DOWN, TIMER_DOWN_REPEAT, LIST_DOWN);
      break;
    case TIMER_CANCEL_HOLD:
      // CANCEL held for 1.5 s goes home from any screen.
      cancel_hold_left_dialing = held_key == KEY_CANCEL && screen == SCREEN_DIALING;
      if (held_key == KEY_CANCEL) DrawIdle();
      break;
    case TIMER_LONG_PRESS: {
      // The long presses of number entry act on the dialing page only: a key pressed there
      // and held again after the page gave way (to a call placed or ringing in, to the idle
      // page) does nothing more to the number. The CANCEL hold of the same press, which has
      // just taken the handset home, does not count as leaving the page.
      const bool on_dialing =
          screen == SCREEN_DIALING || (held_key == KEY_CANCEL && cancel_hold_left_dialing);
      cancel_hold_left_dialing = false;
      if (!on_dialing) break;
      if (held_key == KEY_CANCEL) {
        ResetDialState();
        DrawIdle();
      } else if (held_key == KEY_0) {
        // The bridge turns the "0" just typed into "+" and hands the number back.
        ClearText(dial_buf);
        bridge_.fSendKey(KEY_0, 1, dial_buf, &dial_len);
        DrawDialing();
      }
      break;
    }
    case TIMER_VOLUME_UP_REPEAT:
      RepeatVolumeStep(KEY_VOL_UP, TIMER_VOLUME_UP_REPEAT, kVolumeStep);
      break;
    case TIMER_VOLUME_DOWN_REPEAT:
      RepeatVolumeStep(KEY_VOL_DOWN, TIMER_VOLUME_DOWN_REPEAT, -kVolumeStep);
      break;
    default:
      break;
  }
}

// One more list step while the key is held; the drawer arms the timer again. The first
// expiry after the release stops the repeat and moves nothing.
void ControllerDialog::RepeatListStep(int key, UINT timer_id, int step) {
  if (held_key != key) {
    host_.window.KillTimer(m_hWnd, timer_id);
    return;
  }
  switch (screen) {
    case SCREEN_CONTACT_LIST:
      DrawContactList(step, 0);
      break;
    case SCREEN_HISTORY_INCOMING:
    case SCREEN_HISTORY_MISSED:
    case SCREEN_HISTORY_OUTGOING:
      DrawHistoryEntry(step, "");  // an empty title keeps the one shown
      break;
    case SCREEN_VOICEMAIL_INBOX:
      DrawVoicemailInbox(step);
      break;
    case SCREEN_CONFERENCE_LIST:
      DrawConferenceList(step, 0);
      break;
    default:
      break;
  }
}

// One more volume step while the key is held, kept within 0..65536.
void ControllerDialog::RepeatVolumeStep(int key, UINT timer_id, int delta) {
  if (held_key != key) {
    host_.window.KillTimer(m_hWnd, timer_id);
    return;
  }
  std::int64_t volume = static_cast<std::int64_t>(speaker_volume) + delta;
  if (volume < 0) volume = 0;
  if (volume > kVolumeMax) volume = kVolumeMax;
  speaker_volume = static_cast<std::int32_t>(volume);
  SetMixerVolume(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, speaker_volume);
  DrawVolume();
}

}  // namespace mivo
