#include "platform/sim/sim_mixer.h"

#include "core/text.h"

namespace mivo::sim {

namespace {

// Every device has one destination line, the speakers, with one volume control.
constexpr DWORD kSpeakerLineId = 0xFFFF0000u;
constexpr DWORD kSpeakerChannels = 2;
constexpr DWORD kVolumeControlId = 1;
// Open handles are this base plus the device number; 0 stays the empty handle.
constexpr MixerHandle kHandleBase = 0x4D00;

}  // namespace

SimMixer::SimMixer(EventLoop& loop, SimWorld& world) : loop_(loop), world_(world) {}

MixerHandle SimMixer::OpenHandle() const {
  return kHandleBase + static_cast<MixerHandle>(open_device_);
}

int SimMixer::DeviceOf(MixerHandle mixer) const {
  if (mixer == 0) return world_.pc.mixers.empty() ? -1 : 0;
  if (is_open() && mixer == OpenHandle() &&
      static_cast<std::size_t>(open_device_) < world_.pc.mixers.size()) {
    return open_device_;
  }
  return -1;
}

void SimMixer::NotifyChange(int device) {
  if (!is_open() || callback_ == nullptr || device != open_device_) return;
  loop_.Post(MM_MIXM_CONTROL_CHANGE, static_cast<WPARAM>(OpenHandle()),
             static_cast<LPARAM>(kVolumeControlId));
}

bool SimMixer::ExternalSet(std::uint32_t volume) {
  const int device = is_open() ? open_device_ : 0;
  if (static_cast<std::size_t>(device) >= world_.pc.mixers.size()) return false;
  world_.pc.mixers[static_cast<std::size_t>(device)].volume = volume;
  NotifyChange(device);
  return true;
}

UINT SimMixer::mixerGetNumDevs() {
  return static_cast<UINT>(world_.pc.mixers.size());
}

bool SimMixer::mixerGetDevCaps(UINT device, MixerCaps* caps) {
  if (caps == nullptr || device >= world_.pc.mixers.size()) return false;
  CopyText(caps->product_name, world_.pc.mixers[device].name.c_str());
  return true;
}

bool SimMixer::mixerOpen(MixerHandle* mixer, UINT device, HWND callback, DWORD flags) {
  if (mixer == nullptr || device >= world_.pc.mixers.size()) return false;
  open_device_ = static_cast<int>(device);
  // Notifications go to the window only when the caller asked for a window callback.
  callback_ = (flags & CALLBACK_WINDOW) != 0 ? callback : nullptr;
  *mixer = OpenHandle();
  return true;
}

bool SimMixer::mixerClose(MixerHandle mixer) {
  if (!is_open() || mixer != OpenHandle()) return false;
  open_device_ = -1;
  callback_ = nullptr;
  return true;
}

bool SimMixer::mixerGetLineInfo(MixerHandle mixer, MixerLine* line) {
  if (line == nullptr || DeviceOf(mixer) < 0) return false;
  if (line->component_type != MIXERLINE_COMPONENTTYPE_DST_SPEAKERS) return false;
  line->line_id = kSpeakerLineId;
  line->channels = kSpeakerChannels;
  return true;
}

bool SimMixer::mixerGetLineControls(MixerHandle mixer, DWORD line_id, DWORD control_type,
                                    MixerControl* control) {
  if (control == nullptr || DeviceOf(mixer) < 0) return false;
  if (line_id != kSpeakerLineId || control_type != MIXERCONTROL_CONTROLTYPE_VOLUME) {
    return false;
  }
  control->control_id = kVolumeControlId;
  return true;
}

bool SimMixer::mixerGetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                      DWORD* values) {
  const int device = DeviceOf(mixer);
  if (device < 0 || values == nullptr || control_id != kVolumeControlId) return false;
  // One channel reads the control as a whole; otherwise one value per channel of the line.
  if (channels != 1 && channels != kSpeakerChannels) return false;
  for (DWORD i = 0; i < channels; ++i) {
    values[i] = world_.pc.mixers[static_cast<std::size_t>(device)].volume;
  }
  return true;
}

bool SimMixer::mixerSetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                      const DWORD* values) {
  const int device = DeviceOf(mixer);
  if (device < 0 || values == nullptr || control_id != kVolumeControlId) return false;
  if (channels != 1 && channels != kSpeakerChannels) return false;
  // The model keeps one volume for both channels: the first value given.
  world_.pc.mixers[static_cast<std::size_t>(device)].volume = values[0];
  NotifyChange(device);
  return true;
}

}  // namespace mivo::sim
