// Redrawing the page that shows, without moving any cursor.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::RedrawCurrentScreen() {}

}  // namespace mivo
