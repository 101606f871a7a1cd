// The event dispatch: every message of the handset library, the VoIP bridge and the system
// reaches the controller here, gets its reaction, and then goes on to the default window
// procedure. The longer reactions live in core/voip_events.cpp and core/device_events.cpp.
#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

constexpr int kLedOffMs = 20000;

// An LPARAM that carries a number (language, key code) holds a 32-bit value.
std::int32_t AsInt32(LPARAM value) {
  return static_cast<std::int32_t>(value);
}

}  // namespace

LRESULT ControllerDialog::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_POWERBROADCAST:
      if (wparam == PBT_APMSUSPEND) {
        handset_.fSuspendDevice();
      } else if (wparam == PBT_APMRESUMESUSPEND) {
        // The handset lost its display and LEDs while suspended.
        ShowCallStatePage();
        RestoreCallStateLeds();
      }
      break;
    case MM_MIXM_CONTROL_CHANGE:
      speaker_volume = GetMixerVolume(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
      break;
    case MSG_VOIP_ATTACHED:
      OnVoipAttached();
      break;
    case MSG_VOIP_DETACHED:
      voip_online = false;
      UpdateTray();
      break;
    case MSG_CALL_IN_PROGRESS:
      OnCallInProgress(lparam);
      break;
    case MSG_CALL_FINISHED:
      OnCallFinished();
      break;
    case MSG_SECOND_CALL:
      OnSecondCall(lparam);
      break;
    case MSG_CALL_ON_HOLD:
      on_hold = true;
      handset_.fSetLEDStatus(0, 1);
      break;
    case MSG_CALL_RESUMED:
      on_hold = false;
      handset_.fSetLEDStatus(0, 0);
      break;
    case MSG_CALL_RINGING:
      OnCallRinging(wparam, lparam);
      break;
    case MSG_VOIP_ONLINE:
      DrawIdle();
      voip_online = true;
      UpdateVoicemailLed();
      UpdateTray();
      break;
    case MSG_VOICEMAIL_CHANGED:
      UpdateVoicemailLed();
      break;
    case MSG_CALL_FAILED:
      // The bridge forgets the number; our copy of it stays as it was.
      bridge_.fSendKey(KEY_END_CALL, 0, dial_buf, &dial_len);
      DrawWrongNumber();
      break;
    case MSG_VOICEMAIL_ENDED:
      // The end of a playback acts as a CANCEL press and its release.
      UpdateVoicemailLed();
      DispatchKey(KEY_CANCEL);
      DispatchKey(KEY_RELEASE);
      break;
    case MSG_MISSED_CALLS_CHANGED:
      if (screen == SCREEN_IDLE) DrawIdle();
      break;
    case MSG_LANGUAGE:
      LoadLanguageTexts(AsInt32(lparam));
      break;
    case MSG_HANDSET_ARRIVED:
      OnHandsetArrived();
      break;
    case MSG_HANDSET_REMOVED:
      OnHandsetRemoved();
      break;
    case MSG_HANDSET_KEY:
      OnHandsetKey(wparam, lparam);
      break;
    case MSG_HANDSET_LOST:
      // The handset vanished without a removal: the tray and the mixer are left alone.
      ResetDialState();
      handset_present = false;
      break;
    case MSG_DRIVER_CHECK:
      OnDriverCheck();
      break;
    case MSG_REPEAT_ACTION:
      RunRepeatAction(wparam);
      break;
    default:
      break;
  }
  return Dialog::DefWindowProc(message, wparam, lparam);
}

void ControllerDialog::LightMainLed() {
  handset_.fSetLEDOn(1);
  host_.window.SetTimer(m_hWnd, TIMER_LED_OFF, kLedOffMs);
}

void ControllerDialog::UpdateVoicemailLed() {
  handset_.fSetVoiceLEDOn(bridge_.fGetUnPlayedVoiceMailCount() > 0 ? 1 : 0);
}

void ControllerDialog::UpdateTray() {
  UpdateTrayIcon(handset_present, voip_online);
}

void ControllerDialog::ResetDialState() {
  dial_len = 0;
  ClearText(dial_buf);
  bridge_.fSendKey(KEY_END_CALL, 0, dial_buf, &dial_len);
}

void ControllerDialog::DispatchKey(int key) {
  HandleKey(screen, key);
}

std::size_t ControllerDialog::ReadableMessageBytes(LPARAM pointer, std::size_t max_bytes) {
  if (pointer == 0) return 0;
  return host_.system.ReadableBytes(reinterpret_cast<const void*>(pointer), max_bytes);
}

}  // namespace mivo
