// Placeholder bodies until the simulated component is built.
#include "platform/sim/sim_mixer.h"

namespace mivo::sim {

SimMixer::SimMixer(EventLoop& loop, Trace& trace, SimWorld& world)
    : loop_(loop), trace_(trace), world_(world) {}
bool SimMixer::ExternalSet(std::uint32_t) { return false; }
UINT SimMixer::mixerGetNumDevs() { return 0; }
bool SimMixer::mixerGetDevCaps(UINT, MixerCaps*) { return false; }
bool SimMixer::mixerOpen(MixerHandle*, UINT, HWND, DWORD) { return false; }
bool SimMixer::mixerClose(MixerHandle) { return false; }
bool SimMixer::mixerGetLineInfo(MixerHandle, MixerLine*) { return false; }
bool SimMixer::mixerGetLineControls(MixerHandle, DWORD, DWORD, MixerControl*) { return false; }
bool SimMixer::mixerGetControlDetails(MixerHandle, DWORD, DWORD, DWORD*) { return false; }
bool SimMixer::mixerSetControlDetails(MixerHandle, DWORD, DWORD, const DWORD*) { return false; }

}  // namespace mivo::sim
