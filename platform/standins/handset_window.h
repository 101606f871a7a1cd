// The virtual handset's window, "Tr520 virtual handset": for now the four LCD rows of the
// model as plain text lines, and the LEDs.
#pragma once

#include "platform/sim/device_port.h"
#include "platform/sim/sim_handset.h"
#include "platform/win32/windows_api.h"

namespace mivo::standins {

class HandsetWindow {
 public:
  HandsetWindow(HINSTANCE module, sim::SimHandset& model, sim::DevicePort& port,
                sim::SimWorld& world);
  ~HandsetWindow();
  HandsetWindow(const HandsetWindow&) = delete;
  HandsetWindow& operator=(const HandsetWindow&) = delete;

  // Opens the window (once), the keys going to `controller`.
  void Show(mivo::HWND controller);
  // Repaints after the model changed.
  void Refresh();
  // Closes the window.
  void Close();

 private:
  static LRESULT CALLBACK Proc(::HWND window, ::UINT message, ::WPARAM wparam, ::LPARAM lparam);

  HINSTANCE module_;
  sim::SimHandset& model_;
  ::HWND window_ = nullptr;
};

}  // namespace mivo::standins
