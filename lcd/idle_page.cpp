// The idle page and the contact detail page, and the hour rule they share.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::DrawIdle() { screen = SCREEN_IDLE; }

void ControllerDialog::DrawContactDetail(const ContactRecord&) { screen = SCREEN_CONTACT_DETAIL; }

ControllerDialog::HourText ControllerDialog::ApplyHourRule(int, int hour) { return {hour, ""}; }

}  // namespace mivo
