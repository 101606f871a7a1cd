// The application object: the single-instance guard, then the controller run as a modal
// dialog for the life of the process.
#pragma once

#include <memory>

#include "app/controller_dialog.h"
#include "platform/framework.h"

namespace mivo {

// The caption of the controller window; a window of any program with this caption keeps a
// second instance from starting.
inline constexpr const char* kWindowCaption = "MivoRun";

class ControllerApp : public Application {
 public:
  ControllerApp(HandsetLibrary& handset, VoipBridge& bridge, const Host& host);

  // Returns false in every case: the process ends after the controller's modal loop.
  bool InitInstance() override;

  // The running controller while its modal loop runs, else null.
  ControllerDialog* main_window() const { return m_pMainWnd; }
  // Whether the last InitInstance was refused by the single-instance guard.
  bool refused() const { return refused_; }

 private:
  HandsetLibrary& handset_;
  VoipBridge& bridge_;
  Host host_;
  ControllerDialog* m_pMainWnd = nullptr;
  bool refused_ = false;
};

}  // namespace mivo
