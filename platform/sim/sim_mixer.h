// The simulated multimedia mixer: the world's mixer devices with their speaker volumes. A
// change while a mixer is open with a callback window posts MM_MIXM_CONTROL_CHANGE to it;
// with no mixer open the calls act on device 0, and fail when there is none.
#pragma once

#include "platform/host.h"
#include "platform/sim/event_loop.h"
#include "platform/sim/sim_world.h"

namespace mivo::sim {

class SimMixer : public MixerHost {
 public:
  SimMixer(EventLoop& loop, SimWorld& world);

  // Another program sets the speaker volume of the open mixer (or of device 0 when none is
  // open); posts the change notification when a mixer is open with a callback.
  bool ExternalSet(std::uint32_t volume);
  bool is_open() const { return open_device_ >= 0; }

  UINT mixerGetNumDevs() override;
  bool mixerGetDevCaps(UINT device, MixerCaps* caps) override;
  bool mixerOpen(MixerHandle* mixer, UINT device, HWND callback, DWORD flags) override;
  bool mixerClose(MixerHandle mixer) override;
  bool mixerGetLineInfo(MixerHandle mixer, MixerLine* line) override;
  bool mixerGetLineControls(MixerHandle mixer, DWORD line_id, DWORD control_type,
                            MixerControl* control) override;
  bool mixerGetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                              DWORD* values) override;
  bool mixerSetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                              const DWORD* values) override;

 private:
  EventLoop& loop_;
  SimWorld& world_;
  // The device a handle stands for (0: device 0), or -1 when it stands for none.
  int DeviceOf(MixerHandle mixer) const;
  MixerHandle OpenHandle() const;
  // Posts the change notification when `device` is open with a callback window.
  void NotifyChange(int device);

  int open_device_ = -1;
  HWND callback_ = nullptr;
};

}  // namespace mivo::sim
