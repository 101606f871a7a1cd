// The multimedia mixer of the PC (winmm).
#pragma once

#include "platform/host.h"

namespace mivo::win32 {

class Win32Mixer : public MixerHost {
 public:
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

  // The most channels a control's values are read or written for.
  static constexpr DWORD kMaxChannels = 32;
};

}  // namespace mivo::win32
