// The call and status pages: incoming call, call page and its clock row, call-with list, volume and wrong number.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::DrawIncomingCall(const char*) { screen = SCREEN_INCOMING_CALL; }

void ControllerDialog::DrawCallPage(const char*, int) { screen = SCREEN_IN_CALL; }

void ControllerDialog::DrawCallWithList(int) { screen = SCREEN_CALL_WITH; }

void ControllerDialog::DrawVolume() {}

void ControllerDialog::DrawWrongNumber() {}

void ControllerDialog::DrawCallClock() {}

}  // namespace mivo
