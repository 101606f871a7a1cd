// The handset mixer's speaker volume.
#include "app/controller_dialog.h"

namespace mivo {

int ControllerDialog::EnumerateMixers() { return 0; }

bool ControllerDialog::OpenMixer(int, HWND) { return false; }

bool ControllerDialog::CloseMixer() { return true; }

int ControllerDialog::GetMixerVolume(DWORD) { return 0; }

bool ControllerDialog::SetMixerVolume(DWORD, int) { return false; }

}  // namespace mivo
