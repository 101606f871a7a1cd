// Reactions to the handset library's messages: arrival, removal, keys and the driver check.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

constexpr int kIdleRefreshMs = 10000;
constexpr DWORD kRotatePauseMs = 100;
constexpr DWORD kDeviceRepairWaitMs = 1000;
// The repair programs of the handset's driver, found by the system's executable search.
constexpr const char* kFilterRepair = "rmfilter_Q5.exe";
constexpr const char* kDeviceRepair = "edDevice_Q5.exe";
// The handset's own sound device carries this text in its name (case counts).
constexpr std::string_view kUsbMark = "USB";

}  // namespace

void ControllerDialog::ChooseHandsetMixer() {
  mixer_count = EnumerateMixers();
  ClearText(usb_audio_device_name);
  ClearText(other_audio_device_name);
  usb_mixer_index = -1;
  // Only the devices whose names were kept can be looked at.
  const int named = mixer_count < kMaxMixers ? mixer_count : kMaxMixers;
  for (int i = 0; i < named; ++i) {
    const char* name = mixer_names[i];
    const std::string_view view(name, BoundedLength(name, sizeof mixer_names[i]));
    if (view.find(kUsbMark) != std::string_view::npos) {
      usb_mixer_index = i;
      CopyText(usb_audio_device_name, name, view.size());
    } else {
      CopyText(other_audio_device_name, name, view.size());
    }
  }
  if (usb_mixer_index != -1) OpenMixer(usb_mixer_index, m_hWnd);
}

void ControllerDialog::OnHandsetArrived() {
  ChooseHandsetMixer();
  speaker_volume = GetMixerVolume(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  SelectVoipAudioDevice();
  ApplyUsbAudioSettings();
  SetSoundMapperDevices();
  handset_.fClearDisplay2();
  host_.window.Sleep(kRotatePauseMs);
  handset_.fRotate180(1);
  if (reinit_pending) bridge_.fReInitial();
  reinit_pending = false;
  // The handset comes back blank: it shows the call it left, or the idle page.
  ShowCallStatePage();
  host_.window.SetTimer(m_hWnd, TIMER_IDLE_REFRESH, kIdleRefreshMs);
  handset_present = true;
  LightMainLed();
  UpdateTray();
  RestoreCallStateLeds();
}

void ControllerDialog::OnHandsetRemoved() {
  if (handset_present) {
    CloseMixer();
    ResetVoipAudioDevice();
    handset_present = false;
  }
  reinit_pending = true;
  UpdateTray();
  SaveVolumeSetting();
}

void ControllerDialog::OnHandsetKey(WPARAM kind, LPARAM key_or_report) {
  LightMainLed();
  if (!voip_online) return;
  int key = 0;
  if (kind == 1) {
    key = static_cast<std::int32_t>(key_or_report);
  } else {
    // A report: byte 1 is the key code, signed. Without a report whose first two bytes can
    // be read there is no key.
    if (ReadableMessageBytes(key_or_report, 2) < 2) return;
    const auto* report = reinterpret_cast<const std::uint8_t*>(key_or_report);
    key = static_cast<std::int8_t>(report[1]);
  }
  DispatchKey(key);
}

void ControllerDialog::OnDriverCheck() {
  if (handset_.fCheckDriver()) return;
  RunRepairProgram(kFilterRepair, INFINITE);
  RunRepairProgram(kDeviceRepair, kDeviceRepairWaitMs);
}

void ControllerDialog::RunRepairProgram(const char* command_line, DWORD wait_ms) {
  ProcessInfo info;
  if (!host_.system.CreateProcess(command_line, &info)) {
    char what[160];
    std::snprintf(what, sizeof what, "the repair program %s cannot start; skipped", command_line);
    Diagnose(what);
    return;
  }
  host_.system.CloseHandle(info.thread);
  host_.system.WaitForSingleObject(info.process, wait_ms);
  host_.system.CloseHandle(info.process);
}

}  // namespace mivo
