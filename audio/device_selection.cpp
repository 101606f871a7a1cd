// The VoIP client's audio devices and the Windows sound mapper's devices.
#include "app/controller_dialog.h"

namespace mivo {

bool ControllerDialog::SelectVoipAudioDevice() { return true; }

void ControllerDialog::ResetVoipAudioDevice() {}

bool ControllerDialog::SetSoundMapperDevices() { return false; }

}  // namespace mivo
