// The virtual handset inside UsbPhone_Q5.dll: the simulated handset's model over the
// library's window port, its window, the world it reads, and its endpoint for the remote
// channel, which runs the handset's script lines (events, its world lines, `lcd`, `leds`).
// Everything runs on the controller's thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/script_parser.h"
#include "platform/sim/sim_handset.h"
#include "platform/standins/endpoint.h"
#include "platform/standins/handset_window.h"
#include "platform/standins/script_lines.h"
#include "platform/standins/window_port.h"

namespace mivo::standins {

class HandsetStandIn {
 public:
  // Reads the world of the library `module`.
  explicit HandsetStandIn(HINSTANCE module);
  ~HandsetStandIn();
  HandsetStandIn(const HandsetStandIn&) = delete;
  HandsetStandIn& operator=(const HandsetStandIn&) = delete;

  sim::SimHandset& model() { return model_; }

  // fConnectDevice: the model connects (the arrival goes out when the world says plugged),
  // the window opens and the endpoint is made.
  bool Connect(mivo::HWND controller);
  // fCloseDevice: the window and the endpoint go; nothing reaches the controller afterwards.
  bool Close();
  // Shows the model's state after a call changed it.
  void Refresh() { window_.Refresh(); }

  // One line of the remote channel.
  bool RunLine(const std::string& line, std::vector<std::string>* output, std::string* error);

 private:
  void Run(const sim::ScriptCommand& command, std::vector<std::string>* output);
  void Deliver(const sim::ScriptCommand& command);

  HINSTANCE module_;
  sim::SimWorld world_;
  WindowPort port_;
  sim::SimHandset model_;
  HandsetWindow window_;
  std::unique_ptr<Endpoint> endpoint_;
  mivo::HWND controller_ = nullptr;
  bool closed_ = false;
  KeptTexts kept_;
};

}  // namespace mivo::standins
