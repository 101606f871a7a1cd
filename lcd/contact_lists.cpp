// The scrolling contact list and conference list, the letter search and the participant toggle.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::DrawContactList(int, int) { screen = SCREEN_CONTACT_LIST; }

void ControllerDialog::DrawConferenceList(int, int) {}

void ControllerDialog::ShowConferenceList(int) { screen = SCREEN_CONFERENCE_LIST; }

void ControllerDialog::ToggleParticipant(int) {}

}  // namespace mivo
