#include "platform/win32/win32_mixer.h"

#include <cstring>

#include "platform/win32/windows_api.h"

namespace mivo::win32 {

namespace {

// An open mixer by its handle; the empty handle stands for mixer device 0.
::HMIXEROBJ MixerObject(MixerHandle mixer) {
  return reinterpret_cast<::HMIXEROBJ>(mixer);
}

::DWORD ObjectFlag(MixerHandle mixer) {
  return mixer != 0 ? MIXER_OBJECTF_HMIXER : MIXER_OBJECTF_MIXER;
}

void PrepareDetails(MIXERCONTROLDETAILS* details, DWORD control_id, DWORD channels,
                    MIXERCONTROLDETAILS_UNSIGNED* values) {
  std::memset(details, 0, sizeof *details);
  details->cbStruct = sizeof *details;
  details->dwControlID = control_id;
  details->cChannels = channels;
  details->cMultipleItems = 0;
  details->cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  details->paDetails = values;
}

}  // namespace

UINT Win32Mixer::mixerGetNumDevs() {
  return ::mixerGetNumDevs();
}

bool Win32Mixer::mixerGetDevCaps(UINT device, MixerCaps* caps) {
  if (caps == nullptr) return false;
  MIXERCAPSA system_caps;
  std::memset(&system_caps, 0, sizeof system_caps);
  if (::mixerGetDevCapsA(device, &system_caps, sizeof system_caps) != MMSYSERR_NOERROR) {
    return false;
  }
  static_assert(sizeof caps->product_name == sizeof system_caps.szPname);
  std::memcpy(caps->product_name, system_caps.szPname, sizeof caps->product_name);
  caps->product_name[sizeof caps->product_name - 1] = '\0';
  return true;
}

bool Win32Mixer::mixerOpen(MixerHandle* mixer, UINT device, HWND callback, DWORD flags) {
  if (mixer == nullptr) return false;
  ::HMIXER opened = nullptr;
  if (::mixerOpen(&opened, device, reinterpret_cast<DWORD_PTR>(ToHwnd(callback)), 0, flags) !=
      MMSYSERR_NOERROR) {
    return false;
  }
  *mixer = reinterpret_cast<MixerHandle>(opened);
  return true;
}

bool Win32Mixer::mixerClose(MixerHandle mixer) {
  return ::mixerClose(reinterpret_cast<::HMIXER>(mixer)) == MMSYSERR_NOERROR;
}

bool Win32Mixer::mixerGetLineInfo(MixerHandle mixer, MixerLine* line) {
  if (line == nullptr) return false;
  MIXERLINEA info;
  std::memset(&info, 0, sizeof info);
  info.cbStruct = sizeof info;
  info.dwComponentType = line->component_type;
  if (::mixerGetLineInfoA(MixerObject(mixer), &info,
                          MIXER_GETLINEINFOF_COMPONENTTYPE | ObjectFlag(mixer)) !=
      MMSYSERR_NOERROR) {
    return false;
  }
  line->line_id = info.dwLineID;
  line->channels = info.cChannels;
  return true;
}

bool Win32Mixer::mixerGetLineControls(MixerHandle mixer, DWORD line_id, DWORD control_type,
                                      MixerControl* control) {
  if (control == nullptr) return false;
  MIXERCONTROLA first;
  std::memset(&first, 0, sizeof first);
  first.cbStruct = sizeof first;
  MIXERLINECONTROLSA controls;
  std::memset(&controls, 0, sizeof controls);
  controls.cbStruct = sizeof controls;
  controls.dwLineID = line_id;
  controls.dwControlType = control_type;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof first;
  controls.pamxctrl = &first;
  if (::mixerGetLineControlsA(MixerObject(mixer), &controls,
                              MIXER_GETLINECONTROLSF_ONEBYTYPE | ObjectFlag(mixer)) !=
      MMSYSERR_NOERROR) {
    return false;
  }
  control->control_id = first.dwControlID;
  return true;
}

bool Win32Mixer::mixerGetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                        DWORD* values) {
  if (values == nullptr || channels == 0 || channels > kMaxChannels) return false;
  MIXERCONTROLDETAILS_UNSIGNED read[kMaxChannels] = {};
  MIXERCONTROLDETAILS details;
  PrepareDetails(&details, control_id, channels, read);
  if (::mixerGetControlDetailsA(MixerObject(mixer), &details,
                                MIXER_GETCONTROLDETAILSF_VALUE | ObjectFlag(mixer)) !=
      MMSYSERR_NOERROR) {
    return false;
  }
  for (DWORD i = 0; i < channels; ++i) values[i] = read[i].dwValue;
  return true;
}

bool Win32Mixer::mixerSetControlDetails(MixerHandle mixer, DWORD control_id, DWORD channels,
                                        const DWORD* values) {
  if (values == nullptr || channels == 0 || channels > kMaxChannels) return false;
  MIXERCONTROLDETAILS_UNSIGNED written[kMaxChannels] = {};
  for (DWORD i = 0; i < channels; ++i) written[i].dwValue = values[i];
  MIXERCONTROLDETAILS details;
  PrepareDetails(&details, control_id, channels, written);
  return ::mixerSetControlDetails(MixerObject(mixer), &details,
                                  MIXER_SETCONTROLDETAILSF_VALUE | ObjectFlag(mixer)) ==
         MMSYSERR_NOERROR;
}

}  // namespace mivo::win32
