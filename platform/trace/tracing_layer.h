// The whole tracing layer in one object: the tracer over a sink, and the decorators around a
// handset library, a VoIP bridge and a host. The controller is handed handset(), bridge() and
// host() instead of what they wrap; the clock and the files pass through untraced.
#pragma once

#include "platform/host.h"
#include "platform/trace/tracer.h"
#include "platform/trace/tracing_handset.h"
#include "platform/trace/tracing_mixer.h"
#include "platform/trace/tracing_system.h"
#include "platform/trace/tracing_voip_bridge.h"
#include "platform/trace/tracing_window.h"

namespace mivo::trace {

class TracingLayer {
 public:
  TracingLayer(TraceSink& sink, HandsetLibrary& handset, VoipBridge& bridge, const Host& host)
      : tracer_(sink),
        handset_(handset, tracer_),
        bridge_(bridge, tracer_),
        window_(host.window, tracer_),
        mixer_(host.mixer, tracer_),
        system_(host.system, tracer_),
        clock_(host.clock),
        files_(host.files) {}
  TracingLayer(const TracingLayer&) = delete;
  TracingLayer& operator=(const TracingLayer&) = delete;

  Tracer& tracer() { return tracer_; }
  HandsetLibrary& handset() { return handset_; }
  VoipBridge& bridge() { return bridge_; }
  Host host() { return Host{window_, clock_, mixer_, system_, files_}; }

 private:
  Tracer tracer_;
  TracingHandset handset_;
  TracingVoipBridge bridge_;
  TracingWindowHost window_;
  TracingMixerHost mixer_;
  TracingSystemHost system_;
  ClockHost& clock_;
  FileHost& files_;
};

}  // namespace mivo::trace
