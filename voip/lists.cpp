// Contacts, call lists, active calls and voicemails fetched from the VoIP bridge.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::FetchContacts() {}

void ControllerDialog::SortContacts(ContactRecord*, int, int) {}

bool ControllerDialog::FetchCalls() { return false; }

bool ControllerDialog::FetchActiveCalls() { return false; }

bool ControllerDialog::FetchVoicemails() { return false; }

void ControllerDialog::MatchParticipantCalls() {}

char ControllerDialog::KeypadLetter(int, int) { return ' '; }

}  // namespace mivo
