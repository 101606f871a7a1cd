// The timers and the periodic work they drive.
#include "app/controller_dialog.h"

namespace mivo {

void ControllerDialog::OnTimer(UINT id) {
  if (id == TIMER_HIDE) {
    host_.window.KillTimer(m_hWnd, TIMER_HIDE);
    host_.window.ShowWindow(m_hWnd, SW_HIDE);
  }
  Default();
}

}  // namespace mivo
