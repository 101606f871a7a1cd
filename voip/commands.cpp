// The raw command texts sent to the VoIP client.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::OpenVoicemail(const char*) {}

bool ControllerDialog::CloseVoicemail(const char*) { return false; }

}  // namespace mivo
