// The top pages: contacts and conference overviews, dial pad, dialing and speed dial.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::DrawContactsPage() { screen = SCREEN_CONTACTS; }

void ControllerDialog::DrawConferencePage() { screen = SCREEN_CONFERENCE; }

void ControllerDialog::DrawDialPad() { screen = SCREEN_DIAL_PAD; }

void ControllerDialog::DrawDialing() { screen = SCREEN_DIALING; }

void ControllerDialog::DrawSpeedDial() { screen = SCREEN_SPEED_DIAL; }

}  // namespace mivo
