#include "app/controller_app.h"

namespace mivo {

ControllerApp::ControllerApp(HandsetLibrary& handset, VoipBridge& bridge, const Host& host)
    : handset_(handset), bridge_(bridge), host_(host) {}

bool ControllerApp::InitInstance() {
  // The framework's control-container and 3-D control set-up has nothing to do on our own
  // framework; the single-instance guard comes first.
  refused_ = host_.window.FindWindow(nullptr, kWindowCaption) != nullptr;
  if (refused_) return false;

  // The controller holds its tables as fixed arrays and is large: it lives on the heap, for
  // exactly the duration of the modal loop.
  auto controller = std::make_unique<ControllerDialog>(handset_, bridge_, host_);
  m_pMainWnd = controller.get();
  controller->DoModal();
  m_pMainWnd = nullptr;
  controller.reset();
  return false;
}

}  // namespace mivo
