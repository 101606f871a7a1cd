// The VoIP client's audio devices and the Windows sound mapper's preferred devices.
#include <cstring>

#include "app/controller_dialog.h"
#include "core/text.h"

namespace mivo {

namespace {

// The device name handed to the VoIP client: UTF-8, at most 63 bytes and a terminator.
constexpr int kDeviceNameSize = 64;
// The registry values are always written with this data length.
constexpr DWORD kSoundMapperValueSize = 100;

// Cuts the UTF-8 text in `text` to at most `max_bytes` bytes without splitting a character.
void CutUtf8(char* text, std::size_t max_bytes) {
  std::size_t length = BoundedLength(text, max_bytes + 1);
  if (length <= max_bytes) return;
  length = max_bytes;
  // Back off over continuation bytes (10xxxxxx) so that the cut falls before a lead byte.
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  text[length] = 0;
}

}  // namespace

bool ControllerDialog::SelectVoipAudioDevice() {
  char name[kDeviceNameSize] = {};
  CopyText(name, usb_audio_device_name, sizeof usb_audio_device_name);

  // ANSI code page -> UTF-16 -> UTF-8. The UTF-8 form is made in room for the longest
  // possible result and then cut at a character boundary to fit the 64-byte name.
  char16_t wide[kDeviceNameSize] = {};
  char utf8[kDeviceNameSize * 4] = {};
  if (host_.system.MultiByteToWideChar(CP_ACP, name, wide, kDeviceNameSize) > 0 &&
      host_.system.WideCharToMultiByte(CP_UTF8, wide, utf8, sizeof utf8) > 0) {
    utf8[sizeof utf8 - 1] = 0;
    CutUtf8(utf8, kDeviceNameSize - 1);
    CopyText(name, utf8);
  } else {
    // A name that cannot be converted is not handed on as it is: the client gets an empty
    // name and keeps its default devices.
    ClearText(name);
  }

  bridge_.fSetAudio(1, name);
  bridge_.fSetAudio(2, name);
  bridge_.fSetAudio(3, name);
  return true;
}

void ControllerDialog::ResetVoipAudioDevice() {
  bridge_.fSetAudio(1, "");
  bridge_.fSetAudio(2, "");
  bridge_.fSetAudio(3, "");
}

bool ControllerDialog::SetSoundMapperDevices() {
  // HKEY_CURRENT_USER\SOFTWARE\Microsoft\Multimedia\Sound Mapper, opened one level at a time.
  static constexpr const char* kPath[] = {"SOFTWARE", "Microsoft", "Multimedia", "Sound Mapper"};
  constexpr int kLevels = sizeof kPath / sizeof kPath[0];
  RegKey keys[kLevels] = {};
  int opened = 0;
  RegKey parent = HKEY_CURRENT_USER;
  for (; opened < kLevels; ++opened) {
    if (!host_.system.RegOpenKeyEx(parent, kPath[opened], &keys[opened])) break;
    parent = keys[opened];
  }
  if (opened < kLevels) {
    while (opened > 0) host_.system.RegCloseKey(keys[--opened]);
    return false;
  }

  RegKey mapper = keys[kLevels - 1];
  char data[kSoundMapperValueSize] = {};
  CopyText(data, other_audio_device_name, sizeof other_audio_device_name);
  const bool record = host_.system.RegSetValueEx(
      mapper, "Record", REG_SZ, reinterpret_cast<const std::uint8_t*>(data), sizeof data);
  CopyText(data, other_audio_device_name, sizeof other_audio_device_name);
  const bool playback = host_.system.RegSetValueEx(
      mapper, "Playback", REG_SZ, reinterpret_cast<const std::uint8_t*>(data), sizeof data);

  for (int level = kLevels - 1; level >= 0; --level) host_.system.RegCloseKey(keys[level]);
  return record || playback;
}

}  // namespace mivo
