// What the handset shows again after it lost power. Unplugged, reset on the USB bus or
// suspended with the PC, it comes back with a blank display and dark LEDs, while the call it
// left may still ring, be held or be muted. A dark mute LED on a muted call would tell the
// user that the far end hears them, so the page and the LEDs follow the call state again.
#include "app/controller_dialog.h"

namespace mivo {

namespace {

enum class CallShown { kNone, kRinging, kCall };

// Only a client on line reports the calls: while it is off line or detached the call flags
// are left from before and the handset shows no call (the client coming on line again starts
// from the idle page).
CallShown CallToShow(const ControllerDialog& c) {
  if (!c.voip_online) return CallShown::kNone;
  // A ring takes the display as it did when it began, also over a call in progress.
  if (c.ring_blink_running) return CallShown::kRinging;
  if (c.call_active) return CallShown::kCall;
  return CallShown::kNone;
}

}  // namespace

void ControllerDialog::ShowCallStatePage() {
  switch (CallToShow(*this)) {
    case CallShown::kRinging:
      DrawIncomingCall(caller_text);
      break;
    case CallShown::kCall:
      // The page as it was left, its text and mode kept; the call clock starts again.
      DrawCallPage(nullptr, LIST_REDRAW);
      break;
    case CallShown::kNone:
      // A call or a ring left from before the client went off line is not shown: its clock
      // would write over the idle page, its blink light the LED for nothing.
      if (call_active) host_.window.KillTimer(m_hWnd, TIMER_CALL_CLOCK);
      if (ring_blink_running) {
        host_.window.KillTimer(m_hWnd, TIMER_RING_BLINK);
        ring_blink_running = false;
      }
      DrawIdle();
      break;
  }
}

void ControllerDialog::RestoreCallStateLeds() {
  if (!voip_online) return;
  if (ring_blink_running) {
    // The blink goes on from a lit LED.
    ring_led_phase = true;
    handset_.fSetLEDOn(1);
  }
  if (call_active) {
    handset_.fSetLEDStatus(0, on_hold ? 1 : 0);
    handset_.fSetLEDStatus(1, muted ? 1 : 0);
  }
  UpdateVoicemailLed();
}

}  // namespace mivo
