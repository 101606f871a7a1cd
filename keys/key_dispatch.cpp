// The key dispatcher: what each key does on each screen.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::HandleKey(int, int) {}

}  // namespace mivo
