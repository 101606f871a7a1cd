// The whole simulated platform in one object: the world, the event loop, the trace, the
// handset, the VoIP client and the PC, wired together. The controller gets them through the
// tracing layer: every call it makes is written to the trace before it reaches the model.
#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include "platform/host.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_handset.h"
#include "platform/sim/sim_mixer.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_voip_client.h"
#include "platform/sim/sim_window.h"
#include "platform/sim/sim_world.h"
#include "platform/sim/trace.h"
#include "platform/trace/trace_sink.h"
#include "platform/trace/tracing_handset.h"
#include "platform/trace/tracing_mixer.h"
#include "platform/trace/tracing_system.h"
#include "platform/trace/tracing_voip_bridge.h"
#include "platform/trace/tracing_window.h"

namespace mivo::sim {

class SimPlatform {
 public:
  // Makes a VoIP bridge that takes the simulated client's place (a real client's bridge),
  // running on the platform's event loop.
  using BridgeFactory = std::function<std::unique_ptr<VoipBridge>(EventLoop&)>;

  // `out` receives the trace and the observations. The world starts as the scenario scripts'
  // defaults (2026-01-05 09:00:00, time zone 0 0, client found and on line, handset not
  // plugged, driver ok, control device and registry key present).
  // With `make_bridge`, the controller's VoIP bridge is the one it makes; the simulated client
  // is then left alone.
  explicit SimPlatform(std::ostream& out, const BridgeFactory& make_bridge = nullptr);
  SimPlatform(const SimPlatform&) = delete;
  SimPlatform& operator=(const SimPlatform&) = delete;

  SimWorld world;
  EventLoop loop;
  trace::StreamSink sink;
  Trace trace;
  // The models, untraced: what scripts and tests drive and observe.
  SimWindowHost window;
  SimClock clock;
  SimMixer mixer;
  SimSystem system;
  SimHandset handset;
  SimVoipClient voip;
  SimFiles files;
  // The bridge that takes the simulated client's place, when there is one.
  std::unique_ptr<VoipBridge> external_voip;
  // The same behind the tracing layer: what the controller calls.
  trace::TracingWindowHost traced_window;
  trace::TracingMixerHost traced_mixer;
  trace::TracingSystemHost traced_system;
  trace::TracingHandset traced_handset;
  trace::TracingVoipBridge traced_voip;

  // The controller's platform: the clock and the files are not traced.
  Host host() { return Host{traced_window, clock, traced_mixer, traced_system, files}; }
};

}  // namespace mivo::sim
