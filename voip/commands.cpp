// The raw command texts sent to the VoIP client.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::OpenVoicemail(const char*) {}

bool ControllerDialog::CloseVoicemail(const char*) { return false; }

bool ControllerDialog::BuildJoinCommand(const char*, const char*, char* out, std::size_t out_size) {
  if (out_size > 0) out[0] = 0;
  return false;
}

}  // namespace mivo
