// The tuning values handed to the handset's USB audio driver.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::ApplyUsbAudioSettings() {}

}  // namespace mivo
