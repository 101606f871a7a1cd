// The simulated VoIP client inside CallBridge.dll: the client model of the simulated platform
// over the library's window port, the world it reads, and its endpoint for the remote
// channel, which runs the client's script lines (the far end's events and the client's world
// lines). Everything runs on the controller's thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/script_parser.h"
#include "platform/sim/sim_voip_client.h"
#include "platform/standins/endpoint.h"
#include "platform/standins/script_lines.h"
#include "platform/standins/window_port.h"

namespace mivo::standins {

class ClientStandIn {
 public:
  // Reads the world of the library `module`.
  explicit ClientStandIn(HINSTANCE module);
  ~ClientStandIn();
  ClientStandIn(const ClientStandIn&) = delete;
  ClientStandIn& operator=(const ClientStandIn&) = delete;

  sim::SimVoipClient& model() { return model_; }

  // fConnectVoIP: the model attaches to `controller` and the endpoint is made (once).
  bool Connect(mivo::HWND controller, int mode);

  // One line of the remote channel.
  bool RunLine(const std::string& line, std::vector<std::string>* output, std::string* error);

 private:
  void Run(const sim::ScriptCommand& command);
  void Deliver(const sim::ScriptCommand& command);

  HINSTANCE module_;
  sim::SimWorld world_;
  WindowPort port_;
  sim::SimVoipClient model_;
  std::unique_ptr<Endpoint> endpoint_;
  // Where the far end's events go: the window of the last fConnectVoIP.
  mivo::HWND controller_ = nullptr;
  KeptTexts kept_;
};

}  // namespace mivo::standins
