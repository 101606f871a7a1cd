// The language texts of lang.ini and the volume saved in setup.ini.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::LoadLanguageTexts(int language) { language_id = language; }

void ControllerDialog::SaveVolumeSetting() {}

}  // namespace mivo
