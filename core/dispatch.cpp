// The event dispatch: the reaction to every message of the handset library, the VoIP bridge and the system.
#include "app/controller_dialog.h"

namespace mivo {

LRESULT ControllerDialog::DefWindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return Dialog::DefWindowProc(message, wparam, lparam);
}

void ControllerDialog::LightMainLed() {}

void ControllerDialog::UpdateVoicemailLed() {}

void ControllerDialog::UpdateTray() {}

void ControllerDialog::ResetDialState() {}

void ControllerDialog::DispatchKey(int key) { HandleKey(screen, key); }

}  // namespace mivo
