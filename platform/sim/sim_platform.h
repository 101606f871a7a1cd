// The whole simulated platform in one object: the world, the event loop, the trace, the
// handset, the VoIP client and the PC, wired together, and the Host the controller gets.
#pragma once

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

namespace mivo::sim {

class SimPlatform {
 public:
  // `out` receives the trace and the observations. The world starts as the scenario scripts'
  // defaults (2026-01-05 09:00:00, time zone 0 0, client found and on line, handset not
  // plugged, driver ok, control device and registry key present).
  explicit SimPlatform(std::ostream& out);

  SimWorld world;
  EventLoop loop;
  Trace trace;
  SimWindowHost window;
  SimClock clock;
  SimMixer mixer;
  SimSystem system;
  SimHandset handset;
  SimVoipClient voip;
  SimFiles files;

  Host host() { return Host{window, clock, mixer, system, files}; }
};

}  // namespace mivo::sim
