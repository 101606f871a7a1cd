#include "platform/standins/client_standin.h"

#include <set>

#include "platform/sim/event_lines.h"
#include "platform/sim/world_script.h"
#include "platform/standins/remote_channel.h"
#include "platform/standins/world_loader.h"

namespace mivo::standins {

namespace {

constexpr char kStandIn[] = "VoIP client stand-in";

// The world lines that concern the client.
bool ClientWorldLine(const std::string& name) {
  static const std::set<std::string> kNames = {
      "contact", "contacts-generate", "history", "active", "active-clear", "voicemail",
      "missed",  "unplayed",          "online",  "client"};
  return kNames.count(name) != 0;
}

// The far end's events.
bool ClientEvent(const std::string& name) {
  static const std::set<std::string> kNames = {
      "voip",   "language", "ring",   "in-progress",       "second-call",     "finished",
      "failed", "hold",     "resume", "voicemail-changed", "voicemail-ended", "missed-changed"};
  return kNames.count(name) != 0;
}

}  // namespace

ClientStandIn::ClientStandIn(HINSTANCE module)
    : module_(module), port_(module), model_(port_, world_) {
  LoadWorld(module, world_);
}

ClientStandIn::~ClientStandIn() = default;

bool ClientStandIn::Connect(mivo::HWND controller, int mode) {
  const bool ok = model_.fConnectVoIP(controller, mode);
  if (controller == nullptr) return ok;
  controller_ = controller;
  if (!endpoint_) {
    endpoint_ = std::make_unique<Endpoint>(
        module_, channel::kClientEndpoint,
        [this](const std::string& line, std::vector<std::string>*, std::string* error) {
          return RunLine(line, nullptr, error);
        });
  }
  return ok;
}

bool ClientStandIn::RunLine(const std::string& line, std::vector<std::string>*,
                            std::string* error) {
  return RunScriptLine(
      line, [&](const sim::ScriptCommand& command) { Run(command); }, error);
}

void ClientStandIn::Run(const sim::ScriptCommand& c) {
  if (ClientWorldLine(c.name)) {
    sim::ApplyWorldCommand(c, world_);
  } else if (ClientEvent(c.name)) {
    Deliver(c);
  } else {
    NotHere(c, kStandIn);
  }
}

void ClientStandIn::Deliver(const sim::ScriptCommand& c) {
  const sim::DeviceEvent event = sim::ParseDeviceEvent(c);
  if (controller_ == nullptr) throw sim::ScriptError(c.name + " before start");
  if (sim::ApplyDeviceEvent(event, nullptr, &model_, world_.voip.auto_mode)) return;
  const ::LPARAM lparam = event.text ? kept_.Keep(*event.text) : event.lparam;
  if (::PostMessageA(win32::ToHwnd(controller_), event.message, event.wparam, lparam) == FALSE) {
    throw sim::ScriptError(c.name + ": the controller's window is gone");
  }
}

}  // namespace mivo::standins
