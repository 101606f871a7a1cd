// The call procedures behind the keys.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::DialKey(int) {}

void ControllerDialog::DeleteDialChar() {}

void ControllerDialog::PlaceDialledCall() {}

void ControllerDialog::CallContact() {}

void ControllerDialog::DialSpeedEntry(int) {}

void ControllerDialog::CallBackHistory() {}

void ControllerDialog::CallBackVoicemail() {}

void ControllerDialog::StartVoicemailPlayback() {}

void ControllerDialog::AnswerCall() {}

void ControllerDialog::HangUp() {}

void ControllerDialog::ToggleHold() {}

void ControllerDialog::ToggleMute() {}

void ControllerDialog::VolumeStep(bool) {}

void ControllerDialog::SendDtmf(int) {}

void ControllerDialog::StartConference() {}

void ControllerDialog::EndParty() {}

void ControllerDialog::EmptyParticipants() {}

}  // namespace mivo
