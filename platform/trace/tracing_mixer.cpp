#include "platform/trace/tracing_mixer.h"

#include "platform/trace/trace_args.h"

namespace mivo::trace {

bool TracingMixerHost::mixerOpen(MixerHandle* mixer, UINT device, HWND callback, DWORD flags) {
  tracer_.Call([&] { return CallLine("mixerOpen", {N(device)}); });
  return inner_.mixerOpen(mixer, device, callback, flags);
}

bool TracingMixerHost::mixerClose(MixerHandle mixer) {
  tracer_.Call("mixerClose()");
  return inner_.mixerClose(mixer);
}

bool TracingMixerHost::mixerSetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                              const DWORD* values) {
  // The first channel's value stands for all: the controller sets both channels alike.
  tracer_.Call([&] {
    return CallLine("mixerSetControlDetails",
                    {values != nullptr && channels > 0 ? N(values[0]) : std::string()});
  });
  return inner_.mixerSetControlDetails(mixer, control_id, channels, values);
}

}  // namespace mivo::trace
