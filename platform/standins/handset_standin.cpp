#include "platform/standins/handset_standin.h"

#include "core/constants.h"
#include "platform/sim/event_lines.h"
#include "platform/sim/world_script.h"
#include "platform/standins/remote_channel.h"
#include "platform/standins/world_loader.h"

namespace mivo::standins {

namespace {

constexpr char kStandIn[] = "handset stand-in";

}  // namespace

HandsetStandIn::HandsetStandIn(HINSTANCE module)
    : module_(module),
      port_(module),
      model_(port_, world_),
      window_(module, model_, port_, world_) {
  LoadWorld(module, world_);
}

HandsetStandIn::~HandsetStandIn() {
  endpoint_.reset();
  window_.Close();
}

bool HandsetStandIn::Connect(mivo::HWND controller) {
  const bool ok = model_.fConnectDevice(controller);
  if (controller == nullptr) return ok;
  controller_ = controller;
  closed_ = false;
  window_.Show(controller);
  if (!endpoint_) {
    endpoint_ = std::make_unique<Endpoint>(
        module_, channel::kHandsetEndpoint,
        [this](const std::string& line, std::vector<std::string>* output, std::string* error) {
          return RunLine(line, output, error);
        });
  }
  return ok;
}

bool HandsetStandIn::Close() {
  const bool ok = model_.fCloseDevice();
  controller_ = nullptr;
  closed_ = true;
  endpoint_.reset();
  window_.Close();
  return ok;
}

bool HandsetStandIn::RunLine(const std::string& line, std::vector<std::string>* output,
                             std::string* error) {
  const bool done = RunScriptLine(
      line, [&](const sim::ScriptCommand& command) { Run(command, output); }, error);
  window_.Refresh();
  return done;
}

void HandsetStandIn::Run(const sim::ScriptCommand& c, std::vector<std::string>* output) {
  if (c.name == "lcd") {
    sim::Positional(c, 0, 0);
    for (const std::string& line : sim::LcdLines(model_)) output->push_back(line);
  } else if (c.name == "leds") {
    sim::Positional(c, 0, 0);
    output->push_back(sim::LedsLine(model_));
  } else if (c.name == "driver") {
    sim::ApplyWorldCommand(c, world_);
  } else if (c.name == "handset" || c.name == "key" || c.name == "press" || c.name == "report" ||
             c.name == "power") {
    Deliver(c);
  } else {
    NotHere(c, kStandIn);
  }
}

void HandsetStandIn::Deliver(const sim::ScriptCommand& c) {
  const sim::DeviceEvent event = sim::ParseDeviceEvent(c);
  if (event.effect == sim::DeviceEvent::Effect::kWorld) {
    sim::ApplyWorldCommand(c, world_);
    return;
  }
  if (controller_ == nullptr) {
    throw sim::ScriptError(c.name + (closed_ ? " after the program has exited" : " before start"));
  }
  sim::ApplyDeviceEvent(event, &model_, nullptr, false);
  const ::HWND target = win32::ToHwnd(controller_);
  const ::LPARAM lparam = event.text ? kept_.Keep(*event.text) : event.lparam;
  if (::PostMessageA(target, event.message, event.wparam, lparam) == FALSE) {
    throw sim::ScriptError(c.name + ": the controller's window is gone");
  }
  if (!event.release_after_ms) return;
  // The key comes up after that many real milliseconds, unless the handset was closed.
  const mivo::HWND controller = controller_;
  port_.Schedule(static_cast<std::uint32_t>(*event.release_after_ms), [this, controller] {
    if (controller_ == controller) port_.PostTo(controller, MSG_HANDSET_KEY, 1, KEY_RELEASE);
  });
}

}  // namespace mivo::standins
