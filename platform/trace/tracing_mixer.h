// The mixer with the calls that change something traced: open, close and a volume set, each
// written before it goes on (so before the change notification a set posts). Enumeration and
// volume reads change nothing and pass through untraced.
#pragma once

#include "platform/host.h"
#include "platform/trace/tracer.h"

namespace mivo::trace {

class TracingMixerHost : public MixerHost {
 public:
  TracingMixerHost(MixerHost& inner, Tracer& tracer) : inner_(inner), tracer_(tracer) {}

  bool mixerOpen(MixerHandle* mixer, UINT device, HWND callback, DWORD flags) override;
  bool mixerClose(MixerHandle mixer) override;
  bool mixerSetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                              const DWORD* values) override;

  // Untraced.
  UINT mixerGetNumDevs() override { return inner_.mixerGetNumDevs(); }
  bool mixerGetDevCaps(UINT device, MixerCaps* caps) override {
    return inner_.mixerGetDevCaps(device, caps);
  }
  bool mixerGetLineInfo(MixerHandle mixer, MixerLine* line) override {
    return inner_.mixerGetLineInfo(mixer, line);
  }
  bool mixerGetLineControls(MixerHandle mixer, DWORD line_id, DWORD control_type,
                            MixerControl* control) override {
    return inner_.mixerGetLineControls(mixer, line_id, control_type, control);
  }
  bool mixerGetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                              DWORD* values) override {
    return inner_.mixerGetControlDetails(mixer, control_id, channels, values);
  }

 private:
  MixerHost& inner_;
  Tracer& tracer_;
};

}  // namespace mivo::trace
