// The handset mixer's speaker volume: the mixer devices' names, the one open mixer, and the
// volume control of its speaker line.
#include <algorithm>
#include <vector>

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

// A line never has more channels than this; a larger count from the platform is not believed.
constexpr DWORD kMaxChannels = 64;

}  // namespace

int ControllerDialog::EnumerateMixers() {
  const UINT devices = host_.mixer.mixerGetNumDevs();
  for (auto& name : mixer_names) ClearText(name);
  // Only the first kMaxMixers devices have a name slot; later ones are not enumerated.
  const int count = static_cast<int>(std::min<UINT>(devices, kMaxMixers));
  for (int i = 0; i < count; ++i) {
    MixerCaps caps;
    if (host_.mixer.mixerGetDevCaps(static_cast<UINT>(i), &caps)) {
      CopyText(mixer_names[i], caps.product_name, sizeof caps.product_name);
    }
  }
  return count;
}

bool ControllerDialog::OpenMixer(int device, HWND window) {
  if (device < 0) return false;
  // One mixer is held at a time: an arrival after a lost handset (which closes nothing)
  // lets the old one go first instead of leaking it.
  if (mixer_handle != 0) CloseMixer();
  MixerHandle opened = 0;
  if (!host_.mixer.mixerOpen(&opened, static_cast<UINT>(device), window, CALLBACK_WINDOW)) {
    return false;
  }
  mixer_handle = opened;
  return true;
}

bool ControllerDialog::CloseMixer() {
  if (mixer_handle != 0) {
    if (!host_.mixer.mixerClose(mixer_handle)) return false;
    mixer_handle = 0;
  }
  return true;
}

int ControllerDialog::GetMixerVolume(DWORD component_type) {
  MixerLine line;
  line.component_type = component_type;
  if (!host_.mixer.mixerGetLineInfo(mixer_handle, &line)) {
    CloseMixer();
    return 0;
  }
  MixerControl control;
  if (!host_.mixer.mixerGetLineControls(mixer_handle, line.line_id, MIXERCONTROL_CONTROLTYPE_VOLUME,
                                        &control)) {
    CloseMixer();
    return 0;
  }
  // One value per channel of the line; a line that reports no channels is read as one.
  const DWORD channels = std::clamp<DWORD>(line.channels, 1, kMaxChannels);
  std::vector<DWORD> values(channels, 0);
  if (!host_.mixer.mixerGetControlDetails(mixer_handle, control.control_id, channels,
                                          values.data())) {
    CloseMixer();
    return -1;
  }
  return static_cast<int>(values[0]);
}

bool ControllerDialog::SetMixerVolume(DWORD component_type, int value) {
  MixerLine line;
  line.component_type = component_type;
  if (!host_.mixer.mixerGetLineInfo(mixer_handle, &line)) {
    CloseMixer();
    return false;
  }
  MixerControl control;
  if (!host_.mixer.mixerGetLineControls(mixer_handle, line.line_id, MIXERCONTROL_CONTROLTYPE_VOLUME,
                                        &control)) {
    CloseMixer();
    return false;
  }
  // One channel given: the value applies to every channel of the line.
  const DWORD uniform = static_cast<DWORD>(value);
  if (!host_.mixer.mixerSetControlDetails(mixer_handle, control.control_id, 1, &uniform)) {
    CloseMixer();
    return false;
  }
  return true;
}

}  // namespace mivo
